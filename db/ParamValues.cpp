// Parameter values kept aside and given back, for rows that travel in batches.
#include <algorithm>
#include <cstring>

#include "db/Descriptors.h"
#include "db/IB.h"

namespace {

// Every value takes its data and a null flag, each aligned as the engine lays
// out a message; counted generously so that an estimate never falls short.
size_t MessageBytesOf(const XSQLVAR& v) {
  return (ib::DataSize(v) + 3) / 4 * 4 + 4;
}

bool IsNullValue(const XSQLVAR& v) {
  return ib::IsNullable(v) && v.sqlind != nullptr && *v.sqlind == -1;
}

// The bytes that carry the value: a varying text only as far as its length.
size_t ValueBytes(const XSQLVAR& v) {
  if (ib::BaseType(v) != SQL_VARYING) return ib::DataSize(v);
  unsigned short length = 0;
  std::memcpy(&length, v.sqldata, sizeof length);
  return sizeof length + std::min<size_t>(length, static_cast<size_t>(std::max<int>(v.sqllen, 0)));
}

}  // namespace

size_t TIBXSQLDA::MessageBytes() const {
  size_t bytes = 0;
  for (int i = 0; i < count_; ++i) bytes += MessageBytesOf(impl_->Var(i));
  return bytes;
}

void TIBXSQLDA::SaveValues(TParamValues& values) const {
  values.entries_.clear();
  values.data_.clear();
  values.messageBytes_ = 0;
  values.hasBlob_ = false;
  for (int i = 0; i < count_; ++i) {
    const XSQLVAR& v = impl_->Var(i);
    const bool isNull = IsNullValue(v);
    const size_t size = isNull ? 0 : ValueBytes(v);
    values.entries_.push_back({v.sqltype, v.sqlscale, v.sqlsubtype, v.sqllen,
                               v.sqlind != nullptr ? *v.sqlind : short{0}, values.data_.size(),
                               size});
    values.data_.insert(values.data_.end(), v.sqldata, v.sqldata + size);
    values.messageBytes_ += MessageBytesOf(v);
    if (!isNull && ib::BaseType(v) == SQL_BLOB) values.hasBlob_ = true;
  }
}

void TIBXSQLDA::LoadValues(const TParamValues& values, int first) {
  for (int k = 0; k < values.Count(); ++k) {
    const int i = first + k;
    if (i < 0 || i >= count_) IBError(ibxeXSQLDAIndexOutOfRange);
    const TParamValues::Entry& entry = values.entries_[static_cast<size_t>(k)];
    XSQLVAR& v = impl_->Var(i);
    v.sqltype = entry.type;
    v.sqlscale = entry.scale;
    v.sqlsubtype = entry.subtype;
    v.sqllen = entry.length;
    impl_->Resize(i, ib::DataSize(v));
    if (entry.size > 0) std::memcpy(v.sqldata, values.data_.data() + entry.offset, entry.size);
    *v.sqlind = entry.indicator;
    vars_[static_cast<size_t>(i)]->modified_ = true;
  }
}
