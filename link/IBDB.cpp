#include "link/IBDB.h"

#include <chrono>
#include <thread>

#include "db/IB.h"

TdmMaster::TdmMaster()
    : secondLock_(std::make_unique<std::recursive_mutex>()),
      statementLock_(std::make_unique<std::recursive_mutex>()) {
  RegisterStatementLock(statementLock_.get());
}

TdmMaster::~TdmMaster() {
  secondLock_.reset();
  std::this_thread::sleep_for(std::chrono::milliseconds(kExitWaitMs));
  RegisterStatementLock(nullptr);
  statementLock_.reset();
}
