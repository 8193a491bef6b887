#include "bench/Report.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "bench/Totals.h"
#include "state/TableSts.h"

namespace {

// The goals of the run through the window, measured on the larger sites.
constexpr double kWholeRunGoal = 0.85;        // of the engine's rate
constexpr double kTableGoal = 0.75;           // every table, plain event tables included
constexpr double kGrowthGoal = 1.2;           // time per row, largest site against smallest
constexpr double kStatePassGoal = 3.0;        // saving and restoring a record against copying it
constexpr double kMemoryTarget = 1.25;        // peak, largest site against smallest
constexpr double kReadAheadMemoryGoal = 1.1;  // peak read ahead, against reading in line

const char* KindName(TableKind kind) {
  switch (kind) {
    case TableKind::KeyMapped:
      return "key";
    case TableKind::Plain:
      return "plain";
    case TableKind::Update:
      return "update";
  }
  return "";
}

const char* Verdict(bool met) {
  return met ? "met" : "MISSED";
}

double Percent(double part, double whole) {
  return whole > 0 ? 100.0 * part / whole : 0.0;
}

double MiB(long kb) {
  return static_cast<double>(kb) / 1024.0;
}

// The window's figures for a group of tables, then beside them the same tables
// read in line, without the event loop and through the stand-in window, and the
// ceiling.
void PrintLine(const char* name, const char* kind, const Totals& window, const Totals& inLine,
               const Totals& unpumped, const Totals* standIn) {
  std::printf(
      "%-16s %-6s %8ld %8.3f %9.0f %6.2f %6.2f %5.1f%% %5.1f%% | %9.0f %6.2f | %9.0f %6.2f |", name,
      kind, window.rows, window.seconds, RowsPerSecond(window), Ratio(window), CpuRatio(window),
      Percent(window.pumpSeconds, window.seconds), Percent(window.drawSeconds, window.seconds),
      RowsPerSecond(inLine), Ratio(inLine), RowsPerSecond(unpumped), Ratio(unpumped));
  if (standIn)
    std::printf(" %9.0f %6.2f |", RowsPerSecond(*standIn), Ratio(*standIn));
  else
    std::printf(" %9s %6s |", "-", "-");
  if (window.ceiling.seconds > 0)
    std::printf(" %10.0f\n", CeilingRowsPerSecond(window));
  else
    std::printf(" %10s\n", "-");
}

template <typename Which>
void PrintGroup(const SiteRun& run, const char* name, const char* kind, Which&& which) {
  std::optional<Totals> standIn;
  if (run.standIn) standIn = Sum(run.standIn->steps, which);
  PrintLine(name, kind, Sum(run.plain.steps, which), Sum(run.inLine.steps, which),
            Sum(run.unpumped.steps, which), standIn ? &*standIn : nullptr);
}

}  // namespace

