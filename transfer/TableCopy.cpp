// The table copy: one source table into the destination, row by row, with new
// keys for key-mapped tables and references rewritten through the key map.
#include <cmath>
#include <exception>
#include <memory>
#include <vector>

#include "state/DynamicStates.h"
#include "text/RussianTexts.h"
#include "text/Trim.h"
#include "transfer/KeyedInsert.h"
#include "transfer/Operations.h"
#include "transfer/Peregonner.h"
#include "transfer/ReferenceRewrites.h"
#include "transfer/RowBatch.h"
#include "transfer/TableCopyPlan.h"
#include "transfer/TableList.h"
#include "transfer/ThrottledPump.h"
#include "transfer/TransferContext.h"

namespace {

using tablecopy::RowKind;

void Bind(TIBSQL& statement, TIBTransaction& transaction, TIBDatabase& database) {
  transaction.SetDefaultDatabase(&database);
  statement.SetTransaction(&transaction);
}

std::vector<std::string> ColumnNames(TIBSQL& statement) {
  std::vector<std::string> names;
  for (int i = 0; i < statement.ColumnCount(); ++i) names.push_back(statement.Column(i).Name());
  return names;
}

// Tables whose rows carry run-time state to be written under the new keys.
bool KeepsDynamicState(const std::string& table) {
  return table == "HOSTS" || table == "CONTROLLERS" || table == "SLAVES" || table == "READERS" ||
         table == "OWNER";
}

// A row read from the source and made ready for the destination, kept until
// it is known whether it was written.
struct PreparedRow {
  std::string oldKeyText;  // key-mapped tables: the row's key in the source
  // Read when the row waits for a batch, for the source has moved on by the
  // time it is written; otherwise the source's current row tells.
  bool queued = false;
  std::string logKey;     // the row's K, for its log lines
  bool archived = false;  // OWNER: the source row is archived
  TParamValues values;    // the insert's parameters as the row set them
};

class TableCopy {
 public:
  TableCopy(TransferContext& context, TIBSQL& source, TIBSQL& dest, const std::string& table,
            const std::string& keyColumn, const std::string& condition)
      : context_(context),
        source_(source),
        dest_(dest),
        table_(table),
        keyColumn_(keyColumn),
        condition_(condition),
        pair_(KeyMapPairNumber(table)),
        photosFromOwner_(table == "OWNERPHOTOS" && context.destHasOwnerPhotos &&
                         !context.sourceHasOwnerPhotos) {}

  void Run();

 private:
  bool Interrupted() const { return context_.window.Interrupted(); }
  std::vector<std::string> DestinationColumns();
  void RunSourceQuery(const std::vector<std::string>& lines);
  void PlanRows(const std::vector<std::string>& destColumns);
  void CopyRows();
  void CopyRow();
  bool PrepareBatched(PreparedRow& row);
  void WriteAlone(PreparedRow& row, bool valuesSaved);
  void Flush();
  void Finish(const PreparedRow& row, bool written, const std::string& error,
              const std::string* newKey);
  void FillValues(TIBSQL& dest);
  void FillInsert(TIBSQL& dest);
  void RewriteRightsText(TIBSQL& dest);
  TIBXSQLVAR& SourceColumn(int index, const std::string& name);
  bool IsArchivedOwner();
  void Log(const PreparedRow& row, const std::string& prefix, const std::string& error);
  void RethrowLogFailure();

  TransferContext& context_;
  TIBSQL& source_;
  TIBSQL& dest_;
  const std::string& table_;
  const std::string& keyColumn_;
  const std::string& condition_;
  const int pair_;
  const bool photosFromOwner_;
  std::vector<std::string> common_;
  tablecopy::RowStatement row_;
  // Source column positions of the row's parameters, of its key and of K; -1
  // when the source lacks the column, so that reading it fails.
  std::vector<int> paramColumns_;
  int keyColumnIndex_ = -1;
  int logKeyIndex_ = -1;

