#pragma once
// The program's main window with a stopwatch on its status line: each status
// text opens an interval that the next one closes. Within it the window's own
// work is timed: the passes through its event loop, and the bars and the label
// (a bar repaints at once when its drawn length changes). A bench-only switch
// leaves the event loop out, to show what it costs a run.
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "app/DbDravikForm.h"

class TimedForm : public TDbDravikForm {
 public:
  using Clock = std::chrono::steady_clock;

  struct Interval {
    std::string status;
    Clock::time_point start;
    double cpuStart = 0;
    long heapKb = 0;       // the program's heap when it opened
    int tableBarMax = -1;  // the last maximum of the table bar; -1 when none was set
    long pumps = 0;
    double pumpSeconds = 0;  // inside the event loop
    double drawSeconds = 0;  // setting the bars and the label
    // The state save runs between the first two pumps after its status text.
    std::optional<Clock::time_point> firstPumpEnd, secondPumpStart;
    double firstPumpEndCpu = 0, secondPumpStartCpu = 0;  // this process's processor time then
  };

  TimedForm(TDM1& dm, WindowServices& services, std::string executablePath, std::string helpFile,
            bool pump);

  void SetStatusText(const std::string& text) override;
  void SetTableBarMax(int max) override;
  void SetTableBarPosition(int position) override;
  void StepTableBar() override;
  void SetAllBarMax(int max) override;
  void SetAllBarPosition(int position) override;
  void StepAllBar() override;
  void ProcessMessages() override;

  const std::vector<Interval>& Intervals() const { return intervals_; }

 private:
  // Runs one of the window's own display calls, its time added to the interval.
  template <typename Call>
  void Drawn(Call&& call);

  bool pump_;
  std::vector<Interval> intervals_;
};
