// TIBXSQLDA: a statement's parameter or column list over one XSQLDA block.
#include "db/Descriptors.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "db/ParamParser.h"
#include "text/Trim.h"

namespace ib {

int BaseType(const XSQLVAR& v) {
  return v.sqltype & ~1;
}
bool IsNullable(const XSQLVAR& v) {
  return (v.sqltype & 1) != 0;
}

size_t DataSize(const XSQLVAR& v) {
  size_t length = v.sqllen > 0 ? static_cast<size_t>(v.sqllen) : 0;
  if (BaseType(v) == SQL_VARYING) length += 2;
  return std::max<size_t>(length, 1);
}

}  // namespace ib

namespace {

std::string StoredName(const std::string& name) {
  return text::UpperCase(text::Trim(name));
}

bool KnownType(int type) {
  switch (type) {
    case SQL_VARYING:
    case SQL_TEXT:
    case SQL_DOUBLE:
    case SQL_FLOAT:
    case SQL_LONG:
    case SQL_SHORT:
    case SQL_TIMESTAMP:
    case SQL_BLOB:
    case SQL_D_FLOAT:
    case SQL_ARRAY:
    case SQL_QUAD:
    case SQL_TYPE_TIME:
    case SQL_TYPE_DATE:
    case SQL_INT64:
    // "? IS NULL" parameters are described with this type; they take any value.
    case SQL_NULL:
      return true;
    default:
      return false;
  }
}

}  // namespace

TIBXSQLDA::TIBXSQLDA(TIBSQL& statement)
    : statement_(statement), impl_(std::make_unique<Impl>(*this)) {
  impl_->Reserve(1);
}

TIBXSQLDA::~TIBXSQLDA() = default;

TIBXSQLVAR& TIBXSQLDA::operator[](int i) {
  if (i < 0 || i >= count_) IBError(ibxeXSQLDAIndexOutOfRange);
  return *vars_[static_cast<size_t>(i)];
}

TIBXSQLVAR* TIBXSQLDA::FindByName(const std::string& name) {
  std::string wanted = StoredName(name);
  for (int i = 0; i < count_; ++i)
    if (names_[static_cast<size_t>(i)] == wanted) return vars_[static_cast<size_t>(i)].get();
  return nullptr;
}

void TIBXSQLDA::Impl::Reserve(int n) {
  if (n > capacity) {
    size_t bytes = XSQLDA_LENGTH(static_cast<size_t>(n));
    std::vector<std::max_align_t> grown((bytes + sizeof(std::max_align_t) - 1) /
                                        sizeof(std::max_align_t));
    std::memset(static_cast<void*>(grown.data()), 0, bytes);
    if (capacity > 0)
      std::memcpy(static_cast<void*>(grown.data()), block.data(),
                  XSQLDA_LENGTH(static_cast<size_t>(capacity)));
    block.swap(grown);
    capacity = n;
    while (static_cast<int>(slots.size()) < n) slots.push_back(std::make_unique<Slot>());
    while (static_cast<int>(owner.vars_.size()) < n)
      owner.vars_.push_back(
          std::make_unique<TIBXSQLVAR>(owner, static_cast<int>(owner.vars_.size())));
  }
  XSQLDA* da = Sqlda();
  da->version = SQLDA_VERSION1;
  da->sqln = static_cast<ISC_SHORT>(n);
}

void TIBXSQLDA::Impl::SetCount(int n, const std::vector<std::string>& names) {
  Reserve(std::max(n, 1));
  owner.count_ = n;
  owner.names_.assign(static_cast<size_t>(n), std::string());
  for (int i = 0; i < n && i < static_cast<int>(names.size()); ++i)
    owner.names_[static_cast<size_t>(i)] = StoredName(names[static_cast<size_t>(i)]);
  Sqlda()->sqld = static_cast<ISC_SHORT>(n);
}

void TIBXSQLDA::Impl::Clear() {
  owner.count_ = 0;
  owner.names_.clear();
  Sqlda()->sqld = 0;
}

void TIBXSQLDA::Impl::SetupBuffers() {
  for (int i = 0; i < owner.count_; ++i) {
    XSQLVAR& v = Var(i);
    if (!KnownType(ib::BaseType(v)))
      IBError(ibxeUnknownSQLDataType, std::to_string(ib::BaseType(v)));
    Slot& slot = SlotAt(i);
    slot.data.assign(ib::DataSize(v), 0);
    slot.indicator = 0;
    v.sqldata = slot.data.data();
    v.sqlind = &slot.indicator;
    slot.described = v;
    slot.blobHeld = false;
    owner.vars_[static_cast<size_t>(i)]->modified_ = false;
  }
}

void TIBXSQLDA::Impl::NameColumns() {
  std::vector<std::string> aliases;
  for (int i = 0; i < owner.count_; ++i) {
    const XSQLVAR& v = Var(i);
    aliases.emplace_back(v.aliasname,
                         static_cast<size_t>(std::clamp<int>(v.aliasname_length, 0, 31)));
  }
  owner.names_ = ib::ColumnNames(aliases);
}

void TIBXSQLDA::Impl::Resize(int i, size_t bytes) {
  Slot& slot = SlotAt(i);
  if (slot.data.size() < bytes) slot.data.resize(bytes, 0);
  Var(i).sqldata = slot.data.data();
  Var(i).sqlind = &slot.indicator;
}

void TIBXSQLDA::Impl::ResetToDescribed() {
  for (int i = 0; i < owner.count_; ++i) {
    Slot& slot = SlotAt(i);
    XSQLVAR& v = Var(i);
    v = slot.described;
    std::fill(slot.data.begin(), slot.data.end(), 0);
    slot.indicator = 0;
    v.sqldata = slot.data.data();
    v.sqlind = &slot.indicator;
    owner.vars_[static_cast<size_t>(i)]->modified_ = false;
  }
}
