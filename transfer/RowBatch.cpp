#include "transfer/RowBatch.h"

#include <algorithm>
#include <utility>

namespace {

bool singleRowsForced = false;
long long rowsWritten = 0;

// Rows in a batch: more saves little once the call per row is gone (measured on
// whole sites), and a batch stays well within a few milliseconds.
constexpr int kMaxRows = 32;
// The engine's limits: each INSERT of the block is one context of at most 256
// in a statement, and a statement takes at most 32,767 parameters. Its input
// message is kept within 64 KB, the most every client path carries.
constexpr int kMaxContexts = 255;
constexpr int kMaxParams = 32767;
constexpr size_t kMaxMessageBytes = 64 * 1024;

}  // namespace

RowBatch::RowBatch(std::string table, const tablecopy::RowStatement& row, std::string keyColumn)
    : table_(std::move(table)), row_(row), keyColumn_(std::move(keyColumn)) {}

RowBatch::~RowBatch() = default;

void RowBatch::UseSingleRowsForTests(bool on) {
  singleRowsForced = on;
}

long long RowBatch::RowsWrittenForTests() {
  return rowsWritten;
}

bool RowBatch::Open(TIBSQL& insert) {
  if (singleRowsForced || row_.kind != tablecopy::RowKind::Insert) return false;
  paramsPerRow_ = insert.Params().Count();
  // A row's share of the message is what its described parameters take; the
  // values a row actually carries are checked against it row by row.
  rowMessageBytes_ = std::max<size_t>(insert.Params().MessageBytes(), 1);
  capacity_ =
      std::min<int>({kMaxRows, kMaxContexts, static_cast<int>(kMaxMessageBytes / rowMessageBytes_),
                     paramsPerRow_ > 0 ? kMaxParams / paramsPerRow_ : kMaxRows});
  if (capacity_ < 2) return false;
  rowMessageBytes_ = kMaxMessageBytes / static_cast<size_t>(capacity_);

  auto block = std::make_unique<TIBSQL>(insert.Name() + "Batch");
  block->SetDatabase(insert.Database());
  block->SetTransaction(insert.Transaction());
  // The block's ":name" words are its own variables; it runs once per batch.
  block->SetEnginePlaceholders(true);
  block->SetRetryFailedProcedure(false);
  block->SetSQL({tablecopy::BatchInsertBlock(table_, row_, keyColumn_, capacity_)});
  try {
    block->Prepare();
  } catch (const EIBError&) {
    return false;
  }
  const int keys = keyColumn_.empty() ? 0 : capacity_;
  if (block->Params().Count() != capacity_ * paramsPerRow_ || block->ColumnCount() != keys)
    return false;
  statement_ = std::move(block);
  return true;
}

bool RowBatch::Fits(const TParamValues& values) const {
  return IsOpen() && values.Count() == paramsPerRow_ && !values.HasBlob() &&
         values.MessageBytes() <= rowMessageBytes_;
}

bool RowBatch::Send(const std::vector<const TParamValues*>& rows,
                    std::vector<std::string>& newKeys) {
  newKeys.clear();
  try {
    for (int r = 0; r < capacity_; ++r)
      statement_->Params().LoadValues(*rows.at(static_cast<size_t>(r)), r * paramsPerRow_);
    statement_->Execute();
    if (!keyColumn_.empty()) {
      for (int r = 0; r < capacity_; ++r) {
        const std::string key = statement_->Column(r).GetText();
        newKeys.push_back(key.empty() ? "-1" : key);
      }
      // The block ends after its one row; the cursor is read to its end.
      statement_->FetchNext();
      statement_->Close();
    }
    rowsWritten += capacity_;
    return true;
  } catch (const std::exception&) {
    try {
      statement_->Close();
    } catch (...) {
    }
    newKeys.clear();
    return false;
  }
}
