#include "tests/support/Isql.h"

#include <charconv>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "tests/support/Process.h"
#include "tests/support/TempDir.h"

namespace testsupport {
namespace {

// isql shows a column in list mode as its name padded to this width, then the value.
constexpr std::size_t kListNameWidth = 32;
constexpr std::string_view kEndMarker = "DRAVIK_END_OF_ROWS";

std::string Trimmed(std::string_view text) {
  const char* blanks = " \t\r\n";
  const auto first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(blanks) - first + 1));
}

// Runs `body` after the connection lines and returns standard output.
std::string RunWithConnection(const std::filesystem::path& db, std::string_view body,
                              std::string_view charset = "UTF8") {
  // The database goes on the command line: isql's own CONNECT command does not
  // take every path that the engine accepts.
  std::string script(body);
  const std::string end = Trimmed(body);
  // A statement left without its terminator would swallow the COMMIT below.
  if (!end.empty() && end.back() != ';' && end.back() != '^') script += ";";
  script += "\nCOMMIT;\n";

  TempDir work("dravik-isql");
  const std::string input = work.File("input.sql");
  std::ofstream(input, std::ios::binary) << script;
  ProcessResult result =
      // isql spells file names in its locale's encoding, which in a C locale
      // has no Cyrillic letters for a folder name.
      RunProcess({"env", "LC_ALL=C.UTF-8", IsqlProgram(), "-q", "-b", "-sql_dialect", "1", "-ch",
                  std::string(charset), "-user", "SYSDBA", "-password", "masterkey", "-i", input,
                  db.string()});
  if (result.exitCode != 0) {
    throw IsqlError("isql on " + db.string() + " failed (exit code " +
                    std::to_string(result.exitCode) + "):\n" + result.err + "\nscript:\n" + script);
  }
  return result.out;
}

struct Column {
  std::string name;
  bool blob = false;
  bool fixedText = false;  // CHAR: isql pads it by the connection's bytes per character
};

// Reads the column descriptions isql prints with SQLDA_DISPLAY; `pos` is left at the
// start of the rows.
std::vector<Column> ReadColumns(const std::string& out, std::size_t& pos) {
  const std::string countMark = "OUTPUT message field count: ";
  std::size_t at = out.find(countMark);
  if (at == std::string::npos) throw IsqlError("isql printed no column description:\n" + out);
  const int count = std::atoi(out.c_str() + at + countMark.size());
  std::vector<Column> columns;
  std::istringstream lines(out.substr(at));
  std::string line;
  std::getline(lines, line);
  std::size_t consumed = line.size() + 1;
  while (static_cast<int>(columns.size()) < count && std::getline(lines, line)) {
    consumed += line.size() + 1;
    if (line.size() > 4 && line[2] == ':' && line.find("sqltype: ") != std::string::npos) {
      Column column;
      const int type = std::atoi(line.c_str() + line.find("sqltype: ") + 9);
      column.blob = (type & ~1) == 520;
      column.fixedText = (type & ~1) == 452;
      if (!std::getline(lines, line)) break;
      consumed += line.size() + 1;
      const auto alias = line.find("alias: ");
      if (alias == std::string::npos) throw IsqlError("unexpected column description: " + line);
      column.name = line.substr(alias + 7);
      columns.push_back(column);
    }
  }
  if (static_cast<int>(columns.size()) != count) {
    throw IsqlError("incomplete column description:\n" + out);
  }
  // The description ends with its "table:" lines.
  while (std::getline(lines, line) && line.rfind("  :", 0) == 0) consumed += line.size() + 1;
  pos = at + consumed;
  return columns;
}

std::string Header(const std::string& name) {
  std::string header = name;
  if (header.size() < kListNameWidth) header.resize(kListNameWidth, ' ');
  return header;
}

