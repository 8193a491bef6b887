// The plan of the table list: the clearing pass and the copying pass as the
// driver makes them, then the events section, each line worked out from the
// statements its copy would prepare, run here only as counts.
#include <exception>
#include <stdexcept>

#include "text/TextFile.h"
#include "text/Trim.h"
#include "transfer/KeyMap.h"
#include "transfer/Operations.h"
#include "transfer/PlanParts.h"
#include "transfer/ReadOnlySession.h"
#include "transfer/TableCopyPlan.h"
#include "transfer/TableList.h"

namespace {

using tablecopy::HasColumn;

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

std::vector<std::string> Missing(const std::vector<std::string>& names,
                                 const std::vector<std::string>& in) {
  std::vector<std::string> missing;
  for (const std::string& name : names)
    if (!HasColumn(in, name)) missing.push_back(name);
  return missing;
}

std::string Day(text::TDateTime value) {
  return text::FormatDateTimePattern("dd.MM.yyyy", text::DecodeDateTime(value));
}

class Planner {
 public:
  Planner(ReadOnlySession& session, const PlanOptions& options, RunPlan& plan)
      : source_(session.Source().statement),
        dest_(session.Dest().statement),
        options_(options),
        plan_(plan) {}

  void Run() {
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

 private:
  void ReadTableList() {
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
  bool EventTableThere(TablePlan& line) {
    try {
      return runplan::PlanEventTable(source_, dest_, options_, line);
    } catch (const std::exception&) {
      return true;  // the copy's own statements tell what is wrong
    }
  }

  // The clearing pass deletes every listed table's rows, or those meeting the
  // line's condition; zones go whenever readers do.
  void PlanClearing(TablePlan& line) {
    const TableListLine parsed = ParseTableListLine(line.text, TableListPass::Clearing);
    if (parsed.comment || line.table.empty()) return;
    Fate(line.table);  // listed, so the generators know the table is
    if (NeverCleared(line.table)) return;
    line.deletes = true;
    line.deleteCondition = parsed.argument;
    try {
      line.destRowsDeleted = Delete(line.table, parsed.argument);
      if (line.table == "READERS") {
        const long long zones = Delete("ZONES", "");
        line.notes.push_back("every row of ZONES goes with the readers (" + std::to_string(zones) +
                             " now)");
      }
    } catch (const std::exception& e) {
      line.errors.push_back(std::string("the destination cannot delete these rows: ") + e.what());
    }
  }

  void PlanCopying(TablePlan& line) {
    const TableListLine parsed = ParseTableListLine(line.text, TableListPass::Copying);
    if (parsed.comment) return;
    if (line.table.empty()) {
      if (text::Trim(line.text).empty()) {
        line.action = LineAction::Blank;
      } else {
        line.action = LineAction::Blank;
        line.errors.push_back("the line cannot be parsed: it has no TABLE=KEY before its markers");
      }
      return;
    }
    if (line.table != text::Trim(line.table))
      line.warnings.push_back(
          "blanks around the table name: it no longer matches the tables "
          "the transfer treats apart");
    if (parsed.extraClearing || parsed.clearOnly) ClearAgain(line);

    if (line.table == "MACROSES") {
      line.action = LineAction::Macros;
      PlanMacros(line);
    } else if (IsEventTable(line.table)) {
      line.action = LineAction::EventsSectionOnly;
      line.notes.push_back(options_.events ? "copied by the events section, below"
                                           : "copied only by the events section, which this "
                                             "run leaves out");
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
  void ClearAgain(TablePlan& line) {
    if (NeverCleared(line.table)) {
      line.notes.push_back("the table is never emptied: the extra clearing deletes nothing");
      return;
    }
    line.deletes = true;
    try {
      long long rows = KeptNow(line.table).value_or(0);
      for (const TableFate::Copy& copy : Fate(line.table).copies) rows += copy.rows;
      line.destRowsDeleted = line.destRowsDeleted.value_or(0) + rows;
    } catch (const std::exception& e) {
      line.errors.push_back(std::string("the destination cannot delete these rows: ") + e.what());
    }
    Fate(line.table).cleared = true;
    Fate(line.table).copies.clear();
  }

  void PlanCopy(TablePlan& line, const std::string& condition) {
    const std::string& table = line.table;
    const bool photosFromOwner =
        table == "OWNERPHOTOS" && plan_.destHasOwnerPhotos && !plan_.sourceHasOwnerPhotos;
    const std::vector<std::string> query =
        photosFromOwner ? tablecopy::PhotosFromOwnerSourceQuery()
                        : tablecopy::SourceQuery(table, line.keyColumn, condition);
    std::vector<std::string> destColumns, sourceColumns;
    try {
      destColumns =
          readonly::ColumnsOf(dest_, {"select * from " + table + " Order BY " + line.keyColumn});
    } catch (const std::exception& e) {
      line.errors.push_back(std::string("the destination: ") + e.what());
      return;
    }
    try {
      sourceColumns = readonly::ColumnsOf(source_, query);
      line.sourceRows = readonly::ValueOf(source_, readonly::CountOf(query), options_.eventsFrom);
    } catch (const std::exception& e) {
      line.errors.push_back(std::string("the source: ") + e.what());
      return;
    }
    CountLeftOut(line);
    if (photosFromOwner) {
      sourceColumns = tablecopy::PhotosFromOwnerSourceColumns();
      line.sourceRowsNote = "the photos of the source's owners (OWNER.OW_PHOTO)";
    }
    NoteWhichRows(line, condition);

    const bool addHostPort = table == "HOSTS" && !HasColumn(sourceColumns, "HS_PORT") &&
                             HasColumn(destColumns, "HS_PORT");
    line.pair = KeyMapPairNumber(table);
    const std::vector<std::string> common = tablecopy::CommonColumns(sourceColumns, destColumns);
    tablecopy::RowStatement row;
    try {
      row = tablecopy::BuildRowStatement(table, line.pair != 0, common, addHostPort);
    } catch (const std::out_of_range&) {
      line.errors.push_back(
          "too few columns both sides have for the update in place: no row "
          "would be written");
      return;
    }
    for (const std::string& column : Missing(sourceColumns, destColumns))
      if (column != "ED_HARDTYPE" || !IsEventTable(table)) line.sourceOnly.push_back(column);
    for (const std::string& column : Missing(destColumns, sourceColumns))
      if (!(addHostPort && column == "HS_PORT")) line.destOnly.push_back(column);
    if (addHostPort) line.notes.push_back("HS_PORT is set to 1 for every host");

    if (row.kind != tablecopy::RowKind::Insert) {
      line.action = LineAction::UpdateInPlace;
      line.copied.assign(row.paramSources.begin(), row.paramSources.end() - 1);
      line.notes.push_back("the destination's rows with the same " + row.paramSources.back() +
                           " are updated; no row is added");
      return;
    }
    PlanInsert(line, row, common, sourceColumns, query);
  }

  void PlanInsert(TablePlan& line, const tablecopy::RowStatement& row,
                  const std::vector<std::string>& common,
                  const std::vector<std::string>& sourceColumns,
                  const std::vector<std::string>& query) {
    const std::string& table = line.table;
    line.copied = row.paramSources;
    if (line.copied.empty())
      line.errors.push_back("no column both sides have: every row would fail");
    line.keys = line.pair != 0 && table != "OWNER" ? KeyHandling::New : KeyHandling::Kept;
    if (line.keys == KeyHandling::New && !common.empty()) {
      line.notes.push_back(common[0] +
                           " is left to the destination, which gives every row a "
                           "new key");
      if (!text::SameTextAscii(common[0], line.keyColumn))
        line.warnings.push_back("the first column both sides have is " + common[0] +
                                ", not the key " + line.keyColumn);
    }
    if (table == "OWNER" && plan_.destHasOwnerPhotos && HasColumn(line.copied, "OW_PHOTO"))
      line.notes.push_back("OW_PHOTO is written empty: the photos come through OWNERPHOTOS");
    if (table == "INIDATA") {
      ReferencePlan rights;
      rights.what = "reader keys in the USERS_RD_RIGHTS texts";
      rights.pair = keymap::kReaders;
      FillReferenced(rights);
      line.references.push_back(rights);
    }
    std::vector<ReferencePlan> references =
        runplan::PlanReferences(table, row.paramSources, sourceColumns, line.errors);
    line.references.insert(line.references.end(), references.begin(), references.end());
    for (ReferencePlan& reference : line.references) {
      FillReferenced(reference);
      if (!reference.filledBefore)
        line.warnings.push_back(reference.referencedTable +
                                " is not copied above this line: references to it become -1");
    }

    if (line.keys == KeyHandling::Kept)
      runplan::PlanKeptKeys(source_, dest_, options_, line, query, Fate(table));
    TableFate& fate = Fate(table);
    fate.copies.push_back({query, line.keys, line.keyColumn, line.sourceRows.value_or(0)});
    RowsAfter(line);
    if (line.pair != 0) filled_[line.pair] = line.keyColumn;
  }

  void PlanMacros(TablePlan& line) {
    const std::vector<std::string> query = {"Select MCR_NAME,MCR_FILL,MCR_ID from MACROSES "};
    try {
      readonly::ColumnsOf(dest_, {"select MCR_NAME,MCR_FILL,MCR_ID from MACROSES"});
    } catch (const std::exception& e) {
      line.errors.push_back(std::string("the destination: ") + e.what());
      return;
    }
    try {
      readonly::ColumnsOf(source_, query);
      line.sourceRows = readonly::ValueOf(source_, readonly::CountOf(query));
    } catch (const std::exception& e) {
      line.errors.push_back(std::string("the source: ") + e.what());
      return;
    }
    // The macro transfer empties the table itself before it inserts.
    line.deletes = true;
    line.destRowsDeleted = line.destRowsDeleted.value_or(0) + KeptNow("MACROSES").value_or(0);
    TableFate& fate = Fate("MACROSES");
    fate.cleared = true;
    fate.copies = {{query, KeyHandling::New, "MCR_ID", line.sourceRows.value_or(0)}};
    line.keys = KeyHandling::New;
    line.pair = keymap::kMacroses;
    line.copied = {"MCR_NAME", "MCR_FILL"};
    for (int pair : {keymap::kReaders, keymap::kOutputs, keymap::kInputs}) {
      ReferencePlan keys;
      keys.what = "device keys in the macro lines";
      keys.pair = pair;
      FillReferenced(keys);
      if (!keys.filledBefore)
        line.warnings.push_back(keys.referencedTable +
                                " is not copied above this line: macro lines naming it get -1");
      line.references.push_back(keys);
    }
    RowsAfter(line);
    filled_[keymap::kMacroses] = "MCR_ID";
  }

  // "&": one column of the destination's rows set from the source rows with the
  // same key, found by its exact name on both sides.
  void PlanUpdateColumn(TablePlan& line, const std::string& column) {
    const std::vector<std::string> query = {"select * from " + line.table + " Order BY " +
                                            line.keyColumn};
    try {
      const std::vector<std::string> destColumns = readonly::ColumnsOf(dest_, query);
      const std::vector<std::string> sourceColumns = readonly::ColumnsOf(source_, query);
      line.sourceRows = readonly::ValueOf(source_, readonly::CountOf(query));
      auto exact = [&](const std::vector<std::string>& columns) {
        for (const std::string& name : columns)
          if (name == column) return true;
        return false;
      };
      if (!exact(destColumns) || !exact(sourceColumns))
        line.warnings.push_back("no column named exactly \"" + column +
                                "\" on both sides: nothing is updated");
      else
        line.copied = {column};
    } catch (const std::exception& e) {
      line.errors.push_back(std::string("the column update: ") + e.what());
      return;
    }
    line.notes.push_back("the destination's rows whose " + line.keyColumn +
                         " equals a source row's get its " + column + "; keys are not mapped");
  }

  void CountLeftOut(TablePlan& line) {
    const std::vector<std::string> query = tablecopy::UndescribedCountQuery(line.table);
    if (query.empty()) return;
    try {
      line.sourceRowsLeftOut = readonly::ValueOf(source_, query, options_.eventsFrom);
    } catch (const std::exception& e) {
      line.errors.push_back(std::string("the source: ") + e.what());
    }
  }

  void NoteWhichRows(TablePlan& line, const std::string& condition) {
    if (IsEventTable(line.table)) {
      line.sourceRowsNote =
          options_.eventsFrom == 0 ? "every row" : "from " + Day(options_.eventsFrom);
      if (line.table == "EVENTS" || line.table == "ALARM")
        line.sourceRowsNote += ", with a matching description";
    } else if (line.table == "INIDATA") {
      line.sourceRowsNote = "without the sections USER_CAN_FILTER, USER_FILTERS, CTRL_FILTERS";
    } else if (!condition.empty()) {
      line.sourceRowsNote = "where " + condition;
    }
  }

  void FillReferenced(ReferencePlan& reference) const {
    reference.referencedTable = KeyMapPairTable(reference.pair);
    auto found = filled_.find(reference.pair);
    reference.filledBefore = found != filled_.end();
    reference.referencedKey = reference.filledBefore ? found->second : std::string();
  }

  void RowsAfter(TablePlan& line) {
    long long rows = KeptNow(line.table).value_or(0);
    for (const TableFate::Copy& copy : Fate(line.table).copies) rows += copy.rows;
    line.destRowsAfter = rows;
  }

  TableFate& Fate(const std::string& table) { return plan_.fates[table]; }

  // Deletes in the plan: counts the rows still there that the deletion takes.
  long long Delete(const std::string& table, const std::string& condition) {
    TableFate& fate = Fate(table);
    long long rows = 0;
    if (!fate.cleared) {
      std::vector<std::string> query = {"SELECT COUNT(*) FROM " + table};
      std::string kept = runplan::KeptRowsWhere(fate.clearConditions);
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
  std::optional<long long> KeptNow(const std::string& table) {
    const TableFate& fate = Fate(table);
    if (fate.cleared) return 0;
    std::vector<std::string> query = {"SELECT COUNT(*) FROM " + table};
    const std::string kept = runplan::KeptRowsWhere(fate.clearConditions);
    if (!kept.empty()) query.push_back(kept);
    return readonly::ValueOf(dest_, query);
  }

  TIBSQL& source_;
  TIBSQL& dest_;
  const PlanOptions& options_;
  RunPlan& plan_;
  std::map<int, std::string> filled_;  // pairs filled by the lines so far, with their key
};

}  // namespace

namespace runplan {

std::string KeptRowsWhere(const std::vector<std::string>& conditions) {
  if (conditions.empty()) return std::string();
  std::string any;
  for (const std::string& condition : conditions)
    any += (any.empty() ? "(" : " OR (") + condition + ")";
  // A row whose condition is NULL is not deleted, so it stays.
  return "WHERE (" + any + ") IS NOT TRUE";
}

}  // namespace runplan

namespace {

int CountOf(const std::vector<PlanFinding>& findings, Severity severity) {
  int count = 0;
  for (const PlanFinding& finding : findings) count += finding.severity == severity ? 1 : 0;
  return count;
}

}  // namespace

int RunPlan::Errors() const {
  int count = CountOf(findings, Severity::Error);
  for (const TablePlan& line : lines)
    count += static_cast<int>(line.errors.size()) + CountOf(line.findings, Severity::Error);
  for (const GeneratorPlan& generator : generators) count += generator.error.empty() ? 0 : 1;
  for (const ScriptPlan* script : {&firstScript, &secondScript})
    count += script->error.empty() ? 0 : 1;
  return count;
}

int RunPlan::Warnings() const {
  int count = CountOf(findings, Severity::Warning);
  for (const TablePlan& line : lines)
    count += static_cast<int>(line.warnings.size()) + CountOf(line.findings, Severity::Warning);
  return count;
}

RunPlan MakeRunPlan(ReadOnlySession& session, const PlanOptions& options) {
  RunPlan plan;
  ReadOnlySession::Side& dest = session.Dest();
  ReadOnlySession::Side& source = session.Source();
  plan.destHasOwnerPhotos = UstNalOwnerPhoto(dest.statement, dest.transaction, dest.database);
  plan.sourceHasOwnerPhotos =
      UstNalOwnerPhoto(source.statement, source.transaction, source.database);
  Planner(session, options, plan).Run();
  runplan::PlanRunGuards(session, plan);
  runplan::PlanGenerators(session, plan, options);
  runplan::PlanScripts(options, plan);
  return plan;
}
