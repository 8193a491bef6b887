#include "console/Interrupts.h"

#include <signal.h>

#include <atomic>

namespace interrupts {
namespace {

// A lock-free atomic is all a signal handler may touch.
std::atomic<int> received{0};
static_assert(std::atomic<int>::is_always_lock_free);

void Handle(int signal) {
  int none = 0;
  received.compare_exchange_strong(none, signal);
}

}  // namespace

void Install() {
  struct sigaction action = {};
  action.sa_handler = Handle;
  sigemptyset(&action.sa_mask);
  // Calls the database client is blocked in go on; the run sees the request
  // at its next row.
  action.sa_flags = SA_RESTART;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

bool Requested() {
  return received.load() != 0;
}

int Signal() {
  return received.load();
}

}  // namespace interrupts