// isql shows a blob as its id line followed by the contents.
std::string BlobValue(const std::string& shown) {
  if (shown == kNull) return shown;
  const auto idEnd = shown.find('\n');
  if (idEnd == std::string::npos) return {};
  return shown.substr(idEnd + 1);
}

}  // namespace

std::string IsqlProgram() {
  const char* program = std::getenv("ISQL");
  return program && *program ? program : "isql-fb";
}

std::string RunIsql(const std::filesystem::path& db, std::string_view sql,
                    std::string_view charset) {
  return RunWithConnection(db, sql, charset);
}

std::vector<Row> QueryRows(const std::filesystem::path& db, std::string_view select) {
  std::string body = "SET LIST ON;\nSET BLOB ALL;\nSET SQLDA_DISPLAY ON;\n";
  body += Trimmed(select);
  if (body.back() != ';') body += ';';
  // A marker row after the result shows where the last value ends.
  body +=
      "\nSET SQLDA_DISPLAY OFF;\nSELECT 1 AS " + std::string(kEndMarker) + " FROM RDB$DATABASE;\n";
  const std::string out = RunWithConnection(db, body);

  std::size_t pos = 0;
  const std::vector<Column> columns = ReadColumns(out, pos);
  const std::size_t marker = out.rfind("\n" + Header(std::string(kEndMarker)));
  if (marker == std::string::npos || marker < pos) {
    throw IsqlError("isql output has no end marker:\n" + out);
  }
  // The last value is followed by its own line end, the row separator and the blank
  // line isql puts before the next statement's output.
  std::string region = out.substr(pos, marker - pos);
  if (region.size() >= 3 && region.compare(region.size() - 3, 3, "\n\n\n") == 0) {
    region.resize(region.size() - 3);
  }
  std::vector<std::string> headers;
  for (const Column& column : columns) headers.push_back(Header(column.name));
  const std::string rowStart = "\n\n" + headers.front();

  // Rows are blocks of "name value" lines separated by an empty line. A value can
  // span lines (text with line breaks, blob contents), so each value runs up to the
  // line of the next column's name rather than to the end of its own line.
  std::vector<Row> rows;
  pos = 0;
  for (;;) {
    while (pos < region.size() && region[pos] == '\n') ++pos;
    if (pos >= region.size()) break;
    Row row;
    for (std::size_t i = 0; i < columns.size(); ++i) {
      if (region.compare(pos, headers[i].size(), headers[i]) != 0) {
        throw IsqlError("unexpected isql output at column " + columns[i].name + ":\n" +
                        region.substr(pos, 200));
      }
      const std::size_t valueStart = pos + headers[i].size();
      const bool last = i + 1 == columns.size();
      std::size_t end = region.find(last ? rowStart : "\n" + headers[i + 1], valueStart);
      if (end == std::string::npos) {
        if (!last) throw IsqlError("isql output ends inside a row:\n" + region.substr(pos, 200));
        end = region.size();
      }
      std::string value = region.substr(valueStart, end - valueStart);
      if (columns[i].blob) {
        value = BlobValue(value);
      } else if (columns[i].fixedText && value != kNull) {
        value.erase(value.find_last_not_of(' ') + 1);
      }
      row.push_back(value);
      pos = end + 1;
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

std::vector<std::string> QueryColumn(const std::filesystem::path& db, std::string_view select) {
  std::vector<std::string> values;
  for (Row& row : QueryRows(db, select)) values.push_back(std::move(row.front()));
  return values;
}

std::string QueryValue(const std::filesystem::path& db, std::string_view select) {
  std::vector<Row> rows = QueryRows(db, select);
  if (rows.empty()) throw IsqlError("no row from: " + std::string(select));
  return rows.front().front();
}

long long QueryInt(const std::filesystem::path& db, std::string_view select) {
  const std::string text = Trimmed(QueryValue(db, select));
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) {
    throw IsqlError("not a whole number: '" + text + "' from: " + std::string(select));
  }
  return value;
}

}  // namespace testsupport
