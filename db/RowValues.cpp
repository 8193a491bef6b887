// Rows kept apart from the statement that fetched them, read back through a
// column list of the same layout.
#include <algorithm>
#include <cstring>

#include "db/Descriptors.h"
#include "db/IB.h"

size_t TRowValues::Bytes() const {
  size_t bytes = values_.MessageBytes();
  for (size_t i = 0; i < blobCount_; ++i) bytes += blobs_[i].content.size();
  return bytes;
}

void TIBXSQLDA::CopyLayout(const TIBXSQLDA& other) {
  impl_->Reserve(std::max(other.count_, 1));
  for (int i = 0; i < other.count_; ++i) {
    XSQLVAR& v = impl_->Var(i);
    v = other.impl_->Var(i);
    v.sqldata = nullptr;
    v.sqlind = nullptr;
  }
  impl_->SetCount(other.count_, other.names_);
  impl_->SetupBuffers();
}

void TIBXSQLDA::SaveRow(TRowValues& row, const std::vector<int>& blobColumns) const {
  SaveValues(row.values_);
  row.blobCount_ = 0;
  for (int column : blobColumns) {
    const XSQLVAR& v = impl_->Var(column);
    if (ib::BaseType(v) != SQL_BLOB || (ib::IsNullable(v) && *v.sqlind == -1)) continue;
    if (row.blobs_.size() == row.blobCount_) row.blobs_.emplace_back();
    TRowValues::Blob& blob = row.blobs_[row.blobCount_++];
    blob.column = column;
    blob.content.clear();
    blob.failure = nullptr;
    try {
      ISC_QUAD id;
      std::memcpy(&id, v.sqldata, sizeof id);
      blob.content = ib::ReadBlob(statement_, id);
    } catch (...) {
      // Raised where the row's blob is read, as reading it there would have.
      blob.failure = std::current_exception();
    }
  }
}

void TIBXSQLDA::LoadRow(TRowValues& row) {
  LoadValues(row.values_, 0);
  for (int i = 0; i < count_; ++i) impl_->SlotAt(i).blobHeld = false;
  for (size_t b = 0; b < row.blobCount_; ++b) {
    TRowValues::Blob& blob = row.blobs_[b];
    Impl::Slot& slot = impl_->SlotAt(blob.column);
    slot.blobHeld = true;
    slot.blobContent.swap(blob.content);
    slot.blobFailure = blob.failure;
  }
}
