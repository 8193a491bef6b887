#include "transfer/RunCheck.h"

#include <algorithm>
#include <exception>
#include <set>

#include "state/DynamicStates.h"
#include "text/Trim.h"
#include "transfer/KeyMap.h"
#include "transfer/ReadOnlySession.h"

namespace {

constexpr int kSampleKeys = 5;

std::vector<std::string> FirstColumn(const std::vector<std::vector<std::string>>& rows) {
  std::vector<std::string> values;
  for (const auto& row : rows) values.push_back(row.at(0));
  return values;
}

void CheckTables(TIBSQL& dest, const RunPlan& plan, const std::map<std::string, int>& failed,
                 RunCheck& check) {
  std::set<std::string> done;
  for (const TablePlan& line : plan.lines) {
    auto expected = plan.expected.find(line.table);
    if (expected == plan.expected.end() || !done.insert(line.table).second) continue;
    TableCheck table;
    table.table = line.table;
    table.expected = expected->second;
    auto failures = failed.find(line.table);
    table.failedRows = failures == failed.end() ? 0 : failures->second;
    try {
      table.destRows = readonly::ValueOf(dest, {"SELECT COUNT(*) FROM " + line.table}).value_or(0);
    } catch (const std::exception& e) {
      table.error = e.what();
    }
    check.tables.push_back(table);
  }
}

ReferenceCheck CheckReference(TIBSQL& dest, const TablePlan& line, const ReferencePlan& reference) {
  ReferenceCheck result;
  result.table = line.table;
  result.what = reference.what;
  result.referencedTable = reference.referencedTable;
  const std::string column = "X." + reference.column;
  std::string where = column + " IS NOT NULL AND (" + column + " = -1";
  if (!reference.referencedKey.empty())
    where += " OR NOT EXISTS (SELECT 1 FROM " + reference.referencedTable + " Y WHERE Y." +
             reference.referencedKey + " = " + column + ")";
  where += ")";
  if (!reference.typeCondition.empty()) where += " AND " + reference.typeCondition;
  try {
    result.broken =
        readonly::ValueOf(dest, {"SELECT COUNT(*) FROM " + line.table + " X", "WHERE " + where})
            .value_or(0);
    if (result.broken > 0)
      result.keys = FirstColumn(
          readonly::RowsOf(dest, {"SELECT FIRST " + std::to_string(kSampleKeys) + " X." +
                                      line.keyColumn + " FROM " + line.table + " X",
                                  "WHERE " + where, "ORDER BY 1"}));
  } catch (const std::exception& e) {
    result.error = e.what();
  }
  return result;
}

void CheckReferences(TIBSQL& dest, const RunPlan& plan, RunCheck& check) {
  std::set<std::string> done;
  for (const TablePlan& line : plan.lines) {
    if (line.action != LineAction::Copy || !line.errors.empty()) continue;
    for (const ReferencePlan& reference : line.references) {
      if (reference.column.empty() || !done.insert(line.table + "." + reference.what).second)
        continue;
      check.references.push_back(CheckReference(dest, line, reference));
    }
  }
}

// One query per table and side: every row's key with all its states.
std::string StateSelect(const PreservedTable& table) {
  std::string select = std::string("SELECT ") + table.key;
  for (int n = 1; n <= table.stateCount; ++n)
    select += std::string(", GET_STATE('") + table.table + "', " + table.key + ", " +
              std::to_string(n) + ")";
  return select + " FROM " + table.table;
}

StateCheck CheckStates(ReadOnlySession& session, const PreservedTable& table,
                       const KeyMap& keyMap) {
  StateCheck result;
  result.table = table.table;
  try {
    const auto saved =
        readonly::RowsOf(session.Source().statement,
                         {StateSelect(table), std::string("WHERE ") + table.archive + " = 0"});
    std::map<int, std::vector<std::string>> restored;
    for (auto& row : readonly::RowsOf(session.Dest().statement, {StateSelect(table)}))
      restored[text::StrToInt(row.at(0))] = std::vector<std::string>(row.begin() + 1, row.end());
    const KeyMapPair& pair = keyMap.Pair(KeyMapPairNumber(table.table));
    for (const auto& row : saved) {
      ++result.saved;
      int newKey = -1;
      try {
        newKey = pair.LookupNewKey(text::StrToInt(row.at(0)));
      } catch (const std::exception&) {
        // A row without a usable new key has nowhere to hold its states.
      }
      auto found = restored.find(newKey);
      const bool there = newKey > 0 && found != restored.end();
      if (there && std::equal(row.begin() + 1, row.end(), found->second.begin())) {
        ++result.restored;
        continue;
      }
      ++(there ? result.differing : result.missing);
      if (result.keys.size() < kSampleKeys) result.keys.push_back(row.at(0));
    }
  } catch (const std::exception& e) {
    result.error = e.what();
  }
  return result;
}

}  // namespace

int RunCheck::Differences() const {
  int count = 0;
  for (const TableCheck& table : tables) count += table.Ok() ? 0 : 1;
  for (const ReferenceCheck& reference : references) count += reference.Ok() ? 0 : 1;
  for (const StateCheck& state : states) count += state.Ok() ? 0 : 1;
  return count;
}

RunCheck CheckRun(ReadOnlySession& session, const RunPlan& plan,
                  const std::map<std::string, int>& failedRows, const KeyMap& keyMap,
                  bool keepLocations) {
  RunCheck check;
  CheckTables(session.Dest().statement, plan, failedRows, check);
  CheckReferences(session.Dest().statement, plan, check);
  for (size_t i = 0; i < PreservedTables().size(); ++i) {
    if (i == kOwnerSlot && !keepLocations) continue;
    check.states.push_back(CheckStates(session, PreservedTables()[i], keyMap));
  }
  return check;
}
