// The rows of a table copy on their way into the destination: in batches where
// they may travel in one, otherwise alone, what follows each row's write, and
// the table's commit.
#include <algorithm>
#include <exception>
#include <string>

#include "state/DynamicStates.h"
#include "text/RussianTexts.h"
#include "text/Trim.h"
#include "transfer/TableCommit.h"
#include "transfer/TableCopy.h"

namespace tablecopy {

namespace {

// Tables whose rows carry run-time state to be written under the new keys.
bool KeepsDynamicState(const std::string& table) {
  const auto& preserved = PreservedTables();
  return std::any_of(preserved.begin(), preserved.end(),
                     [&](const PreservedTable& kept) { return table == kept.table; });
}

}  // namespace

// Queues the row for the batch when it may travel in one; the caller sends a
// batch that is full.
bool TableCopy::QueueForBatch(PreparedRow& row) {
  if (&row == &alone_ || !batch_->Fits(row.values)) return false;
  try {
    row.logKey = SourceColumn(logKeyIndex_, keyColumn_).GetText();
    row.archived = IsArchivedOwner();
    row.queued = true;
  } catch (const std::exception&) {
    // Read again when the row is written on its own, where a failure counts.
    return false;
  }
  ++pendingCount_;
  return true;
}

void TableCopy::WriteAlone(PreparedRow& row, bool valuesSaved) {
  bool written = false;
  std::string error;
  try {
    // Kept values go back into the statement, which other rows may have used since.
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
    for (size_t r = 0; r < count && !logFailure_; ++r) WriteAlone(pending_[r], true);
  }
  RethrowLogFailure();
}

// What follows a row's write: its log line, its new key, the archive flag and
// its run-time state. `newKey`: the key a batch returned for it.
void TableCopy::Finish(const PreparedRow& row, bool written, const std::string& error,
                       const std::string* newKey) {
  // Every key-mapped row gets an entry in both lists, so they stay aligned.
  if (pair_ != 0) context_.keyMap.Pair(pair_).AppendOld(row.oldKeyText);
  if (written) ++rowsWritten_;
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

void TableCopy::Log(const PreparedRow& row, const std::string& prefix, const std::string& error) {
  try {
    const std::string key =
        row.queued ? row.logKey : SourceColumn(logKeyIndex_, keyColumn_).GetText();
    const std::string line = prefix + table_ + " " + keyColumn_ + " =  " + key + " :  " + error;
    // Only a failed row statement keeps the row out; the later steps' failures do not.
    if (prefix == ru::LogInsertError())
      context_.log.AppendRowFailure(table_, key, line);
    else
      context_.log.AppendFailure(line);
  } catch (...) {
    if (!logFailure_) logFailure_ = std::current_exception();
  }
}

// The engine keeps none of the table's rows when its commit fails: they count
// as failed, and the run's later steps see them as never written.
void TableCopy::CommitTable(StatementBracket& destBracket) {
  CommitTableWork(context_, destBracket, table_, rowsWritten_, [this] { ForgetWrittenRows(); });
}

void TableCopy::ForgetWrittenRows() {
  if (pair_ == 0) return;
  KeyMapPair& pair = context_.keyMap.Pair(pair_);
  pair.ForgetNewKeysFrom(firstPairEntry_);
  if (!KeepsDynamicState(table_)) return;
  for (size_t i = firstPairEntry_; i < pair.OldCount(); ++i) {
    int oldKey = 0;
    // New key 0: no state is written for the row.
    if (text::TryStrToInt(pair.OldKeyAt(i), oldKey)) context_.states.StoreNewKey(table_, oldKey, 0);
  }
}

void TableCopy::RethrowLogFailure() {
  if (!logFailure_) return;
  std::exception_ptr failure = logFailure_;
  logFailure_ = nullptr;
  std::rethrow_exception(failure);
}

}  // namespace tablecopy
