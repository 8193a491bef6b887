#pragma once
// Pending window messages processed from a table's row loop: at most once every
// few milliseconds, since with a real display one pass through the event loop
// costs more than copying a row. The interrupt flag is still read before every
// row, so an answer given inside a pump stops the copy at the next row.
#include <chrono>

#include "transfer/TransferWindow.h"

class ThrottledPump {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr std::chrono::milliseconds kInterval{10};

  explicit ThrottledPump(TransferWindow& window) : window_(window) {}

  // Processes the messages when the interval has passed since the last pump
  // ended; the first call always does.
  void Pump() {
    if (Clock::now() < next_) return;
    window_.ProcessMessages();
    next_ = Clock::now() + kInterval;
  }

 private:
  TransferWindow& window_;
  Clock::time_point next_{};
};
