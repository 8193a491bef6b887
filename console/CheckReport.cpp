// The check as the command prints it: a table of the tables, the first few
// differences of each, what is noted beside them, the states and a verdict.
#include <QCoreApplication>
#include <cstdlib>

#include "console/Language.h"
#include "console/Report.h"
#include "console/WindowTexts.h"
#include "transfer/CheckShown.h"
#include "transfer/RunCheck.h"

namespace {

class Check {
  Q_DECLARE_TR_FUNCTIONS(Check)
};

constexpr size_t kShownPerTable = 5;
constexpr size_t kShownCharacters = 60;

std::string Lines(const std::vector<int>& lines) {
  std::string text;
  for (int line : lines) {
    if (!text.empty()) text += ',';
    text += line == 0 ? lang::Fill(Check::tr("ev", "the events section in the table of tables"))
                      : std::to_string(line);
  }
  return text;
}

std::string Count(long long value) {
  return value == 0 ? "-" : lang::Count(value);
}

// A value as one short line: texts quoted, line breaks shown as \n, long ones cut.
std::string Shown(const check::Value& value) {
  const ShownValue shown = ShowValue(value, kShownCharacters);
  switch (shown.kind) {
    case ShownValue::Kind::Unknown:
      return "?";
    case ShownValue::Kind::Null:
      return "NULL";
    case ShownValue::Kind::Bytes:
      return lang::Fill(Check::tr("%1 bytes", nullptr, lang::Plural(shown.bytes)),
                        {lang::Count(static_cast<long long>(shown.bytes))});
    case ShownValue::Kind::Number:
      return shown.text;
    case ShownValue::Kind::Text:
      break;
  }
  return '"' + Utf8(shown.text) + (shown.cut ? "..." : "") + '"';
}

std::string Key(const CheckDifference& difference) {
  return Utf8(DifferenceKey(difference));
}

std::string Described(const CheckDifference& difference) {
  switch (difference.kind) {
    case CheckDifference::Kind::Value:
      return lang::Fill(
          Check::tr("%1: meant %2, found %3"),
          {Utf8(difference.column), Shown(difference.expected), Shown(difference.actual)});
    case CheckDifference::Kind::MissingRow:
      return lang::Fill(Check::tr("no destination row"));
    case CheckDifference::Kind::NoNewKey:
      return lang::Fill(Check::tr("the run recorded no new key for it"));
    case CheckDifference::Kind::UnexpectedRow:
      return lang::Fill(Check::tr("a destination row that should not be there"));
  }
  return "";
}

std::string Result(bool ok) {
  return lang::Fill(ok ? Check::tr("ok") : Check::tr("DIFFERENT"));
}

// An engine's message on one line.
std::string OneLine(const std::string& message) {
  std::string line;
  for (char c : message) {
    if (c == '\r') continue;
    line += c == '\n' ? ' ' : c;
  }
  return WindowMessage(line);
}

std::string Where(int line) {
  return line == 0 ? lang::Fill(Check::tr("the events section"))
                   : lang::Fill(Check::tr("line %1"), {std::to_string(line)});
}

std::string Problem(const CheckProblem& problem) {
  switch (problem.kind) {
    case CheckProblem::Kind::LineFailed:
      return lang::Fill(Check::tr("%1 did not do its work: %2"),
                        {Where(problem.line), OneLine(problem.error)});
    case CheckProblem::Kind::LineUnparsable:
      return lang::Fill(Check::tr("%1 did not do its work: it has no TABLE=KEY before its markers"),
                        {Where(problem.line)});
    case CheckProblem::Kind::NotCompared:
      return lang::Fill(Check::tr("%1: the rows could not be compared: %2"),
                        {Where(problem.line),
                         problem.reason ? FindingText(*problem.reason) : OneLine(problem.error)});
    case CheckProblem::Kind::NoDestTable:
      return lang::Fill(
          Check::tr("the destination has no such table, so the source's rows could not arrive"));
  }
  return "";
}

std::string Note(const CheckNote& note) {
  switch (note.kind) {
    case CheckNote::Kind::NoSourceTable:
      return lang::Fill(
          Check::tr("the source has no such table: nothing to move, as the run does"));
    case CheckNote::Kind::NoTableOnEitherSide:
      return lang::Fill(Check::tr("neither database has such a table: skipped, as the run does"));
    case CheckNote::Kind::NoDestTableNoRows:
      return lang::Fill(
          Check::tr("the destination has no such table, and the source no rows to move into it"));
    case CheckNote::Kind::UpdateNotCompared:
      return lang::Fill(Check::tr("%1 (\"&%2\") is not compared: a later line copies the table "
                                  "again"),
                        {Where(note.line), Utf8(note.detail)});
    case CheckNote::Kind::UpdateColumnMissing:
      return lang::Fill(Check::tr("%1: no column named exactly \"%2\" on both sides, so nothing "
                                  "was updated"),
                        {Where(note.line), Utf8(note.detail)});
    case CheckNote::Kind::WrittenBySecondScript: {
      const long long rows = std::atoll(note.detail.c_str());
      return lang::Fill(Check::tr("the run only empties it and the second script (SQL/Upd.sql) "
                                  "writes it: %1 rows now, not compared",
                                  nullptr, lang::Plural(rows)),
                        {lang::Count(rows)});
    }
  }
  return "";
}

void PrintTables(std::ostream& out, const RunCheck& check) {
  out << "\n"
      << Check::tr(
             "Check: each source row that was to arrive against the destination row it "
             "became (by its own key or through the key map), every value against the one "
             "the run meant to write:")
      << "\n";
  TextTable tables({lang::Fill(Check::tr("table")), lang::Fill(Check::tr("lines")),
                    lang::Fill(Check::tr("read")), lang::Fill(Check::tr("arrived")),
                    lang::Fill(Check::tr("failed")), lang::Fill(Check::tr("differing")),
                    lang::Fill(Check::tr("missing")), lang::Fill(Check::tr("updated")),
                    lang::Fill(Check::tr("kept")), lang::Fill(Check::tr("rows now")),
                    lang::Fill(Check::tr("unexpected")), lang::Fill(Check::tr("result"))},
                   "llrrrrrrrrrl");
  for (const TableCheck& table : check.tables) {
    const long long updates = table.updated + table.updateDiffering;
    tables.Add({Utf8(table.table), Lines(table.lines), Count(table.sourceRows),
                Count(table.arrived), Count(table.failed + table.updateFailed),
                Count(table.differing + table.updateDiffering), Count(table.missing),
                updates == 0 ? "-" : lang::Count(table.updated) + "/" + lang::Count(updates),
                table.rowsCounted ? lang::Count(table.kept) : "-",
                table.rowsCounted ? lang::Count(table.destRows) : "-",
                table.rowsCounted ? Count(table.unexpected) : "-", Result(table.Ok())});
  }
  tables.Print(out);
  out << Check::tr(
             "  read: source rows the copies read; failed: rows the run logged as failed; "
             "updated: rows updated in place as meant, of those with a destination row; "
             "kept: the destination's own rows that were to stay; unexpected: rows now "
             "beyond the kept and the arrived ones (below 0: kept rows gone)")
      << "\n";
}

std::string Noted(const std::string& text) {
  return lang::Fill(Check::tr("note: %1"), {text});
}

void PrintDetails(std::ostream& out, const RunCheck& check) {
  bool heading = false;
  for (const TableCheck& table : check.tables) {
    std::vector<std::string> lines;
    for (const CheckProblem& problem : table.problems)
      lines.push_back(lang::Fill(Check::tr("ERROR: %1"), {Problem(problem)}));
    for (size_t i = 0; i < table.samples.size() && i < kShownPerTable; ++i)
      lines.push_back(Key(table.samples[i]) + "  " + Described(table.samples[i]));
    const long long differences = table.Differences();
    if (differences > static_cast<long long>(lines.size()) && !table.samples.empty())
      lines.push_back(
          lang::Fill(Check::tr("... %1 differences in all", nullptr, lang::Plural(differences)),
                     {lang::Count(differences)}));
    if (table.secondScriptWrites && !table.Ok())
      lines.push_back(
          Noted(lang::Fill(Check::tr("the second script (SQL/Upd.sql) writes this table after "
                                     "the copy"))));
    for (const CheckNote& note : table.notes) lines.push_back(Noted(Note(note)));
    if (table.notMoved > 0)
      lines.push_back(Noted(lang::Fill(
          Check::tr("%1 source rows without a matching description are not moved, as the run "
                    "does",
                    nullptr, lang::Plural(table.notMoved)),
          {lang::Count(table.notMoved)})));
    if (table.unresolved > 0)
      lines.push_back(Noted(
          lang::Fill(Check::tr("%1 references were meant to be -1: no new key for the source's key",
                               nullptr, lang::Plural(table.unresolved)),
                     {lang::Count(table.unresolved)})));
    if (table.withoutRow > 0)
      lines.push_back(Noted(lang::Fill(Check::tr("%1 source rows have no destination row to update",
                                                 nullptr, lang::Plural(table.withoutRow)),
                                       {lang::Count(table.withoutRow)})));
    if (lines.empty()) continue;
    if (!heading)
      out << "\n"
          << Check::tr("Differences, by the source's key (\"-> \" the destination's), and notes:")
          << "\n";
    heading = true;
    out << "  " << Utf8(table.table) << "\n";
    for (const std::string& line : lines) out << "    " << line << "\n";
  }
}

}  // namespace

