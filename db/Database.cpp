// TIBDatabase: one attachment to one database file.
#include <string>

#include "db/Client.h"
#include "db/IB.h"
#include "db/ParamBlock.h"
#include "text/Cp1251.h"

TIBDatabase::TIBDatabase(std::string componentName) : name_(std::move(componentName)) {
  CheckIBLoaded();
}

TIBDatabase::~TIBDatabase() {
  try {
    Detach();
  } catch (...) {
    // Nothing may escape a destructor; the attachment is still let go of, so
    // the engine does not keep the file open for the rest of the process.
    if (handle_ != 0) {
      ib::Status ignored;
      ib::Api().detach_database(ignored.Vector(), &handle_);
    }
  }
  handle_ = 0;
  for (TIBTransaction* t : std::vector<TIBTransaction*>(transactions_)) {
    if (t == nullptr) continue;
    if (t->DefaultDatabase() == this)
      t->SetDefaultDatabase(nullptr);
    else
      t->RemoveDatabase(this);
  }
  for (TIBSQL* s : std::vector<TIBSQL*>(statements_))
    if (s != nullptr) s->SetDatabase(nullptr);
}

void TIBDatabase::SetDatabaseName(const std::string& path) {
  if (path == databaseName_) return;
  if (Connected()) IBError(ibxeDatabaseOpen);
  databaseName_ = path;
}

void TIBDatabase::SetParams(const std::vector<std::string>& lines) {
  params_ = lines;
  paramsChanged_ = true;
}

void TIBDatabase::SetDefaultTransaction(TIBTransaction* transaction) {
  defaultTransaction_ = transaction;
  // The default transaction spans its connection, so statements of this
  // connection can run in it without further set-up.
  if (transaction != nullptr) {
    AddTransaction(transaction);
    transaction->AddDatabase(this);
  }
}

void TIBDatabase::SetConnected(bool connected) {
  if (connected == Connected()) return;
  if (connected)
    Attach();
  else
    Detach();
}

void TIBDatabase::Attach() {
  if (databaseName_.empty()) IBError(ibxeDatabaseNameMissing);
  if (paramsChanged_) {
    dpb_ = ib::BuildDatabaseParamBlock(params_);
    paramsChanged_ = false;
  }
  const ib::ClientApi& api = ib::Api();
  ib::Status status;
  handle_ = 0;
  // File names are UTF-8 on this platform; the flag tells the client so, where
  // it would otherwise read them in the connection's character set (WIN1251).
  std::vector<char> dpb = dpb_;
  if (!text::IsAscii(databaseName_) && text::IsUtf8(databaseName_)) {
    dpb.push_back(isc_dpb_utf8_filename);
    dpb.push_back(0);
  }
  api.attach_database(status.Vector(), 0, databaseName_.c_str(), &handle_,
                      static_cast<short>(dpb.size()), dpb.data());
  if (status.Failed()) {
    handle_ = 0;
    status.Raise();
  }
  const char request[] = {isc_info_db_sql_dialect, isc_info_end};
  char reply[32] = {};
  ib::Status infoStatus;
  api.database_info(infoStatus.Vector(), &handle_, sizeof request, request, sizeof reply, reply);
  if (infoStatus.Failed()) {
    // A connection whose dialect cannot be read is not usable; leave it detached.
    ib::Status ignored;
    api.detach_database(ignored.Vector(), &handle_);
    handle_ = 0;
    infoStatus.Raise();
  }
  dbSqlDialect_ = 1;
  if (reply[0] == isc_info_db_sql_dialect) {
    int length = static_cast<int>(api.vax_integer(reply + 1, 2));
    dbSqlDialect_ = static_cast<int>(api.vax_integer(reply + 3, static_cast<short>(length)));
  }
  if (dbSqlDialect_ < sqlDialect_) sqlDialect_ = dbSqlDialect_;
}

void TIBDatabase::Detach() {
  if (!Connected()) return;
  for (TIBTransaction* t : std::vector<TIBTransaction*>(transactions_))
    if (t != nullptr && t->Active()) t->EndTransaction(t->DefaultAction(), true);
  for (TIBSQL* s : std::vector<TIBSQL*>(statements_)) {
    if (s == nullptr) continue;
    s->Close();
    s->FreeHandle();
  }
  ib::Status status;
  ib::Api().detach_database(status.Vector(), &handle_);
  status.Check();
  handle_ = 0;
  dbSqlDialect_ = 1;
}

int TIBDatabase::AddTransaction(TIBTransaction* t) {
  return ib::AddToSlots(transactions_, t);
}
void TIBDatabase::RemoveTransaction(TIBTransaction* t) {
  ib::RemoveFromSlots(transactions_, t);
}
int TIBDatabase::AddStatement(TIBSQL* s) {
  return ib::AddToSlots(statements_, s);
}
void TIBDatabase::RemoveStatement(TIBSQL* s) {
  ib::RemoveFromSlots(statements_, s);
}

bool TIBDatabase::HasTransaction(const TIBTransaction* t) const {
  for (const TIBTransaction* slot : transactions_)
    if (slot == t && t != nullptr) return true;
  return false;
}
