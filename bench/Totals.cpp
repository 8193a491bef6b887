#include "bench/Totals.h"

namespace {

double Rate(double rows, double seconds) {
  return seconds > 0 ? rows / seconds : 0.0;
}

}  // namespace

void Amount::Add(long moreRows, double moreSeconds, double moreCpu) {
  rows += moreRows;
  seconds += moreSeconds;
  cpu += moreCpu;
}

Totals Sum(const std::vector<Step>& steps, const StepFilter& which) {
  Totals t;
  for (const Step& step : steps) {
    if (!which(step)) continue;
    t.Add(step.rows, step.seconds, step.cpuSeconds);
    t.pumps += step.pumps;
    t.pumpSeconds += step.pumpSeconds;
    t.drawSeconds += step.drawSeconds;
    if (step.ceiling && step.ceiling->rows > 0) {
      t.measured.Add(step.rows, step.seconds, step.cpuSeconds);
      t.ceiling.Add(step.ceiling->rows, step.ceiling->seconds, step.ceiling->cpuSeconds);
    }
  }
  return t;
}

StepFilter AllSteps() {
  return [](const Step&) { return true; };
}

StepFilter OfKind(TableKind kind) {
  return [kind](const Step& step) { return step.kind == kind; };
}

double MicrosPerRow(double seconds, long rows) {
  return rows > 0 ? seconds * 1e6 / static_cast<double>(rows) : 0.0;
}

double RowsPerSecond(const Totals& t) {
  return Rate(static_cast<double>(t.rows), t.seconds);
}

double CeilingRowsPerSecond(const Totals& t) {
  return Rate(static_cast<double>(t.ceiling.rows), t.ceiling.seconds);
}

double Ratio(const Totals& t) {
  const double ceiling = CeilingRowsPerSecond(t);
  return ceiling > 0 ? Rate(static_cast<double>(t.measured.rows), t.measured.seconds) / ceiling
                     : 0.0;
}

double CpuRatio(const Totals& t) {
  const double ceiling = Rate(static_cast<double>(t.ceiling.rows), t.ceiling.cpu);
  return ceiling > 0 ? Rate(static_cast<double>(t.measured.rows), t.measured.cpu) / ceiling : 0.0;
}

double PerItem(long kb, long items) {
  return items > 0 ? static_cast<double>(kb) * 1024.0 / static_cast<double>(items) : 0.0;
}
