#include "bench/TimedForm.h"

#include "bench/Ceiling.h"
#include "bench/Memory.h"

TimedForm::TimedForm(TDM1& dm, WindowServices& services, std::string executablePath,
                     std::string helpFile, bool pump)
    : TDbDravikForm(dm, services, std::move(executablePath), std::move(helpFile)), pump_(pump) {}

template <typename Call>
void TimedForm::Drawn(Call&& call) {
  const Clock::time_point start = Clock::now();
  call();
  if (!intervals_.empty())
    intervals_.back().drawSeconds += std::chrono::duration<double>(Clock::now() - start).count();
}

void TimedForm::SetStatusText(const std::string& text) {
  Interval interval;
  interval.status = text;
  interval.heapKb = HeapInUseKb();
  interval.cpuStart = CpuSeconds();
  interval.start = Clock::now();
  intervals_.push_back(std::move(interval));
  Drawn([&] { TDbDravikForm::SetStatusText(text); });
}

void TimedForm::SetTableBarMax(int max) {
  if (!intervals_.empty()) intervals_.back().tableBarMax = max;
  Drawn([&] { TDbDravikForm::SetTableBarMax(max); });
}

void TimedForm::SetTableBarPosition(int position) {
  Drawn([&] { TDbDravikForm::SetTableBarPosition(position); });
}

void TimedForm::StepTableBar() {
  Drawn([&] { TDbDravikForm::StepTableBar(); });
}

void TimedForm::SetAllBarMax(int max) {
  Drawn([&] { TDbDravikForm::SetAllBarMax(max); });
}

void TimedForm::SetAllBarPosition(int position) {
  Drawn([&] { TDbDravikForm::SetAllBarPosition(position); });
}

void TimedForm::StepAllBar() {
  Drawn([&] { TDbDravikForm::StepAllBar(); });
}

void TimedForm::ProcessMessages() {
  const Clock::time_point start = Clock::now();
  const double cpuStart = intervals_.empty() || intervals_.back().pumps > 1 ? 0.0 : CpuSeconds();
  if (pump_) TDbDravikForm::ProcessMessages();
  if (intervals_.empty()) return;
  const Clock::time_point end = Clock::now();
  Interval& interval = intervals_.back();
  ++interval.pumps;
  interval.pumpSeconds += std::chrono::duration<double>(end - start).count();
  if (interval.pumps == 1) {
    interval.firstPumpEnd = end;
    interval.firstPumpEndCpu = CpuSeconds();
  }
  if (interval.pumps == 2) {
    interval.secondPumpStart = start;
    interval.secondPumpStartCpu = cpuStart;
  }
}
