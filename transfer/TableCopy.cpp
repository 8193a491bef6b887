// The table copy: one source table into the destination, row by row, with new
// keys for key-mapped tables and references rewritten through the key map.
// Here the rows are read and made ready; TableCopyWrites.cpp writes them.
#include "transfer/TableCopy.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <memory>
#include <vector>

#include "transfer/Operations.h"
#include "transfer/Peregonner.h"
#include "transfer/ReferenceRewrites.h"
#include "transfer/SourceReader.h"
#include "transfer/TableCommit.h"
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

  StatementBracket sourceBracket(sourceQuery_);
  RunSourceQuery({photosFromOwner_ ? tablecopy::PhotosFromOwnerCountQuery()
                                   : tablecopy::CountQuery(table_, keyColumn_)});
  context_.window.SetTableBarMax(sourceQuery_.Column(0).GetInteger());
  sourceQuery_.Close();

  RunSourceQuery(photosFromOwner_ ? tablecopy::PhotosFromOwnerSourceQuery()
                                  : tablecopy::SourceQuery(table_, keyColumn_, condition_));
  PlanRows(destColumns);
  if (Interrupted()) return;

  // One destination transaction for the whole table, committed when the copy
  // ends, however it ends; a commit that fails loses the table's rows.
  StatementBracket destBracket(dest_);
  CommitAfter(
      [&] {
        if (sourceQuery_.AtEnd()) return;
        context_.window.SetTableBarPosition(0);
        CopyRows();
      },
      [&] { CommitTable(destBracket); });
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
  sourceQuery_.SetSQL(lines);
  sourceQuery_.Prepare();
  // Events and alarms are taken from the chosen day on, from its midnight.
  if (IsEventTable(table_))
    sourceQuery_.ParamByName("EV_D").SetDateTime(std::trunc(context_.window.EventsFrom()));
  sourceQuery_.Execute();
}

void TableCopy::PlanRows(const std::vector<std::string>& destColumns) {
  const std::vector<std::string> sourceColumns =
      photosFromOwner_ ? tablecopy::PhotosFromOwnerSourceColumns() : ColumnNames(sourceQuery_);
  const bool addHostPort = table_ == "HOSTS" && !tablecopy::HasColumn(sourceColumns, "HS_PORT") &&
                           tablecopy::HasColumn(destColumns, "HS_PORT");
  common_ = tablecopy::CommonColumns(sourceColumns, destColumns);
  row_ = tablecopy::BuildRowStatement(table_, pair_ != 0, common_, addHostPort);

  auto indexOf = [this](const std::string& name) {
    const TIBXSQLVAR* column = sourceQuery_.Current().FindByName(name);
    return column == nullptr ? -1 : column->Index();
  };
  for (const std::string& name : row_.paramSources) paramColumns_.push_back(indexOf(name));
  if (!common_.empty()) keyColumnIndex_ = indexOf(common_[0]);
  logKeyIndex_ = indexOf(keyColumn_);

  // The rows are read through a copy of the source's columns; blob contents
  // travel with the row, for the blob belongs to the source's transaction.
  sourceRow_.Current().CopyLayout(sourceQuery_.Current());
  std::vector<int> wanted = paramColumns_;
  if (table_ == "INIDATA") wanted.push_back(indexOf("ID_BLOB"));
  for (int column : wanted) {
    if (column >= 0 && sourceQuery_.Column(column).SQLType() == SQL_TYPE_BLOB &&
        std::find(blobColumns_.begin(), blobColumns_.end(), column) == blobColumns_.end())
      blobColumns_.push_back(column);
  }
}

// The source is read on a thread of its own only while it is a connection of
// its own: its transaction spans no other, and the destination is elsewhere.
bool TableCopy::ReadsAhead() const {
  if (!SourceReader::ReadAheadEnabled()) return false;
  const TIBTransaction* transaction = sourceQuery_.Transaction();
  if (transaction == nullptr || sourceQuery_.Database() == dest_.Database()) return false;
  for (const TIBDatabase* database : transaction->Databases())
    if (database != nullptr && database != sourceQuery_.Database()) return false;
  return true;
}

void TableCopy::CopyRows() {
  const std::string returnedKey = pair_ != 0 ? keyColumn_ : std::string();
  insert_ = std::make_unique<KeyedInsert>(dest_, row_.text, table_, returnedKey);
  archive_ = std::make_unique<OwnerArchiveFlag>(dest_);
  batch_ = std::make_unique<RowBatch>(table_, row_, returnedKey);
  if (pair_ != 0) firstPairEntry_ = context_.keyMap.Pair(pair_).NewCount();
  ThrottledPump pump(context_.window);
  // Stopped and joined when this returns or throws, before either bracket closes.
  SourceReader reader(sourceQuery_, blobColumns_, ReadsAhead());
  reader.Start();
  try {
    while (!Interrupted()) {
      TRowValues* next = reader.Next();
      if (next == nullptr) break;
      sourceRow_.Current().LoadRow(*next);
      context_.window.StepTableBar();
      pump.Pump();
      CopyRow();
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
  bool queued = false;
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
      queued = QueueForBatch(row);
    }
  } catch (const std::exception& e) {
    error = e.what();
  }
  if (queued) {
    // Outside the row's guard: what fails while the batch is written (a log
    // line that cannot be written) belongs to the batch's rows, not to this one.
    if (pendingCount_ == pending_.size()) Flush();
    return;
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
  RewriteReferences(table_, sourceRow_, dest, context_.keyMap);
}

void TableCopy::RewriteRightsText(TIBSQL& dest) {
  if (sourceRow_.ColumnByName("ID_SECTION").GetText() != "USERS_RD_RIGHTS") return;
  std::string text;
  sourceRow_.ColumnByName("ID_BLOB").ReadBlobTo(text);
  Tperegonner rights(context_.keyMap);
  rights.LoadFromText(text);
  rights.RewriteRights();
  dest.ParamByName("ID_BLOB").WriteBlobFrom(rights.SaveToText());
}

TIBXSQLVAR& TableCopy::SourceColumn(int index, const std::string& name) {
  return index >= 0 ? sourceRow_.Column(index) : sourceRow_.ColumnByName(name);
}

bool TableCopy::IsArchivedOwner() {
  return table_ == "OWNER" && sourceRow_.ColumnByName("OW_ARCHIVE").GetInteger() == 1;
}

}  // namespace tablecopy

void Perepis(TransferContext& context, TIBSQL& source, TIBSQL& dest, TIBTransaction& sourceTr,
             TIBTransaction& destTr, TIBDatabase& sourceDb, TIBDatabase& destDb,
             const std::string& table, const std::string& keyColumn, const std::string& condition) {
  tablecopy::Bind(source, sourceTr, sourceDb);
  tablecopy::Bind(dest, destTr, destDb);
  tablecopy::TableCopy(context, source, dest, table, keyColumn, condition).Run();
}