void PrintSite(const SiteRun& run) {
  std::printf("\nsite %s (controllers%s), %s platform, best of %d runs through the window\n",
              run.shape.Name().c_str(), run.shape.Proportional() ? "" : "/owners/events each",
              run.platform.c_str(), run.repeats);
  std::printf("%-16s %-6s %8s %8s %9s %6s %6s %6s %6s | %9s %6s | %9s %6s | %9s %6s | %10s\n", "",
              "", "", "window", "", "", "by cpu", "event", "bars", "in line", "", "no event",
              "loop", "stand-in", "", "ceiling");
  std::printf("%-16s %-6s %8s %8s %9s %6s %6s %6s %6s | %9s %6s | %9s %6s | %9s %6s | %10s\n",
              "table", "kind", "rows", "seconds", "rows/s", "ratio", "ratio", "loop", "label",
              "rows/s", "ratio", "rows/s", "ratio", "rows/s", "ratio", "rows/s");
  for (size_t i = 0; i < run.plain.steps.size(); ++i) {
    const Step& step = run.plain.steps[i];
    std::optional<Totals> standIn;
    if (run.standIn && i < run.standIn->steps.size())
      standIn = Sum({run.standIn->steps[i]}, AllSteps());
    auto same = [i](const WindowRun& other) {
      return i < other.steps.size() ? Sum({other.steps[i]}, AllSteps()) : Totals{};
    };
    PrintLine(step.table.c_str(), KindName(step.kind), Sum({step}, AllSteps()), same(run.inLine),
              same(run.unpumped), standIn ? &*standIn : nullptr);
  }
  PrintGroup(run, "key-mapped", "", OfKind(TableKind::KeyMapped));
  PrintGroup(run, "plain", "", OfKind(TableKind::Plain));
  PrintGroup(run, "whole run", "", AllSteps());

  const WindowRun& w = run.plain;
  std::printf(
      "run from the start button to the end: %.2f s; before the copy %.2f s (state save %.2f s), "
      "the copy %.2f s, after it %.2f s (the second script's pauses, the generators, the state "
      "restore %.2f s)\n",
      w.wallSeconds, w.beforeCopySeconds, w.saveSeconds, w.copySeconds, w.afterCopySeconds,
      w.restoreSeconds);
  const Totals all = Sum(w.steps, AllSteps());
  const Totals unpumped = Sum(run.unpumped.steps, AllSteps());
  std::printf(
      "the window's own work in the tables' copy (%.2f s): %ld passes through its event loop "
      "taking %.2f s (%.1f%%), the bars and the label %.2f s (%.1f%%); the same run without "
      "the event loop copies the tables in %.2f s, x%.2f of this run's time (its bars and label "
      "%.2f s)\n",
      all.seconds, all.pumps, all.pumpSeconds, Percent(all.pumpSeconds, all.seconds),
      all.drawSeconds, Percent(all.drawSeconds, all.seconds), unpumped.seconds,
      all.seconds > 0 ? unpumped.seconds / all.seconds : 0.0, unpumped.drawSeconds);
  const Totals inLine = Sum(run.inLine.steps, AllSteps());
  std::printf(
      "read ahead: the tables' copy takes %.2f s, read in line %.2f s: x%.2f faster; by "
      "processor time (both threads) %.2f s against %.2f s\n",
      all.seconds, inLine.seconds, all.seconds > 0 ? inLine.seconds / all.seconds : 0.0, all.cpu,
      inLine.cpu);
  std::printf(
      "reading ahead, %lld rows in %lld hand-overs: the writing thread waited %.2f s for rows, "
      "the reader %.2f s for room (the slower side waits less)\n",
      w.waits.rows, w.waits.handOvers, w.waits.writerSeconds, w.waits.readerSeconds);
  std::string below;
  int tablesWithCeiling = 0;
  for (const Step& step : w.steps) {
    const Totals one = Sum({step}, AllSteps());
    if (one.ceiling.seconds <= 0) continue;
    ++tablesWithCeiling;
    if (Ratio(one) < kTableGoal) {
      char item[64];
      std::snprintf(item, sizeof item, "%s%s %.2f", below.empty() ? "" : ", ", step.table.c_str(),
                    Ratio(one));
      below += item;
    }
  }
  std::printf(
      "goals at this site: whole run %.2f of the ceiling (at least %.2f): %s; every table at "
      "least %.2f: %s (%d tables with a ceiling%s%s)\n",
      Ratio(all), kWholeRunGoal, Verdict(Ratio(all) >= kWholeRunGoal), kTableGoal,
      Verdict(below.empty()), tablesWithCeiling,
      below.empty() ? "" : "; below it: ", below.c_str());
  const long peak = std::max(w.peakKb, run.located.peakKb);
  if (run.inLine.peakKb > 0) {
    const double memory = static_cast<double>(w.peakKb) / static_cast<double>(run.inLine.peakKb);
    std::printf(
        "peak memory read ahead %.1f MiB, read in line %.1f MiB: x%.2f (at most x%.2f): %s\n",
        MiB(w.peakKb), MiB(run.inLine.peakKb), memory, kReadAheadMemoryGoal,
        Verdict(memory <= kReadAheadMemoryGoal));
  }
  std::printf(
      "peak memory of a run: %.1f MiB (resident at its start: %.1f MiB)%s; the engine's page "
      "caches of both databases may take up to %.1f MiB of it; the heap holds %.1f MiB of saved "
      "states (owners included) and grew by %.1f MiB during the copy (the key map)\n",
      MiB(peak), MiB(w.rssBeforeKb),
      w.peakOfRunOnly ? "" : " [peak of the whole process: could not be reset]", MiB(run.cacheKb),
      MiB(run.located.heap.StatesKb()), MiB(run.located.heap.CopyKb()));
}

