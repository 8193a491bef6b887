#include "bench/Memory.h"

#include <malloc.h>
#include <sys/resource.h>

#include <fstream>
#include <string>

namespace {

// A "Name:   123 kB" line of /proc/self/status; -1 when it is not there.
long StatusKb(const std::string& name) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(name + ":", 0) == 0) return std::stol(line.substr(name.size() + 1));
  }
  return -1;
}

}  // namespace

long PeakRssKb() {
  const long peak = StatusKb("VmHWM");
  if (peak >= 0) return peak;
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

long CurrentRssKb() {
  return StatusKb("VmRSS");
}

bool ResetPeakRss() {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
  clear.flush();
  return static_cast<bool>(clear);
}

long HeapInUseKb() {
  const struct mallinfo2 info = mallinfo2();
  return static_cast<long>((info.uordblks + info.hblkhd) / 1024);
}
