// What each line of the table list would copy: the columns both sides have,
// the keys, the references it rewrites and the rows it reads, for a table's
// copy, the macro transfer and an "&" column update.
#include <exception>
#include <stdexcept>

#include "text/Trim.h"
#include "transfer/KeyMap.h"
#include "transfer/PlanParts.h"
#include "transfer/ReadOnlySession.h"
#include "transfer/TableList.h"
#include "transfer/TablePlanner.h"

namespace runplan {
namespace {

using tablecopy::HasColumn;

std::vector<std::string> Missing(const std::vector<std::string>& names,
                                 const std::vector<std::string>& in) {
  std::vector<std::string> missing;
  for (const std::string& name : names)
    if (!HasColumn(in, name)) missing.push_back(name);
  return missing;
}

}  // namespace

void TablePlanner::PlanCopy(TablePlan& line, const std::string& condition) {
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
    line.findings.push_back(Failure(FindingKind::DestinationRefuses, e));
    return;
  }
  try {
    sourceColumns = readonly::ColumnsOf(source_, query);
    line.sourceRows = readonly::ValueOf(source_, readonly::CountOf(query), options_.eventsFrom);
  } catch (const std::exception& e) {
    line.findings.push_back(Failure(FindingKind::SourceRefuses, e));
    return;
  }
  CountLeftOut(line);
  if (photosFromOwner) {
    sourceColumns = tablecopy::PhotosFromOwnerSourceColumns();
    line.sourceRowChoice = SourceRowChoice::OwnersPhotos;
  } else {
    ChooseSourceRows(line, condition);
  }

  const bool addHostPort =
      table == "HOSTS" && !HasColumn(sourceColumns, "HS_PORT") && HasColumn(destColumns, "HS_PORT");
  line.pair = KeyMapPairNumber(table);
  const std::vector<std::string> common = tablecopy::CommonColumns(sourceColumns, destColumns);
  tablecopy::RowStatement row;
  try {
    row = tablecopy::BuildRowStatement(table, line.pair != 0, common, addHostPort);
  } catch (const std::out_of_range&) {
    line.findings.push_back(Finding(FindingKind::TooFewColumnsToUpdate, Severity::Error));
    return;
  }
  for (const std::string& column : Missing(sourceColumns, destColumns))
    if (column != "ED_HARDTYPE" || !IsEventTable(table)) line.sourceOnly.push_back(column);
  for (const std::string& column : Missing(destColumns, sourceColumns))
    if (!(addHostPort && column == "HS_PORT")) line.destOnly.push_back(column);
  if (addHostPort) line.findings.push_back(Finding(FindingKind::HostPortSetToOne, Severity::Note));

  if (row.kind != tablecopy::RowKind::Insert) {
    line.action = LineAction::UpdateInPlace;
    line.copied.assign(row.paramSources.begin(), row.paramSources.end() - 1);
    line.findings.push_back(
        Named(FindingKind::UpdatedInPlace, Severity::Note, row.paramSources.back()));
    return;
  }
  PlanInsert(line, row, common, sourceColumns, query);
}

