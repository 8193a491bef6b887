// The check as the command prints it: a table of the tables, the first few
// differences of each, what is noted beside them, the states and a verdict.
#include <charconv>

#include "console/Report.h"
#include "transfer/RunCheck.h"

namespace {

constexpr size_t kShownPerTable = 5;
constexpr size_t kShownCharacters = 60;

std::string Lines(const std::vector<int>& lines) {
  std::string text;
  for (int line : lines) {
    if (!text.empty()) text += ',';
    text += line == 0 ? std::string("ev") : std::to_string(line);
  }
  return text;
}

std::string Count(long long value) {
  return value == 0 ? "-" : std::to_string(value);
}

bool Binary(const std::string& bytes) {
  for (unsigned char c : bytes)
    if (c < 0x20 && c != '\r' && c != '\n' && c != '\t') return true;
  return false;
}

bool Number(const std::string& text) {
  double number = 0;
  const char* end = text.data() + text.size();
  auto [stop, error] = std::from_chars(text.data(), end, number);
  return !text.empty() && error == std::errc() && stop == end;
}

// A value as one short line: texts quoted, line breaks shown as \n, long ones cut.
std::string Shown(const check::Value& value) {
  if (!value.known) return "?";
  if (value.null) return "NULL";
  if (Binary(value.text)) return std::to_string(value.text.size()) + " bytes";
  if (Number(value.text)) return value.text;
  std::string text;
  for (size_t i = 0; i < value.text.size() && i < kShownCharacters; ++i) {
    const char c = value.text[i];
    if (c == '\r') continue;
    if (c == '\n')
      text += "\\n";
    else
      text += c;
  }
  if (value.text.size() > kShownCharacters) text += "...";
  std::string shown(1, '"');
  shown += Utf8(text);
  shown += '"';
  return shown;
}

std::string Key(const CheckDifference& difference) {
  std::string key = Utf8(difference.sourceKey);
  if (!difference.destKey.empty() && difference.destKey != difference.sourceKey) {
    if (!key.empty()) key += ' ';
    key += "-> " + Utf8(difference.destKey);
  }
  return key;
}

std::string Described(const CheckDifference& difference) {
  switch (difference.kind) {
    case CheckDifference::Kind::Value:
      return Utf8(difference.column) + ": meant " + Shown(difference.expected) + ", found " +
             Shown(difference.actual);
    case CheckDifference::Kind::MissingRow:
      return "no destination row";
    case CheckDifference::Kind::NoNewKey:
      return "the run recorded no new key for it";
    case CheckDifference::Kind::UnexpectedRow:
      return "a destination row that should not be there";
  }
  return "";
}

// An engine's message on one line.
std::string OneLine(const std::string& message) {
  std::string line;
  for (char c : message) {
    if (c == '\r') continue;
    line += c == '\n' ? ' ' : c;
  }
  return Utf8(line);
}

std::string Where(int line) {
  return line == 0 ? "the events section" : "line " + std::to_string(line);
}

std::string Problem(const CheckProblem& problem) {
  switch (problem.kind) {
    case CheckProblem::Kind::LineFailed:
      return Where(problem.line) + " did not do its work: " + OneLine(problem.error);
    case CheckProblem::Kind::NotCompared:
      return Where(problem.line) + ": the rows could not be compared: " + OneLine(problem.error);
    case CheckProblem::Kind::NoDestTable:
      return "the destination has no such table, so the source's rows could not arrive";
  }
  return "";
}

std::string Note(const CheckNote& note) {
  switch (note.kind) {
    case CheckNote::Kind::NoSourceTable:
      return "the source has no such table: nothing to move, as the run does";
    case CheckNote::Kind::NoTableOnEitherSide:
      return "neither database has such a table: skipped, as the run does";
    case CheckNote::Kind::NoDestTableNoRows:
      return "the destination has no such table, and the source no rows to move into it";
    case CheckNote::Kind::UpdateNotCompared:
      return Where(note.line) + " (\"&" + Utf8(note.detail) +
             "\") is not compared: a later line copies the table again";
    case CheckNote::Kind::UpdateColumnMissing:
      return Where(note.line) + ": no column named exactly \"" + Utf8(note.detail) +
             "\" on both sides, so nothing was updated";
    case CheckNote::Kind::WrittenBySecondScript:
      return "the run only empties it and the second script (SQL/Upd.sql) writes it: " +
             note.detail + " rows now, not compared";
  }
  return "";
}

void PrintTables(std::ostream& out, const RunCheck& check) {
  out << "\nCheck: each source row that was to arrive against the destination row it became "
         "(by its own key or through the key map), every value against the one the run meant "
         "to write:\n";
  TextTable tables({"table", "lines", "read", "arrived", "failed", "differing", "missing",
                    "updated", "kept", "rows now", "unexpected", "result"},
                   "llrrrrrrrrrl");
  for (const TableCheck& table : check.tables) {
    const long long updates = table.updated + table.updateDiffering;
    tables.Add({Utf8(table.table), Lines(table.lines), Count(table.sourceRows),
                Count(table.arrived), Count(table.failed + table.updateFailed),
                Count(table.differing + table.updateDiffering), Count(table.missing),
                updates == 0 ? "-" : std::to_string(table.updated) + "/" + std::to_string(updates),
                table.rowsCounted ? std::to_string(table.kept) : "-",
                table.rowsCounted ? std::to_string(table.destRows) : "-",
                table.rowsCounted ? Count(table.unexpected) : "-",
                table.Ok() ? "ok" : "DIFFERENT"});
  }
  tables.Print(out);
  out << "  read: source rows the copies read; failed: rows the run logged as failed; "
         "updated: rows updated in place as meant, of those with a destination row; kept: the "
         "destination's own rows that were to stay; unexpected: rows now beyond the kept and "
         "the arrived ones (below 0: kept rows gone)\n";
}

void PrintDetails(std::ostream& out, const RunCheck& check) {
  bool heading = false;
  for (const TableCheck& table : check.tables) {
    std::vector<std::string> lines;
    for (const CheckProblem& problem : table.problems)
      lines.push_back("ERROR: " + Problem(problem));
    for (size_t i = 0; i < table.samples.size() && i < kShownPerTable; ++i)
      lines.push_back(Key(table.samples[i]) + "  " + Described(table.samples[i]));
    const long long differences = table.Differences();
    if (differences > static_cast<long long>(lines.size()) && !table.samples.empty())
      lines.push_back("... " + std::to_string(differences) + " differences in all");
    if (table.secondScriptWrites && !table.Ok())
      lines.push_back("note: the second script (SQL/Upd.sql) writes this table after the copy");
    for (const CheckNote& note : table.notes) lines.push_back("note: " + Note(note));
    if (table.notMoved > 0)
      lines.push_back("note: " + std::to_string(table.notMoved) +
                      " source rows without a matching description are not moved, as the run "
                      "does");
    if (table.unresolved > 0)
      lines.push_back("note: " + std::to_string(table.unresolved) +
                      (table.unresolved == 1 ? " reference was" : " references were") +
                      " meant to be -1: no new key for the source's key");
    if (table.withoutRow > 0)
      lines.push_back("note: " + std::to_string(table.withoutRow) +
                      " source rows have no destination row to update");
    if (lines.empty()) continue;
    if (!heading)
      out << "\nDifferences, by the source's key (\"-> \" the destination's), and notes:\n";
    heading = true;
    out << "  " << Utf8(table.table) << "\n";
    for (const std::string& line : lines) out << "    " << line << "\n";
  }
}

}  // namespace

void PrintCheck(std::ostream& out, const RunCheck& check) {
  PrintTables(out, check);
  PrintDetails(out, check);

  out << "\nCheck: run-time states saved from the source against those of the rows they "
         "became (keys are the source's):\n";
  TextTable states({"table", "saved", "restored", "differing", "missing", "first keys", "result"},
                   "lrrrrll");
  for (const StateCheck& state : check.states) {
    std::string keys;
    for (const std::string& key : state.keys) {
      if (!keys.empty()) keys += ' ';
      keys += Utf8(key);
    }
    states.Add(
        {Utf8(state.table), std::to_string(state.saved), std::to_string(state.restored),
         std::to_string(state.differing), std::to_string(state.missing), keys.empty() ? "-" : keys,
         state.error.empty() ? (state.Ok() ? "ok" : "DIFFERENT") : "ERROR: " + Utf8(state.error)});
  }
  states.Print(out);

  const long long differences = check.Differences();
  if (differences == 0)
    out << "\nVerdict: no difference: every row that was to arrive is there with every value "
           "the run meant to write, and every state.\n";
  else
    out << "\nVerdict: " << differences << (differences == 1 ? " difference" : " differences")
        << " (marked above).\n";
}
