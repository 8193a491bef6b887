// The table-list and generator-list line grammars on arbitrary lines. Every
// line is valid input (a malformed entry only yields odd names), so any
// exception, crash or sanitizer report is a fault, and so is a result that
// breaks the grammar's own rules below.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "transfer/TableList.h"

namespace {

std::string_view g_line;

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "invariant broken: %s\nline (%zu bytes): ", what, g_line.size());
  for (unsigned char c : g_line) std::fprintf(stderr, "\\x%02X", c);
  std::fprintf(stderr, "\n");
  std::abort();
}

void Expect(bool ok, const char* what) {
  if (!ok) Fail(what);
}

// A comment's first byte after blanks and control characters is "*".
bool CommentByFirstByte(std::string_view line) {
  for (unsigned char c : line)
    if (c > ' ') return c == '*';
  return false;
}

std::string AfterFirst(std::string_view line, char marker) {
  const size_t at = line.find(marker);
  return at == std::string_view::npos ? std::string() : std::string(line.substr(at + 1));
}

void CheckTableListLine(std::string_view line, TableListPass pass) {
  const TableListLine r = ParseTableListLine(line, pass);
  if (CommentByFirstByte(line)) {
    Expect(r.comment, "a line starting with * is not a comment");
    Expect(r.table.empty() && r.keyColumn.empty() && r.argument.empty(), "a comment carries names");
    Expect(!r.extraClearing && !r.clearOnly && !r.condition && !r.update,
           "a comment carries markers");
    return;
  }
  Expect(!r.comment, "an entry taken for a comment");

  constexpr auto npos = std::string_view::npos;
  const char markers[] = {'#', '%', '@', '&'};
  Expect(r.extraClearing == (line.find('#') != npos), "# flag differs from the line");
  Expect(r.clearOnly == (line.find('%') != npos), "% flag differs from the line");
  Expect(r.condition == (line.find('@') != npos), "@ flag differs from the line");
  Expect(r.update == (line.find('&') != npos), "& flag differs from the line");

  // "@" gives the argument in both passes; "&" only in the copying pass.
  std::string argument = AfterFirst(line, '@');
  if (line.find('@') == npos && pass == TableListPass::Copying) argument = AfterFirst(line, '&');
  Expect(r.argument == argument, "argument is not the text after its marker");

  // The name part ends before the first marker in the fixed order; it holds
  // neither that marker nor any marker ahead of it in the order.
  size_t cut = npos;
  size_t cutIndex = 4;
  for (size_t m = 0; m < 4 && cut == npos; ++m) {
    cut = line.find(markers[m]);
    if (cut != npos) cutIndex = m;
  }
  const std::string_view namePart = cut == npos ? line : line.substr(0, cut);
  for (size_t m = 0; m < cutIndex && m < 4; ++m)
    Expect(r.table.find(markers[m]) == npos && r.keyColumn.find(markers[m]) == npos,
           "a name holds a marker that must have cut it");
  if (cutIndex < 4)
    Expect(r.table.find(markers[cutIndex]) == npos && r.keyColumn.find(markers[cutIndex]) == npos,
           "a name holds the marker that cut it");

  // The table is what precedes the first "=", the key column what follows it.
  Expect(r.table.find('=') == npos, "the table name holds an =");
  if (namePart.find('=') == npos) {
    Expect(r.table.empty(), "a name part without = gave a table name");
    Expect(r.keyColumn == namePart, "a name part without = is not the key column");
  } else {
    Expect(r.table + "=" + r.keyColumn == namePart,
           "table and key column do not rebuild the name part");
  }
  Expect(line.substr(0, r.table.size()) == r.table, "the table is not the start of the line");
}

void CheckGeneratorLine(std::string_view line) {
  const GeneratorEntry r = ParseGeneratorLine(line);
  if (CommentByFirstByte(line)) {
    Expect(r.comment, "a generator line starting with * is not a comment");
    Expect(r.generator.empty() && r.table.empty() && r.column.empty(),
           "a generator comment carries names");
    return;
  }
  Expect(!r.comment, "a generator entry taken for a comment");
  constexpr auto npos = std::string_view::npos;
  const size_t slash = line.find('/');
  Expect(r.column == AfterFirst(line, '/'), "the column is not the text after the first /");
  const std::string_view rest = slash == npos ? line : line.substr(0, slash);
  Expect(r.generator.find('/') == npos && r.table.find('/') == npos,
         "generator or table holds the /");
  Expect(r.generator.find('=') == npos, "the generator holds an =");
  if (rest.find('=') == npos) {
    Expect(r.generator.empty(), "a line without = gave a generator");
    Expect(r.table == rest, "a line without = is not all table");
  } else {
    Expect(r.generator + "=" + r.table == rest, "generator and table do not rebuild the line");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  g_line = line;
  const bool comment = CommentByFirstByte(line);
  Expect(IsControlFileComment(line) == comment, "comment test differs from the first byte");
  CheckTableListLine(line, TableListPass::Clearing);
  CheckTableListLine(line, TableListPass::Copying);
  CheckGeneratorLine(line);
  // The special-table tests are exact: a name only matches itself.
  const std::string table = ParseTableListLine(line, TableListPass::Copying).table;
  if (IsEventTable(table))
    Expect(table == "EVENTS" || table == "ACR$EVENTS" || table == "ALARM" ||
               table == "ACR$ALARMS" || table == "STR_EVENTS" || table == "STR_ALARMS",
           "an event table matched by another name");
  if (IsDescriptionTable(table))
    Expect(table == "EVDESC" || table == "ACR$EVDESC",
           "a description table matched by another name");
  return 0;
}