void TablePlanner::PlanInsert(TablePlan& line, const tablecopy::RowStatement& row,
                              const std::vector<std::string>& common,
                              const std::vector<std::string>& sourceColumns,
                              const std::vector<std::string>& query) {
  const std::string& table = line.table;
  line.copied = row.paramSources;
  if (line.copied.empty())
    line.findings.push_back(Finding(FindingKind::NoCommonColumn, Severity::Error));
  line.keys = line.pair != 0 && table != "OWNER" ? KeyHandling::New : KeyHandling::Kept;
  if (line.keys == KeyHandling::New && !common.empty()) {
    line.findings.push_back(Named(FindingKind::NewKeysGiven, Severity::Note, common[0]));
    if (!text::SameTextAscii(common[0], line.keyColumn))
      line.findings.push_back(
          Named(FindingKind::FirstColumnNotKey, Severity::Warning, common[0], line.keyColumn));
  }
  if (table == "OWNER" && plan_.destHasOwnerPhotos && HasColumn(line.copied, "OW_PHOTO"))
    line.findings.push_back(Finding(FindingKind::OwnerPhotoEmpty, Severity::Note));
  if (table == "INIDATA") {
    ReferencePlan rights;
    rights.inTexts = KeysInTexts::ReaderRights;
    rights.pair = keymap::kReaders;
    line.references.push_back(rights);
  }
  std::vector<ReferencePlan> references =
      PlanReferences(table, row.paramSources, sourceColumns, line.findings);
  line.references.insert(line.references.end(), references.begin(), references.end());
  for (ReferencePlan& reference : line.references) {
    FillReferenced(reference);
    if (!reference.filledBefore)
      line.findings.push_back(
          Named(FindingKind::ReferencedNotCopied, Severity::Warning, reference.referencedTable));
  }

  if (line.keys == KeyHandling::Kept)
    PlanKeptKeys(source_, dest_, options_, line, query, Fate(table));
  TableFate& fate = Fate(table);
  fate.copies.push_back({query, line.keys, line.keyColumn, line.sourceRows.value_or(0)});
  RowsAfter(line);
  if (line.pair != 0) filled_[line.pair] = line.keyColumn;
}

void TablePlanner::PlanMacros(TablePlan& line) {
  const std::vector<std::string> query = {"Select MCR_NAME,MCR_FILL,MCR_ID from MACROSES "};
  try {
    readonly::ColumnsOf(dest_, {"select MCR_NAME,MCR_FILL,MCR_ID from MACROSES"});
  } catch (const std::exception& e) {
    line.findings.push_back(Failure(FindingKind::DestinationRefuses, e));
    return;
  }
  try {
    readonly::ColumnsOf(source_, query);
    line.sourceRows = readonly::ValueOf(source_, readonly::CountOf(query));
  } catch (const std::exception& e) {
    line.findings.push_back(Failure(FindingKind::SourceRefuses, e));
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
    keys.inTexts = KeysInTexts::MacroLines;
    keys.pair = pair;
    FillReferenced(keys);
    if (!keys.filledBefore)
      line.findings.push_back(
          Named(FindingKind::MacroDevicesNotCopied, Severity::Warning, keys.referencedTable));
    line.references.push_back(keys);
  }
  RowsAfter(line);
  filled_[keymap::kMacroses] = "MCR_ID";
}

// "&": one column of the destination's rows set from the source rows with the
// same key, found by its exact name on both sides.
void TablePlanner::PlanUpdateColumn(TablePlan& line, const std::string& column) {
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
      line.findings.push_back(Named(FindingKind::NoColumnToUpdate, Severity::Warning, column));
    else
      line.copied = {column};
  } catch (const std::exception& e) {
    line.findings.push_back(Failure(FindingKind::ColumnUpdateFails, e));
    return;
  }
  line.findings.push_back(
      Named(FindingKind::ColumnUpdated, Severity::Note, column, line.keyColumn));
}

void TablePlanner::CountLeftOut(TablePlan& line) {
  const std::vector<std::string> query = tablecopy::UndescribedCountQuery(line.table);
  if (query.empty()) return;
  try {
    line.sourceRowsLeftOut = readonly::ValueOf(source_, query, options_.eventsFrom);
  } catch (const std::exception& e) {
    line.findings.push_back(Failure(FindingKind::SourceRefuses, e));
  }
}

void TablePlanner::ChooseSourceRows(TablePlan& line, const std::string& condition) const {
  if (IsEventTable(line.table)) {
    line.sourceRowChoice = line.table == "EVENTS" || line.table == "ALARM"
                               ? SourceRowChoice::DescribedEvents
                               : SourceRowChoice::Events;
  } else if (line.table == "INIDATA") {
    line.sourceRowChoice = SourceRowChoice::IniDataWithoutFilters;
  } else if (!condition.empty()) {
    line.sourceRowChoice = SourceRowChoice::Condition;
    line.sourceCondition = condition;
  }
}

}  // namespace runplan
