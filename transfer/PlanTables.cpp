// The plan of the table list: the clearing pass and the copying pass as the
// driver makes them, then the events section, each line worked out from the
// statements its copy would prepare, run here only as counts. Here are the
// passes and the deletions; PlanCopies.cpp has what each line copies.
#include <exception>

#include "text/TextFile.h"
#include "text/Trim.h"
#include "transfer/KeyMap.h"
#include "transfer/PlanParts.h"
#include "transfer/ReadOnlySession.h"
#include "transfer/TableList.h"
#include "transfer/TablePlanner.h"

namespace runplan {
namespace {

bool NeverCleared(const std::string& table) {
  return IsEventTable(table) || IsDescriptionTable(table);
}

std::string Markers(const TableListLine& line) {
  std::string markers;
  if (line.extraClearing) markers += "#";
  if (line.clearOnly) markers += "%";
  if (line.condition) markers += "@";
  if (line.update) markers += "&";
  return markers;
}

}  // namespace

TablePlanner::TablePlanner(ReadOnlySession& session, const PlanOptions& options, RunPlan& plan)
    : source_(session.Source().statement),
      dest_(session.Dest().statement),
      options_(options),
      plan_(plan) {}

void TablePlanner::Run() {
  ReadTableList();
  for (TablePlan& line : plan_.lines) PlanClearing(line);
  for (TablePlan& line : plan_.lines) PlanCopying(line);
  if (options_.events) {
    for (const EventTable& events : EventSectionTables()) {
      TablePlan line;
      line.table = events.table;
      line.keyColumn = events.keyColumn;
      line.action = LineAction::Copy;
      if (EventTableThere(line)) PlanCopy(line, "");
      plan_.lines.push_back(std::move(line));
    }
  }
  for (const auto& [table, fate] : plan_.fates) {
    ExpectedRows expected;
    try {
      expected.kept = KeptNow(table).value_or(0);
    } catch (const std::exception&) {
      continue;  // the destination has no such table
    }
    for (const TableFate::Copy& copy : fate.copies) expected.copied += copy.rows;
    plan_.expected[table] = expected;
  }
}

void TablePlanner::ReadTableList() {
  text::TextFileReader list(text::ResolveInFolder(options_.programFolder, "Conv.txt"));
  int number = 0;
  do {
    TablePlan line;
    line.line = ++number;
    line.text = list.ReadLine();
    const TableListLine parsed = ParseTableListLine(line.text, TableListPass::Copying);
    line.table = parsed.table;
    line.keyColumn = parsed.keyColumn;
    line.markers = Markers(parsed);
    plan_.lines.push_back(std::move(line));
  } while (!list.Eof());
}

// A database without the event table makes the run skip it.
bool TablePlanner::EventTableThere(TablePlan& line) {
  try {
    return PlanEventTable(source_, dest_, options_, line);
  } catch (const std::exception&) {
    return true;  // the copy's own statements tell what is wrong
  }
}

// The clearing pass deletes every listed table's rows, or those meeting the
// line's condition; zones go whenever readers do.
void TablePlanner::PlanClearing(TablePlan& line) {
  const TableListLine parsed = ParseTableListLine(line.text, TableListPass::Clearing);
  if (parsed.comment || line.table.empty()) return;
  Fate(line.table);  // listed, so the generators know the table is
  if (NeverCleared(line.table)) return;
  line.deletes = true;
  line.deleteCondition = parsed.argument;
  try {
    line.destRowsDeleted = Delete(line.table, parsed.argument);
    if (line.table == "READERS")
      line.findings.push_back(
          Finding(FindingKind::ZonesGoWithReaders, Severity::Note, Delete("ZONES", "")));
  } catch (const std::exception& e) {
    line.findings.push_back(Failure(FindingKind::DestinationCannotDelete, e));
  }
}

void TablePlanner::PlanCopying(TablePlan& line) {
  const TableListLine parsed = ParseTableListLine(line.text, TableListPass::Copying);
  if (parsed.comment) return;
  if (line.table.empty()) {
    line.action = LineAction::Blank;
    if (!text::Trim(line.text).empty())
      line.findings.push_back(Finding(FindingKind::LineUnparsable, Severity::Error));
    return;
  }
  if (line.table != text::Trim(line.table))
    line.findings.push_back(Finding(FindingKind::BlanksAroundTable, Severity::Warning));
  if (parsed.extraClearing || parsed.clearOnly) ClearAgain(line);

  if (line.table == "MACROSES") {
    line.action = LineAction::Macros;
    PlanMacros(line);
  } else if (IsEventTable(line.table)) {
    line.action = LineAction::EventsSectionOnly;
    line.findings.push_back(Finding(
        options_.events ? FindingKind::CopiedByEventsSection : FindingKind::EventsSectionLeftOut,
        Severity::Note));
  } else if (parsed.clearOnly || parsed.update) {
    line.action = LineAction::ClearOnly;
  } else {
    line.action = LineAction::Copy;
    PlanCopy(line, parsed.argument);
  }
  if (parsed.update) {
    line.action = line.table == "MACROSES" ? LineAction::Macros : LineAction::UpdateColumn;
    PlanUpdateColumn(line, parsed.argument);
  }
}

// "#" and "%" empty the table again before the line's copy, rows copied by
// lines above included.
void TablePlanner::ClearAgain(TablePlan& line) {
  if (NeverCleared(line.table)) {
    line.findings.push_back(Finding(FindingKind::NeverEmptied, Severity::Note));
    return;
  }
  line.deletes = true;
  try {
    long long rows = KeptNow(line.table).value_or(0);
    for (const TableFate::Copy& copy : Fate(line.table).copies) rows += copy.rows;
    line.destRowsDeleted = line.destRowsDeleted.value_or(0) + rows;
  } catch (const std::exception& e) {
    line.findings.push_back(Failure(FindingKind::DestinationCannotDelete, e));
  }
  Fate(line.table).cleared = true;
  Fate(line.table).copies.clear();
}

void TablePlanner::FillReferenced(ReferencePlan& reference) const {
  reference.referencedTable = KeyMapPairTable(reference.pair);
  auto found = filled_.find(reference.pair);
  reference.filledBefore = found != filled_.end();
  reference.referencedKey = reference.filledBefore ? found->second : std::string();
}

void TablePlanner::RowsAfter(TablePlan& line) {
  long long rows = KeptNow(line.table).value_or(0);
  for (const TableFate::Copy& copy : Fate(line.table).copies) rows += copy.rows;
  line.destRowsAfter = rows;
}

// Deletes in the plan: counts the rows still there that the deletion takes.
long long TablePlanner::Delete(const std::string& table, const std::string& condition) {
  TableFate& fate = Fate(table);
  long long rows = 0;
  if (!fate.cleared) {
    std::vector<std::string> query = {"SELECT COUNT(*) FROM " + table};
    std::string kept = KeptRowsWhere(fate.clearConditions);
    if (!condition.empty())
      query.push_back(kept.empty() ? "WHERE " + condition : kept + " AND (" + condition + ")");
    else if (!kept.empty())
      query.push_back(kept);
    rows = readonly::ValueOf(dest_, query).value_or(0);
  }
  if (condition.empty())
    fate.cleared = true;
  else
    fate.clearConditions.push_back(condition);
  return rows;
}

// The destination's own rows a table still holds after the deletions so far.
std::optional<long long> TablePlanner::KeptNow(const std::string& table) {
  const TableFate& fate = Fate(table);
  if (fate.cleared) return 0;
  std::vector<std::string> query = {"SELECT COUNT(*) FROM " + table};
  const std::string kept = KeptRowsWhere(fate.clearConditions);
  if (!kept.empty()) query.push_back(kept);
  return readonly::ValueOf(dest_, query);
}

}  // namespace runplan
