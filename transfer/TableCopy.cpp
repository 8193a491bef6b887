// The table copy: one source table into the destination, row by row, with new
// keys for key-mapped tables and references rewritten through the key map.
// Here the rows are read and made ready; TableCopyWrites.cpp writes them.
#include "transfer/TableCopy.h"

#include <cmath>
#include <exception>
#include <memory>
#include <vector>

#include "transfer/Operations.h"
#include "transfer/Peregonner.h"
#include "transfer/ReferenceRewrites.h"
#include "transfer/TableList.h"
#include "transfer/ThrottledPump.h"

namespace tablecopy {

namespace {

void Bind(TIBSQL& statement, TIBTransaction& transaction, TIBDatabase& database) {
  transaction.SetDefaultDatabase(&database);
  statement.SetTransaction(&transaction);
}

std::vector<std::string> ColumnNames(TIBSQL& statement) {
  std::vector<std::string> names;
  for (int i = 0; i < statement.ColumnCount(); ++i) names.push_back(statement.Column(i).Name());
  return names;
}

}  // namespace

void TableCopy::Run() {
  const std::vector<std::string> destColumns = DestinationColumns();
  if (Interrupted()) return;

  StatementBracket sourceBracket(source_);
  RunSourceQuery({photosFromOwner_ ? tablecopy::PhotosFromOwnerCountQuery()
                                   : tablecopy::CountQuery(table_, keyColumn_)});
  context_.window.SetTableBarMax(source_.Column(0).GetInteger());
  source_.Close();

  RunSourceQuery(photosFromOwner_ ? tablecopy::PhotosFromOwnerSourceQuery()
                                  : tablecopy::SourceQuery(table_, keyColumn_, condition_));
  PlanRows(destColumns);
  if (Interrupted()) return;

  // One destination transaction for the whole table, committed when the bracket closes.
  StatementBracket destBracket(dest_);
  if (source_.AtEnd()) return;
  context_.window.SetTableBarPosition(0);
  CopyRows();
}

std::vector<std::string> TableCopy::DestinationColumns() {
  StatementBracket bracket(dest_);
  dest_.SQLClear();
  dest_.SQLAdd("select * from " + table_ + " Order BY " + keyColumn_);
  dest_.Prepare();
  dest_.Execute();
  std::vector<std::string> columns = ColumnNames(dest_);
  dest_.Close();
  return columns;
}

void TableCopy::RunSourceQuery(const std::vector<std::string>& lines) {
  source_.SetSQL(lines);
  source_.Prepare();
  // Events and alarms are taken from the chosen day on, from its midnight.
  if (IsEventTable(table_))
    source_.ParamByName("EV_D").SetDateTime(std::trunc(context_.window.EventsFrom()));
  source_.Execute();
}

void TableCopy::PlanRows(const std::vector<std::string>& destColumns) {
  const std::vector<std::string> sourceColumns =
      photosFromOwner_ ? tablecopy::PhotosFromOwnerSourceColumns() : ColumnNames(source_);
  const bool addHostPort = table_ == "HOSTS" && !tablecopy::HasColumn(sourceColumns, "HS_PORT") &&
                           tablecopy::HasColumn(destColumns, "HS_PORT");
  common_ = tablecopy::CommonColumns(sourceColumns, destColumns);
  row_ = tablecopy::BuildRowStatement(table_, pair_ != 0, common_, addHostPort);

  auto indexOf = [this](const std::string& name) {
    const TIBXSQLVAR* column = source_.Current().FindByName(name);
    return column == nullptr ? -1 : column->Index();
  };
  for (const std::string& name : row_.paramSources) paramColumns_.push_back(indexOf(name));
  if (!common_.empty()) keyColumnIndex_ = indexOf(common_[0]);
  logKeyIndex_ = indexOf(keyColumn_);
}

void TableCopy::CopyRows() {
  const std::string returnedKey = pair_ != 0 ? keyColumn_ : std::string();
  insert_ = std::make_unique<KeyedInsert>(dest_, row_.text, table_, returnedKey);
  archive_ = std::make_unique<OwnerArchiveFlag>(dest_);
  batch_ = std::make_unique<RowBatch>(table_, row_, returnedKey);
  ThrottledPump pump(context_.window);
  try {
    while (true) {
      if (Interrupted()) break;
      context_.window.StepTableBar();
      pump.Pump();
      CopyRow();
      source_.FetchNext();
      if (Interrupted() || source_.AtEnd()) break;
    }
  } catch (...) {
    // The rows read before the failure are written, as they would have been one by one.
    try {
      Flush();
    } catch (...) {
    }
    throw;
  }
  Flush();
}

void TableCopy::CopyRow() {
  PreparedRow& row = pendingCount_ < pending_.size() ? pending_[pendingCount_] : alone_;
  row.oldKeyText.clear();
  row.queued = false;
  if (pair_ != 0 && !common_.empty())
    row.oldKeyText = SourceColumn(keyColumnIndex_, common_[0]).GetText();

  std::string error;
  bool valuesSaved = false;
  try {
    TIBSQL& dest = insert_->Start();
    if (!batchTried_) {
      batchTried_ = true;
      // Batches return keys only where the insert itself does.
      if ((pair_ == 0 || insert_->ReturnsKey()) && batch_->Open(dest))
        pending_.resize(static_cast<size_t>(batch_->Capacity()));
    }
    FillValues(dest);
    if (batch_->IsOpen()) {
      dest.Params().SaveValues(row.values);
      valuesSaved = true;
      if (PrepareBatched(row)) return;
    }
  } catch (const std::exception& e) {
    error = e.what();
  }

  // This row goes on its own, after the rows read before it.
  Flush();
  if (error.empty())
    WriteAlone(row, valuesSaved);
  else
    Finish(row, false, error, nullptr);
  RethrowLogFailure();
}

void TableCopy::FillValues(TIBSQL& dest) {
  for (size_t i = 0; i < row_.paramSources.size(); ++i) {
    auto copyValue = [&] {
      dest.Param(static_cast<int>(i))
          .AssignFrom(SourceColumn(paramColumns_[i], row_.paramSources[i]));
    };
    if (row_.kind != RowKind::Insert) {
      // An update with a value missing would overwrite the destination row
      // with an empty one: the row fails instead.
      copyValue();
      continue;
    }
    try {
      copyValue();
    } catch (const std::exception&) {
      // An inserted row keeps what it can: a value that cannot be copied
      // leaves its parameter as prepared.
    }
  }
  if (row_.kind == RowKind::Insert) FillInsert(dest);
}

void TableCopy::FillInsert(TIBSQL& dest) {
  if (table_ == "INIDATA") RewriteRightsText(dest);
  // Photos travel through OWNERPHOTOS when the destination has that table.
  if (table_ == "OWNER" && context_.destHasOwnerPhotos) {
    if (TIBXSQLVAR* photo = dest.Params().FindByName("OW_PHOTO")) photo->SetNull(true);
  }
  RewriteReferences(table_, source_, dest, context_.keyMap);
}

void TableCopy::RewriteRightsText(TIBSQL& dest) {
  if (source_.ColumnByName("ID_SECTION").GetText() != "USERS_RD_RIGHTS") return;
  std::string text;
  source_.ColumnByName("ID_BLOB").ReadBlobTo(text);
  Tperegonner rights(context_.keyMap);
  rights.LoadFromText(text);
  rights.RewriteRights();
  dest.ParamByName("ID_BLOB").WriteBlobFrom(rights.SaveToText());
}

TIBXSQLVAR& TableCopy::SourceColumn(int index, const std::string& name) {
  return index >= 0 ? source_.Column(index) : source_.ColumnByName(name);
}

bool TableCopy::IsArchivedOwner() {
  return table_ == "OWNER" && source_.ColumnByName("OW_ARCHIVE").GetInteger() == 1;
}

}  // namespace tablecopy

void Perepis(TransferContext& context, TIBSQL& source, TIBSQL& dest, TIBTransaction& sourceTr,
             TIBTransaction& destTr, TIBDatabase& sourceDb, TIBDatabase& destDb,
             const std::string& table, const std::string& keyColumn, const std::string& condition) {
  tablecopy::Bind(source, sourceTr, sourceDb);
  tablecopy::Bind(dest, destTr, destDb);
  tablecopy::TableCopy(context, source, dest, table, keyColumn, condition).Run();
}
