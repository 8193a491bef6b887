// The statement bracket: every unit of statement work runs under the one
// process-wide re-entrant lock, in a transaction of its own.
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
