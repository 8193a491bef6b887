#pragma once
// Rows of one table's insert sent to the destination several at a time, in one
// EXECUTE BLOCK whose parameters are the rows' values: one call per batch instead
// of one per row. The engine runs the block as one statement, so a batch is
// written whole or, when any of its rows fails, not at all.
#include <memory>
#include <string>
#include <vector>

#include "db/IB.h"
#include "transfer/TableCopyPlan.h"

class RowBatch {
 public:
  // `keyColumn` empty: the table's new keys are not wanted.
  RowBatch(std::string table, const tablecopy::RowStatement& row, std::string keyColumn);
  ~RowBatch();
  RowBatch(const RowBatch&) = delete;
  RowBatch& operator=(const RowBatch&) = delete;

  // Prepares the block beside `insert`, the table's one-row insert just prepared
  // (its parameters as described), on its connection and transaction. False when
  // a batch would hold fewer than two rows within the engine's limits or the
  // destination cannot prepare the block; the rows then go one by one.
  bool Open(TIBSQL& insert);
  bool IsOpen() const { return statement_ != nullptr; }
  // Rows in one batch.
  int Capacity() const { return capacity_; }
  // A row's values may travel in a batch: within its share of the message, and
  // no blob, whose id serves only the statement that first uses it.
  bool Fits(const TParamValues& values) const;

  // Sends the first Capacity() of `rows` as one statement. True when they were
  // written, with their new keys in row order in `newKeys` when keys are wanted;
  // false when the statement failed, and the engine has undone it whole.
  bool Send(const std::vector<const TParamValues*>& rows, std::vector<std::string>& newKeys);

  // Tests: send every row on its own, as a destination without the block form.
  static void UseSingleRowsForTests(bool on);
  // Rows this process wrote in batches, so tests tell the batch from the row path.
  static long long RowsWrittenForTests();

 private:
  std::string table_;
  const tablecopy::RowStatement& row_;
  std::string keyColumn_;
  int capacity_ = 0;
  int paramsPerRow_ = 0;
  size_t rowMessageBytes_ = 0;
  std::unique_ptr<TIBSQL> statement_;
};
