#include "console/Interrupts.h"

#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <algorithm>
#include <atomic>
#include <cstring>

namespace interrupts {
namespace {

class Interrupt {
  Q_DECLARE_TR_FUNCTIONS(Interrupt)
};

// A lock-free atomic is all a signal handler may touch.
std::atomic<int> received{0};
static_assert(std::atomic<int>::is_always_lock_free);
std::atomic<bool> onTerminal{false};

// The answer is put into words before any signal can come: a handler may not
// translate or allocate.
char answer[256];
size_t answerSize = 0;
constexpr char kClearLine[] = "\r\033[K";

void Handle(int signal) {
  int none = 0;
  if (!received.compare_exchange_strong(none, signal)) return;
  // write() is safe in a handler; a short or failed write changes nothing.
  if (onTerminal.load()) (void)!::write(STDERR_FILENO, kClearLine, sizeof kClearLine - 1);
  (void)!::write(STDERR_FILENO, answer, answerSize);
}

}  // namespace

void Install(bool terminal) {
  const std::string text =
      Interrupt::tr("db-dravik: interrupted, the run stops at its next row or step").toStdString() +
      "\n";
  answerSize = std::min(text.size(), sizeof answer);
  std::memcpy(answer, text.data(), answerSize);
  onTerminal.store(terminal);
  struct sigaction action = {};
  action.sa_handler = Handle;
  sigemptyset(&action.sa_mask);
  // Calls the database client is blocked in go on; the run sees the request
  // at its next row.
  action.sa_flags = SA_RESTART;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  // A closed terminal or a logged-out session ends the run the same way.
  sigaction(SIGHUP, &action, nullptr);
}

bool Requested() {
  return received.load() != 0;
}

int Signal() {
  return received.load();
}

}  // namespace interrupts