void PrintStates(const SiteRun& run) {
  const WindowRun& w = run.located;
  std::printf("\nstate passes, site %s, the keep-locations box ticked, through the window\n",
              run.shape.Name().c_str());
  std::printf("%-16s %8s %8s\n", "table", "saved", "restored");
  long saved = 0, restored = 0;
  for (const StateRecords& r : run.records) {
    saved += r.saved;
    restored += r.restored;
    std::printf("%-16s %8ld %8ld\n", r.table.c_str(), r.saved, r.restored);
  }
  const double saveUs = MicrosPerRow(w.saveSeconds, saved);
  const double restoreUs = MicrosPerRow(w.restoreSeconds, restored);
  // The copy of the same records: the preserved tables' own copy in this run.
  const Totals copy = Sum(w.steps, [&run](const Step& s) {
    for (const StateRecords& r : run.records)
      if (s.table == r.table) return s.kind != TableKind::Update;
    return false;
  });
  const double copyUs = MicrosPerRow(copy.seconds, copy.rows);
  const double ratio = copyUs > 0 ? (saveUs + restoreUs) / copyUs : 0.0;
  std::printf("save: %ld records in %.2f s, %.1f us per record (by processor time %.1f us)\n",
              saved, w.saveSeconds, saveUs, MicrosPerRow(w.saveCpuSeconds, saved));
  // The restore commits every so many records, as the save does; on a destination
  // with forced writes each commit waits for the disk.
  const long commits = (restored + TTableSts::kRenewalInterval - 1) / TTableSts::kRenewalInterval;
  std::printf(
      "restore: %ld records in %.2f s, %.1f us per record (by processor time %.1f us); "
      "about %ld renewal commits, %.2f ms each if they took all the time not spent on the processor\n",
      restored, w.restoreSeconds, restoreUs, MicrosPerRow(w.restoreCpuSeconds, restored), commits,
      commits > 0 ? 1000.0 * std::max(0.0, w.restoreSeconds - w.restoreCpuSeconds) /
                        static_cast<double>(commits)
                  : 0.0);
  std::printf(
      "copy of those tables' rows: %ld rows in %.2f s, %.1f us per row; saving and restoring a "
      "record costs %.1f times its copy (at most %.1f): %s\n",
      copy.rows, copy.seconds, copyUs, ratio, kStatePassGoal, Verdict(ratio <= kStatePassGoal));
  std::printf("the whole run takes %.2f s with the box ticked, %.2f s without it (x%.2f)\n",
              w.wallSeconds, run.plain.wallSeconds,
              run.plain.wallSeconds > 0 ? w.wallSeconds / run.plain.wallSeconds : 0.0);
  if (run.standIn)
    std::printf("stand-in window: save %.2f s (%.1f us per record), restore %.2f s (%.1f us)\n",
                run.standIn->saveSeconds, MicrosPerRow(run.standIn->saveSeconds, saved),
                run.standIn->restoreSeconds, MicrosPerRow(run.standIn->restoreSeconds, restored));
}

