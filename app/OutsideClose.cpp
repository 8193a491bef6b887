#include "app/OutsideClose.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <stdexcept>

namespace {

volatile std::sig_atomic_t writeEnd = -1;

void OnSignal(int) {
  int saved = errno;
  if (writeEnd >= 0) {
    [[maybe_unused]] ssize_t n = ::write(writeEnd, "c", 1);
  }
  errno = saved;
}

}  // namespace

OutsideCloseRequests::OutsideCloseRequests(QObject* parent) : QObject(parent) {
  if (::pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0) throw std::runtime_error("pipe2 failed");
  writeEnd = pipe_[1];
  notifier_ = new QSocketNotifier(pipe_[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &OutsideCloseRequests::ReadPipe);
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &action, &previous_[i]);
}

OutsideCloseRequests::~OutsideCloseRequests() {
  for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &previous_[i], nullptr);
  writeEnd = -1;
  delete notifier_;
  ::close(pipe_[0]);
  ::close(pipe_[1]);
}

void OutsideCloseRequests::ReadPipe() {
  char buffer[64];
  bool any = false;
  while (::read(pipe_[0], buffer, sizeof buffer) > 0) any = true;
  // Requests that pile up before the loop comes round are one request.
  if (any) emit requested();
}
