// The statement bracket: every unit of statement work runs under the one
// process-wide re-entrant lock, in a transaction of its own.
//
// Why no two statements race on one connection: every bracket is opened and
// closed on the window's thread, which holds the lock throughout. The only
// other thread, a table copy's reader, takes neither a bracket nor the lock: it
// fetches with the source statement alone, inside the source bracket that the
// window's thread opened for the table, while the window's thread touches only
// the destination; and the window's thread stops and joins the reader before it
// uses the source connection, its transaction or its statement again. So each
// connection serves one thread at a time, and reading never waits on writing.
#include <atomic>
#include <mutex>

#include "db/IB.h"

namespace {

std::atomic<std::recursive_mutex*> registeredLock{nullptr};

// Used while no master data module has registered its lock (tests, tools).
std::recursive_mutex& FallbackLock() {
  static std::recursive_mutex lock;
  return lock;
}

}  // namespace

void RegisterStatementLock(std::recursive_mutex* lock) {
  registeredLock.store(lock);
}

std::recursive_mutex* StatementLock() {
  std::recursive_mutex* lock = registeredLock.load();
  return lock != nullptr ? lock : &FallbackLock();
}

void BeginStatement(TIBSQL& statement) {
  StatementLock()->lock();
  // Failures are not reported here: a transaction that cannot be restarted
  // shows up as "Transaction is not active" at the statement's next step.
  try {
    TIBTransaction* transaction = statement.Transaction();
    if (transaction == nullptr) return;
    if (transaction->Active()) transaction->Commit();
    transaction->Start();
  } catch (...) {
  }
}

void EndStatement(TIBSQL& statement) {
  try {
    TIBTransaction* transaction = statement.Transaction();
    if (transaction != nullptr && transaction->Active()) transaction->Commit();
  } catch (...) {
  }
  StatementLock()->unlock();
}

void EndStatementReportingCommit(TIBSQL& statement) {
  struct Release {
    ~Release() { StatementLock()->unlock(); }
  } release;
  TIBTransaction* transaction = statement.Transaction();
  if (transaction == nullptr || !transaction->Active()) return;
  try {
    transaction->Commit();
  } catch (...) {
    // Undone at once: a later commit must not bring in what was reported lost.
    transaction->EndTransaction(TARollback, true);
    throw;
  }
}
