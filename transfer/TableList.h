#pragma once
// The lines of the two control files that drive a run: the table list (Conv.txt)
// and the generator list (Generator.txt). Pure text work, no files, no database.
#include <string>
#include <string_view>
#include <vector>

// A line whose trimmed text begins with "*"; the only test made on trimmed text.
bool IsControlFileComment(std::string_view line);

enum class TableListPass { Clearing, Copying };

// One line of the table list, T=K with the markers "#", "%", "@" and "&".
struct TableListLine {
  bool comment = false;
  std::string table;      // before the first "=" of the name part; blanks kept
  std::string keyColumn;  // after that "="; the whole name part when there is none
  std::string argument;   // the condition after "@", or in the copying pass the column after "&"
  bool extraClearing = false;  // "#": clear again before the copy
  bool clearOnly = false;      // "%": clear again, no copy
  bool condition = false;      // "@"
  bool update = false;         // "&": update one column, no copy
};

TableListLine ParseTableListLine(std::string_view line, TableListPass pass);

// The tables the events section copies, in its order, with their key columns.
struct EventTable {
  const char* table;
  const char* keyColumn;
};
const std::vector<EventTable>& EventSectionTables();

// The tables the driver treats apart (names compare exactly).
bool IsEventTable(std::string_view table);        // copied only by the events section
bool IsDescriptionTable(std::string_view table);  // never emptied

// One line of the generator list: G=T/C.
struct GeneratorEntry {
  bool comment = false;
  std::string generator;
  std::string table;
  std::string column;
};

GeneratorEntry ParseGeneratorLine(std::string_view line);
