// The check after a run: the tables (CheckTables.cpp), then the run-time
// states saved from the source against those of the rows they became.
#include "transfer/RunCheck.h"

#include <exception>

#include "state/DynamicStates.h"
#include "transfer/CheckPasses.h"
#include "transfer/KeyMap.h"
#include "transfer/ReadOnlySession.h"

namespace {

std::string GetState(const PreservedTable& table, int number) {
  return std::string("GET_STATE('") + table.table + "', " + table.key + ", " +
         std::to_string(number) + ")";
}

// Saved are the source's rows that are not archived; each is found under its
// new key and all its states compared.
StateCheck CheckStates(ReadOnlySession& session, const PreservedTable& table,
                       const KeyMap& keyMap) {
  StateCheck result;
  result.table = table.table;
  try {
    check::PassQueries queries;
    std::string select = std::string("SELECT ") + table.key;
    std::vector<check::ExpectedColumn> columns;
    for (int n = 1; n <= table.stateCount; ++n) {
      select += ", " + GetState(table, n);
      queries.destColumns.push_back(GetState(table, n));
      check::ExpectedColumn column;
      column.name = "state " + std::to_string(n);
      column.source = n;
      column.comparison = check::Comparison{true, false};
      columns.push_back(column);
    }
    queries.source = {select + " FROM " + table.table,
                      std::string("WHERE ") + table.archive + " = 0",
                      std::string("ORDER BY ") + table.key};
    queries.destTable = table.table;
    queries.destKey = table.key;
    check::KeyRule rule;
    rule.sourceKey = rule.oldKey = 0;
    rule.pair = KeyMapPairNumber(table.table);
    check::ValuePass pass(columns, rule, keyMap);
    const check::PassResult rows =
        check::MatchRows(session.Source().statement, session.Dest().statement,
                         session.Dest().lookup, queries, pass, {}, kCheckSamples);
    result.saved = rows.sourceRows;
    result.restored = rows.arrived;
    result.differing = rows.differing;
    result.missing = rows.missing;
    for (const check::RowDifference& row : rows.samples) result.keys.push_back(row.sourceKey);
  } catch (const std::exception& e) {
    result.error = e.what();
  }
  return result;
}

}  // namespace

long long RunCheck::Differences() const {
  long long count = 0;
  for (const TableCheck& table : tables) count += table.Differences();
  for (const StateCheck& state : states)
    count += state.differing + state.missing + (state.error.empty() ? 0 : 1);
  return count;
}

long long RunCheck::NotMoved() const {
  long long count = 0;
  for (const TableCheck& table : tables) count += table.notMoved;
  return count;
}

RunCheck CheckRun(ReadOnlySession& session, const RunPlan& plan, const PlanOptions& options,
                  const RunRecord& record, bool keepLocations) {
  RunCheck check;
  check.tables = CheckTables(session, plan, options, record);
  for (size_t i = 0; i < PreservedTables().size(); ++i) {
    if (i == kOwnerSlot && !keepLocations) continue;
    check.states.push_back(CheckStates(session, PreservedTables()[i], record.keyMap));
  }
  return check;
}
