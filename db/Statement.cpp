// TIBSQL: its links, its text and access to its parameters and columns.
#include <random>
#include <string>

#include "db/Descriptors.h"
#include "db/IB.h"

namespace {

std::string RandomDigits(int count) {
  static std::mt19937 generator{std::random_device{}()};
  std::uniform_int_distribution<int> digit(0, 9);
  std::string digits;
  for (int i = 0; i < count; ++i) digits += static_cast<char>('0' + digit(generator));
  return digits;
}

}  // namespace

void TIBBase::SetDatabase(TIBDatabase* d) {
  if (d == database_) return;
  // An engine statement belongs to its attachment; it cannot follow the link.
  if (*owner_.HandlePtr() != 0) {
    try {
      owner_.Close();
      owner_.FreeHandle();
    } catch (...) {
    }
  }
  if (database_ != nullptr) database_->RemoveStatement(&owner_);
  database_ = d;
  if (d != nullptr) d->AddStatement(&owner_);
}

void TIBBase::SetTransaction(TIBTransaction* t) {
  if (t == transaction_) return;
  if (transaction_ != nullptr) transaction_->RemoveStatement(&owner_);
  transaction_ = t;
  if (t == nullptr) return;
  t->AddStatement(&owner_);
  if (database_ == nullptr && t->DefaultDatabase() != nullptr) SetDatabase(t->DefaultDatabase());
}

TIBSQL::TIBSQL(std::string componentName)
    : name_(std::move(componentName)),
      base_(*this),
      cursorName_(name_ + RandomDigits(8)),
      params_(std::make_unique<TIBXSQLDA>(*this)),
      columns_(std::make_unique<TIBXSQLDA>(*this)) {
  CheckIBLoaded();
}

TIBSQL::~TIBSQL() {
  try {
    Close();
  } catch (...) {
  }
  try {
    FreeHandle();
  } catch (...) {
  }
  handle_ = 0;
  SetTransaction(nullptr);
  SetDatabase(nullptr);
}

void TIBSQL::SQLClear() {
  sql_.clear();
  FreeHandle();
}

void TIBSQL::SQLAdd(const std::string& line) {
  sql_.push_back(line);
  FreeHandle();
}

void TIBSQL::SetSQL(const std::vector<std::string>& lines) {
  sql_ = lines;
  FreeHandle();
}

TIBXSQLVAR& TIBSQL::Param(int index) {
  if (!prepared_) Prepare();
  return (*params_)[index];
}

TIBXSQLVAR& TIBSQL::ParamByName(const std::string& name) {
  if (!prepared_) Prepare();
  TIBXSQLVAR* found = params_->FindByName(name);
  if (found == nullptr) IBError(ibxeFieldNotFound, name);
  return *found;
}

TIBXSQLVAR& TIBSQL::Column(int index) {
  if (index < 0 || index >= columns_->Count()) IBError(ibxeFieldNotFound, std::to_string(index));
  return (*columns_)[index];
}

TIBXSQLVAR& TIBSQL::ColumnByName(const std::string& name) {
  TIBXSQLVAR* found = columns_->FindByName(name);
  if (found == nullptr) IBError(ibxeFieldNotFound, name);
  return *found;
}

int TIBSQL::ParamCount() {
  if (!prepared_) Prepare();
  return params_->Count();
}

int TIBSQL::ColumnCount() const {
  return columns_->Count();
}

void TIBSQL::ResetParams() {
  params_->GetImpl().ResetToDescribed();
}
