#pragma once
// The table copy's own parts, shared by its two files: reading and preparing
// the rows (TableCopy.cpp) and writing them, alone or in batches, with what
// follows each row's write and the table's commit (TableCopyWrites.cpp).
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "db/IB.h"
#include "transfer/KeyedInsert.h"
#include "transfer/RowBatch.h"
#include "transfer/TableCopyPlan.h"
#include "transfer/TransferContext.h"

namespace tablecopy {

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
        sourceQuery_(source),
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
  bool ReadsAhead() const;
  void CopyRows();
  void CopyRow();
  bool QueueForBatch(PreparedRow& row);
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
  void CommitTable(StatementBracket& destBracket);
  void ForgetWrittenRows();

  TransferContext& context_;
  // The source statement; its rows are read through sourceRow_, which holds the
  // row being written while the statement may be fetching rows ahead of it.
  TIBSQL& sourceQuery_;
  TIBSQL sourceRow_{"IBSQL4Row"};
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
  std::vector<int> blobColumns_;  // source blobs the rows need, read with the row

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
  // What the table's commit loses when it fails: the rows written, and where
  // the table's entries begin in its key-map pair.
  int rowsWritten_ = 0;
  size_t firstPairEntry_ = 0;
};

}  // namespace tablecopy
