// TIBTransaction: one engine transaction, possibly over several connections.
#include <string>
#include <vector>

#include "db/Client.h"
#include "db/IB.h"
#include "db/ParamBlock.h"

namespace {

// One entry of isc_start_multiple's vector, as the client library reads it.
struct TransactionEntry {
  isc_db_handle* database;
  long paramLength;
  const char* params;
};

}  // namespace

TIBTransaction::TIBTransaction(std::string componentName) : name_(std::move(componentName)) {
  CheckIBLoaded();
}

TIBTransaction::~TIBTransaction() {
  if (Active()) {
    try {
      EndTransaction(defaultAction_, true);
    } catch (...) {
      // A forced end reports nothing; nothing may escape a destructor.
    }
  }
  handle_ = 0;
  for (TIBSQL* s : std::vector<TIBSQL*>(statements_))
    if (s != nullptr) s->SetTransaction(nullptr);
  for (TIBDatabase* d : std::vector<TIBDatabase*>(databases_)) {
    if (d == nullptr) continue;
    d->RemoveTransaction(this);
    if (d->DefaultTransaction() == this) d->SetDefaultTransaction(nullptr);
  }
}

void TIBTransaction::SetParams(const std::vector<std::string>& lines) {
  params_ = lines;
  paramsChanged_ = true;
}

void TIBTransaction::Start() {
  if (Active()) IBError(ibxeInTransaction);
  std::vector<TransactionEntry> entries;
  for (TIBDatabase* d : databases_) {
    if (d == nullptr) continue;
    if (!d->Connected()) IBError(ibxeDatabaseClosed);
    entries.push_back({d->HandlePtr(), 0, nullptr});
  }
  if (entries.empty()) IBError(ibxeNoDatabasesInTransaction);
  if (paramsChanged_) {
    tpb_ = ib::BuildTransactionParamBlock(params_);
    paramsChanged_ = false;
  }
  for (TransactionEntry& e : entries) {
    e.paramLength = static_cast<long>(tpb_.size());
    e.params = tpb_.empty() ? nullptr : tpb_.data();
  }
  ib::Status status;
  handle_ = 0;
  ib::Api().start_multiple(status.Vector(), &handle_, static_cast<short>(entries.size()),
                           entries.data());
  if (status.Failed()) {
    handle_ = 0;
    status.Raise();
  }
}

void TIBTransaction::Commit() {
  EndTransaction(TACommit, false);
}
void TIBTransaction::Rollback() {
  EndTransaction(TARollback, false);
}

void TIBTransaction::EndTransaction(TTransactionAction action, bool forced) {
  if (!Active()) IBError(ibxeNotInTransaction);
  for (TIBSQL* s : std::vector<TIBSQL*>(statements_))
    if (s != nullptr && s->Open()) s->DropCursorForTransactionEnd();
  // A retaining end would keep the transaction open; here the transaction
  // always ends, so the retaining actions end it like their plain forms.
  bool commit = action == TACommit || action == TACommitRetaining;
  const ib::ClientApi& api = ib::Api();
  ib::Status status;
  if (commit)
    api.commit_transaction(status.Vector(), &handle_);
  else
    api.rollback_transaction(status.Vector(), &handle_);
  if (!status.Failed()) {
    handle_ = 0;
    return;
  }
  if (!forced) status.Raise();
  if (commit) {
    ib::Status rollbackStatus;
    api.rollback_transaction(rollbackStatus.Vector(), &handle_);
  }
  handle_ = 0;
}

void TIBTransaction::SetDefaultDatabase(TIBDatabase* database) {
  TIBDatabase* previous = defaultDatabase_;
  // Only the previous default leaves the lists; other listed connections stay.
  if (previous != nullptr && previous != database) {
    previous->RemoveTransaction(this);
    RemoveDatabase(previous);
    if (previous->DefaultTransaction() == this) previous->SetDefaultTransaction(nullptr);
  }
  if (database != nullptr && database != previous) {
    database->AddTransaction(this);
    AddDatabase(database);
    for (TIBSQL* s : statements_)
      if (s != nullptr && s->Database() == nullptr) s->SetDatabase(database);
  }
  defaultDatabase_ = database;
}

int TIBTransaction::AddDatabase(TIBDatabase* d) {
  return ib::AddToSlots(databases_, d);
}
void TIBTransaction::RemoveDatabase(TIBDatabase* d) {
  ib::RemoveFromSlots(databases_, d);
}
int TIBTransaction::AddStatement(TIBSQL* s) {
  return ib::AddToSlots(statements_, s);
}
void TIBTransaction::RemoveStatement(TIBSQL* s) {
  ib::RemoveFromSlots(statements_, s);
}
