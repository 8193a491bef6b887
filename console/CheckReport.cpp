// The check as the command prints it: tables, references, states, a verdict.
#include "console/Report.h"
#include "transfer/RunCheck.h"

namespace {

std::string Result(bool ok, const std::string& error) {
  if (!error.empty()) return "ERROR: " + Utf8(error);
  return ok ? "ok" : "DIFFERENT";
}

std::string Keys(const std::vector<std::string>& keys) {
  std::string text;
  for (const std::string& key : keys) text += (text.empty() ? "" : " ") + Utf8(key);
  return text.empty() ? "-" : text;
}

}  // namespace

void PrintCheck(std::ostream& out, const RunCheck& check) {
  out << "\nCheck: the destination's rows against the source rows that were to be copied and "
         "the destination rows that were to stay:\n";
  TextTable tables({"table", "kept", "copied", "expected", "rows now", "failed rows", "result"},
                   "lrrrrrl");
  for (const TableCheck& table : check.tables)
    tables.Add({Utf8(table.table), std::to_string(table.expected.kept),
                std::to_string(table.expected.copied),
                std::to_string(table.expected.kept + table.expected.copied),
                std::to_string(table.destRows), std::to_string(table.failedRows),
                Result(table.Ok(), table.error)});
  tables.Print(out);

  out << "\nCheck: rewritten references, destination rows pointing nowhere (-1, or a key no "
         "row has):\n";
  TextTable references({"table", "reference", "to", "rows", "first keys", "result"}, "lllrll");
  for (const ReferenceCheck& reference : check.references)
    references.Add({Utf8(reference.table), Utf8(reference.what), Utf8(reference.referencedTable),
                    std::to_string(reference.broken), Keys(reference.keys),
                    Result(reference.Ok(), reference.error)});
  references.Print(out);

  out << "\nCheck: run-time states saved from the source against those of the rows they "
         "became (keys are the source's):\n";
  TextTable states({"table", "saved", "restored", "differing", "missing", "first keys", "result"},
                   "lrrrrll");
  for (const StateCheck& state : check.states)
    states.Add({Utf8(state.table), std::to_string(state.saved), std::to_string(state.restored),
                std::to_string(state.differing), std::to_string(state.missing), Keys(state.keys),
                Result(state.Ok(), state.error)});
  states.Print(out);

  const int differences = check.Differences();
  if (differences == 0)
    out << "\nVerdict: no difference: every row, every reference and every state arrived.\n";
  else
    out << "\nVerdict: " << differences << (differences == 1 ? " difference" : " differences")
        << " (marked above).\n";
}
