#pragma once
// Sums of measured tables and the rates and ratios made of them.
#include <functional>
#include <vector>

#include "bench/Steps.h"

// Rows and the time they took, by the clock and by processor time.
struct Amount {
  long rows = 0;
  double seconds = 0;
  double cpu = 0;
  void Add(long moreRows, double moreSeconds, double moreCpu);
};

struct Totals : Amount {
  long pumps = 0;
  double pumpSeconds = 0;
  double drawSeconds = 0;
  // The tables that have a ceiling: the program's share and the engine's.
  Amount measured, ceiling;
};

using StepFilter = std::function<bool(const Step&)>;

Totals Sum(const std::vector<Step>& steps, const StepFilter& which);
StepFilter AllSteps();
StepFilter OfKind(TableKind kind);

double MicrosPerRow(double seconds, long rows);
double RowsPerSecond(const Totals& t);
double CeilingRowsPerSecond(const Totals& t);
// The program's rate over the engine's, on the tables both were measured on:
// by the clock, and by processor time, which other work on the machine
// disturbs less.
double Ratio(const Totals& t);
double CpuRatio(const Totals& t);
// Bytes per item of a growth in KiB; 0 when nothing was added.
double PerItem(long kb, long items);