void PrintGrowth(const SiteRun& small, const SiteRun& large) {
  std::printf(
      "\ntime per row through the window, site %d against site %d, by the clock and by "
      "processor time\n",
      small.shape.controllers, large.shape.controllers);
  std::printf("%-16s %-6s %8s %8s %8s %8s %7s %8s %8s %7s\n", "table", "kind", "rows", "us/row",
              "rows", "us/row", "growth", "cpu us", "cpu us", "growth");
  auto line = [](const char* name, const char* kind, const Totals& a, const Totals& b) {
    const double before = MicrosPerRow(a.seconds, a.rows), after = MicrosPerRow(b.seconds, b.rows);
    const double cpuBefore = MicrosPerRow(a.cpu, a.rows), cpuAfter = MicrosPerRow(b.cpu, b.rows);
    std::printf("%-16s %-6s %8ld %8.1f %8ld %8.1f %7.2f %8.1f %8.1f %7.2f\n", name, kind, a.rows,
                before, b.rows, after, before > 0 ? after / before : 0.0, cpuBefore, cpuAfter,
                cpuBefore > 0 ? cpuAfter / cpuBefore : 0.0);
  };
  for (size_t i = 0; i < small.plain.steps.size() && i < large.plain.steps.size(); ++i) {
    const Step& a = small.plain.steps[i];
    const Step& b = large.plain.steps[i];
    line(a.table.c_str(), KindName(a.kind), Sum({a}, AllSteps()), Sum({b}, AllSteps()));
  }
  const Totals keySmall = Sum(small.plain.steps, OfKind(TableKind::KeyMapped));
  const Totals keyLarge = Sum(large.plain.steps, OfKind(TableKind::KeyMapped));
  const Totals allSmall = Sum(small.plain.steps, AllSteps());
  const Totals allLarge = Sum(large.plain.steps, AllSteps());
  line("key-mapped", "", keySmall, keyLarge);
  line("plain", "", Sum(small.plain.steps, OfKind(TableKind::Plain)),
       Sum(large.plain.steps, OfKind(TableKind::Plain)));
  line("whole run", "", allSmall, allLarge);

  const double growth =
      MicrosPerRow(allLarge.seconds, allLarge.rows) / MicrosPerRow(allSmall.seconds, allSmall.rows);
  const double cpuGrowth =
      MicrosPerRow(allLarge.cpu, allLarge.rows) / MicrosPerRow(allSmall.cpu, allSmall.rows);
  const long smallPeak = std::max(small.plain.peakKb, small.located.peakKb);
  const long largePeak = std::max(large.plain.peakKb, large.located.peakKb);
  const double memory = static_cast<double>(largePeak) / static_cast<double>(smallPeak);
  std::printf("\ngoals\n");
  std::printf(
      "  whole run's time per row x%.2f from site %d to %d (x%.2f by processor time; at most "
      "x%.2f): %s\n",
      growth, small.shape.controllers, large.shape.controllers, cpuGrowth, kGrowthGoal,
      Verdict(growth <= kGrowthGoal));
  // Past the factor, the peak may still grow by what the engine's fixed-size
  // page caches take as the databases outgrow them, and by the key map.
  const long growthKb = largePeak - smallPeak;
  const long explainedKb =
      large.cacheKb + std::max(0L, large.located.heap.afterCopyKb - small.located.heap.afterCopyKb);
  const char* memoryVerdict = memory <= kMemoryTarget ? "met"
                              : growthKb <= explainedKb
                                  ? "met but for the engine's page caches filling up, the saved "
                                    "states and the key map"
                                  : "MISSED";
  std::printf(
      "  peak memory %.1f MiB at site %d, %.1f MiB at site %d: x%.2f for x%.1f rows (at most "
      "x%.2f): %s\n",
      MiB(smallPeak), small.shape.controllers, MiB(largePeak), large.shape.controllers, memory,
      static_cast<double>(allLarge.rows) / static_cast<double>(std::max(allSmall.rows, 1L)),
      kMemoryTarget, memoryVerdict);
  const long moreKeyRows = keyLarge.rows - keySmall.rows;
  std::printf(
      "  heap held by the copy %.1f MiB at site %d, %.1f MiB at site %d: %.0f bytes per further "
      "key-mapped row (the key map keeps every pair of keys)\n",
      MiB(small.located.heap.CopyKb()), small.shape.controllers, MiB(large.located.heap.CopyKb()),
      large.shape.controllers,
      PerItem(large.located.heap.CopyKb() - small.located.heap.CopyKb(), moreKeyRows));
}