  std::unique_ptr<KeyedInsert> insert_;
  std::unique_ptr<OwnerArchiveFlag> archive_;
  std::unique_ptr<RowBatch> batch_;
  bool batchTried_ = false;
  std::vector<PreparedRow> pending_;  // the first pendingCount_ wait for their batch
  size_t pendingCount_ = 0;
  PreparedRow alone_;
  std::vector<const TParamValues*> batchValues_;
  std::vector<std::string> batchKeys_;
  // A log line that cannot be written ends the table, but only once the rows
  // written so far have their entries in both key lists, so the lists stay in step.
  std::exception_ptr logFailure_;
};

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

// Queues the row for the batch when it may travel in one.
bool TableCopy::PrepareBatched(PreparedRow& row) {
  if (&row == &alone_ || !batch_->Fits(row.values)) return false;
  try {
    row.logKey = SourceColumn(logKeyIndex_, keyColumn_).GetText();
    row.archived = IsArchivedOwner();
    row.queued = true;
  } catch (const std::exception&) {
    // Read again when the row is written on its own, where a failure counts.
    return false;
  }
  if (++pendingCount_ == pending_.size()) Flush();
  return true;
}

void TableCopy::WriteAlone(PreparedRow& row, bool valuesSaved) {
  bool written = false;
  std::string error;
  try {
    // A flush before it may have used the statement for other rows.
    if (valuesSaved) insert_->Start().Params().LoadValues(row.values, 0);
    insert_->Execute();
    written = true;
  } catch (const std::exception& e) {
    error = e.what();
  }
  Finish(row, written, error, nullptr);
}

void TableCopy::Flush() {
  if (pendingCount_ == 0) return;
  const size_t count = pendingCount_;
  pendingCount_ = 0;
  batchValues_.clear();
  for (size_t r = 0; r < count; ++r) batchValues_.push_back(&pending_[r].values);
  if (count == pending_.size() && batch_->Send(batchValues_, batchKeys_)) {
    for (size_t r = 0; r < count; ++r)
      Finish(pending_[r], true, std::string(), batchKeys_.empty() ? nullptr : &batchKeys_[r]);
  } else {
    // A short batch, or one the engine refused and undid: row by row, so that
    // every failed row has its own log line, in order. A log line that cannot
    // be written ends the table there, as it does for a row on its own.
    for (size_t r = 0; r < count && !logFailure_; ++r) {
      PreparedRow& row = pending_[r];
      bool written = false;
      std::string error;
      try {
        insert_->Start().Params().LoadValues(row.values, 0);
        insert_->Execute();
        written = true;
      } catch (const std::exception& e) {
        error = e.what();
      }
      Finish(row, written, error, nullptr);
    }
  }
  RethrowLogFailure();
}

// What follows a row's write: its log line, its new key, the archive flag and
// its run-time state. `newKey`: the key a batch returned for it.
void TableCopy::Finish(const PreparedRow& row, bool written, const std::string& error,
                       const std::string* newKey) {
  // Every key-mapped row gets an entry in both lists, so they stay aligned.
  if (pair_ != 0) context_.keyMap.Pair(pair_).AppendOld(row.oldKeyText);
  if (!written) Log(row, ru::LogInsertError(), error);

  int newKeyValue = -1;
  if (pair_ != 0) {
    std::string newKeyText = "-1";
    if (newKey != nullptr) {
      newKeyText = *newKey;
    } else {
      try {
        newKeyText = insert_->NewKey(written);
      } catch (const std::exception& e) {
        Log(row, ru::LogNewKeyError(), e.what());
      }
    }
    context_.keyMap.Pair(pair_).AppendNew(newKeyText);
    if (!text::TryStrToInt(newKeyText, newKeyValue)) newKeyValue = -1;
  }

  const bool archived = row.queued ? row.archived : IsArchivedOwner();
  if (archived && written && newKeyValue != -1) {
    try {
      archive_->Set(newKeyValue);
    } catch (const std::exception& e) {
      Log(row, ru::LogArchiveFlagError(), e.what());
    }
  }

  int oldKey = 0;
  if (KeepsDynamicState(table_) && newKeyValue != -1 && text::TryStrToInt(row.oldKeyText, oldKey))
    context_.states.StoreNewKey(table_, oldKey, newKeyValue);
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

void TableCopy::Log(const PreparedRow& row, const std::string& prefix, const std::string& error) {
  try {
    const std::string key =
        row.queued ? row.logKey : SourceColumn(logKeyIndex_, keyColumn_).GetText();
    const std::string line = prefix + table_ + " " + keyColumn_ + " =  " + key + " :  " + error;
    // Only a failed row statement keeps the row out; the later steps' failures do not.
    if (prefix == ru::LogInsertError())
      context_.log.AppendRowFailure(table_, line);
    else
      context_.log.AppendFailure(line);
  } catch (...) {
    if (!logFailure_) logFailure_ = std::current_exception();
  }
}

void TableCopy::RethrowLogFailure() {
  if (!logFailure_) return;
  std::exception_ptr failure = logFailure_;
  logFailure_ = nullptr;
  std::rethrow_exception(failure);
}

}  // namespace

void Perepis(TransferContext& context, TIBSQL& source, TIBSQL& dest, TIBTransaction& sourceTr,
             TIBTransaction& destTr, TIBDatabase& sourceDb, TIBDatabase& destDb,
             const std::string& table, const std::string& keyColumn, const std::string& condition) {
  Bind(source, sourceTr, sourceDb);
  Bind(dest, destTr, destDb);
  TableCopy(context, source, dest, table, keyColumn, condition).Run();
}
