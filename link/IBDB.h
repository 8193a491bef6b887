#pragma once
// The master data module: the first object of the program and the last to go.
// It owns the process-wide statement lock for its whole life; the database link
// it once carried is never opened by this program, so it is not built.
#include <memory>
#include <mutex>

class TdmMaster {
 public:
  TdmMaster();   // DataModuleCreate
  ~TdmMaster();  // DataModuleDestroy: waits one second before the lock goes
  TdmMaster(const TdmMaster&) = delete;
  TdmMaster& operator=(const TdmMaster&) = delete;

  std::recursive_mutex& StatementLock() { return *statementLock_; }

  static constexpr int kExitWaitMs = 1000;

 private:
  // Taken by nothing; kept so that the module's locks live and die in their order.
  std::unique_ptr<std::recursive_mutex> secondLock_;
  std::unique_ptr<std::recursive_mutex> statementLock_;
};
