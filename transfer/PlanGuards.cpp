// What the plan finds beside what each line does: a run that could not begin
// to do its work (no table named, a destination in read-only mode), the
// event tables a database lacks, and the kept keys the destination already has.
#include <exception>

#include "text/Trim.h"
#include "transfer/PlanParts.h"
#include "transfer/ReadOnlySession.h"
#include "transfer/TableCopyPlan.h"

namespace {

bool HasTable(TIBSQL& statement, const std::string& table) {
  return readonly::ValueOf(statement, {"SELECT COUNT(*) FROM RDB$RELATIONS WHERE "
                                       "RDB$RELATION_NAME = '" +
                                       table + "'"})
             .value_or(0) > 0;
}

// A unique index of exactly that one column, which makes a second row with the
// same key fail.
bool UniqueKey(TIBSQL& statement, const std::string& table, const std::string& column) {
  return readonly::ValueOf(
             statement, {"SELECT COUNT(*) FROM RDB$INDICES I JOIN RDB$INDEX_SEGMENTS S ON "
                         "S.RDB$INDEX_NAME = I.RDB$INDEX_NAME",
                         "WHERE I.RDB$RELATION_NAME = '" + text::UpperCase(table) +
                             "' AND I.RDB$UNIQUE_FLAG = 1 AND S.RDB$FIELD_NAME = '" +
                             text::UpperCase(text::Trim(column)) + "'",
                         "AND COALESCE(I.RDB$INDEX_INACTIVE, 0) = 0 AND I.RDB$SEGMENT_COUNT = 1"})
             .value_or(0) > 0;
}

}  // namespace

namespace runplan {

void PlanRunGuards(ReadOnlySession& session, RunPlan& plan) {
  bool namesATable = false;
  for (const TablePlan& line : plan.lines)
    namesATable = namesATable ||
                  (line.line != 0 && line.action != LineAction::Comment && !line.table.empty());
  if (!namesATable) plan.findings.push_back(Finding(FindingKind::EmptyTableList, Severity::Error));

  try {
    TIBSQL& dest = session.Dest().statement;
    if (readonly::ValueOf(dest, {"SELECT MON$READ_ONLY FROM MON$DATABASE"}).value_or(0) != 0)
      plan.findings.push_back(Finding(FindingKind::DestinationReadOnly, Severity::Error));
  } catch (const std::exception&) {
    // An engine without the monitoring tables: the run's own errors will tell.
  }
}

bool PlanEventTable(TIBSQL& source, TIBSQL& dest, const PlanOptions& options, TablePlan& line) {
  const bool inSource = HasTable(source, line.table);
  const bool inDest = HasTable(dest, line.table);
  if (inSource && inDest) return true;
  // The run's copy fails at its first statement and the driver goes on.
  if (!inSource) {
    line.findings.push_back(
        Finding(inDest ? FindingKind::EventTableNotInSource : FindingKind::EventTableInNeither,
                Severity::Note));
    return false;
  }
  const std::vector<std::string> query = tablecopy::SourceQuery(line.table, line.keyColumn, "");
  line.sourceRows = readonly::ValueOf(source, readonly::CountOf(query), options.eventsFrom);
  const long long rows = line.sourceRows.value_or(0);
  line.findings.push_back(
      Finding(FindingKind::EventTableNotInDest, rows > 0 ? Severity::Error : Severity::Note, rows));
  return false;
}

void PlanKeptKeys(TIBSQL& source, TIBSQL& dest, const PlanOptions& options, TablePlan& line,
                  const std::vector<std::string>& sourceQuery, const TableFate& fate) {
  if (fate.cleared) return;
  const std::string keptWhere = KeptRowsWhere(fate.clearConditions);
  std::vector<std::string> kept = {"SELECT " + line.keyColumn + " FROM " + line.table};
  if (!keptWhere.empty()) kept.push_back(keptWhere);
  try {
    if (readonly::ValueOf(dest, readonly::CountOf(kept)).value_or(0) == 0) return;
    std::vector<std::string> arriving = {"SELECT " + line.keyColumn + " FROM ("};
    arriving.insert(arriving.end(), sourceQuery.begin(), sourceQuery.end());
    arriving.push_back(") ORDER BY 1");
    kept.push_back("ORDER BY 1");
    const std::optional<long long> held =
        readonly::CountShared(source, arriving, dest, kept, options.eventsFrom);
    if (!held || *held == 0) return;
    line.findings.push_back(Finding(UniqueKey(dest, line.table, line.keyColumn)
                                        ? FindingKind::KeptKeysHeld
                                        : FindingKind::KeptKeysTwice,
                                    Severity::Warning, *held));
  } catch (const std::exception&) {
    // Keys the databases cannot compare are left to the run; the line's own
    // statements were prepared above.
  }
}

}  // namespace runplan