void PrintCheck(std::ostream& out, const RunCheck& check) {
  PrintTables(out, check);
  PrintDetails(out, check);

  out << "\n"
      << Check::tr(
             "Check: run-time states saved from the source against those of the rows they "
             "became (keys are the source's):")
      << "\n";
  TextTable states({lang::Fill(Check::tr("table")), lang::Fill(Check::tr("saved")),
                    lang::Fill(Check::tr("restored")), lang::Fill(Check::tr("differing")),
                    lang::Fill(Check::tr("missing")), lang::Fill(Check::tr("first keys")),
                    lang::Fill(Check::tr("result"))},
                   "lrrrrll");
  for (const StateCheck& state : check.states) {
    std::string keys;
    for (const std::string& key : state.keys) {
      if (!keys.empty()) keys += ' ';
      keys += Utf8(key);
    }
    states.Add({Utf8(state.table), lang::Count(state.saved), lang::Count(state.restored),
                lang::Count(state.differing), lang::Count(state.missing), keys.empty() ? "-" : keys,
                state.error.empty()
                    ? Result(state.Ok())
                    : lang::Fill(Check::tr("ERROR: %1"), {WindowMessage(state.error)})});
  }
  states.Print(out);

  const long long differences = check.Differences();
  out << "\n";
  if (differences == 0)
    out << Check::tr(
        "Verdict: no difference: every row that was to arrive is there with every "
        "value the run meant to write, and every state.");
  else
    out << lang::Fill(
        Check::tr("Verdict: %1 differences (marked above).", nullptr, lang::Plural(differences)),
        {lang::Count(differences)});
  out << "\n";
}
