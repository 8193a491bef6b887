#pragma once
// What the benchmark measured, and how it prints it.
#include <optional>
#include <string>
#include <vector>

#include "bench/Site.h"
#include "bench/Steps.h"
#include "transfer/SourceReader.h"

// The program's heap in use (malloc's own count, the engine's pools included)
// around the copy: what the saved states hold, and what the copy adds to it.
struct HeapReadings {
  long beforeSaveKb = 0;
  long afterSaveKb = 0;  // the state store is built; the copy starts
  long afterCopyKb = 0;  // the key map is complete
  long StatesKb() const { return afterSaveKb - beforeSaveKb; }
  long CopyKb() const { return afterCopyKb - afterSaveKb; }
};

// One whole run through the window, from the press of the start button to
// "Перенос данных завершен.".
struct WindowRun {
  std::vector<Step> steps;  // the tables copied, in the run's order
  double wallSeconds = 0;
  double beforeCopySeconds = 0;  // attaching, the state save, the first script, the clearing pass
  double copySeconds = 0;        // the copying pass and the events section
  double afterCopySeconds = 0;   // the second script, the generators, the state restore
  double saveSeconds = 0;
  double restoreSeconds = 0;
  double saveCpuSeconds = 0;  // by this process's processor time
  double restoreCpuSeconds = 0;
  HeapReadings heap;
  long rssBeforeKb = 0;  // resident when the run started
  long peakKb = 0;       // the peak of the run
  bool peakOfRunOnly = true;
  SourceReader::Waits waits;  // the tables' readers: who waited for whom
};

// The copy without the window, as the earlier benchmark measured it.
struct StandInRun {
  std::vector<Step> steps;  // the same tables in the same order
  double saveSeconds = 0;
  double restoreSeconds = 0;
};

// One preserved table's records: listed in the source by the save, and
// written into the destination by the restore (its state rows there over its
// states per row).
struct StateRecords {
  std::string table;
  long saved = 0;
  long restored = 0;
};

struct SiteRun {
  SiteShape shape;
  int repeats = 1;  // runs of each kind; each figure shows its best
  std::string platform;
  WindowRun plain;     // the events box ticked, the keep-locations box not
  WindowRun located;   // both boxes ticked
  WindowRun unpumped;  // as `plain`, the window's event loop left out
  WindowRun inLine;    // as `plain`, every table's source read in line, as before read-ahead
  std::optional<StandInRun> standIn;
  std::vector<StateRecords> records;  // of the run with the keep-locations box
  long cacheKb = 0;  // the most the engine's page caches of both databases may hold
};

// Every table and the kinds of table against the ceiling, the phases of the
// run, the event loop's share and the memory of one site.
void PrintSite(const SiteRun& run);
// The state passes of the run with the keep-locations box, per record against
// the copy of a record.
void PrintStates(const SiteRun& run);
// The smallest and the largest site side by side: time per row, its growth, the
// peak memory, and each goal met or missed.
void PrintGrowth(const SiteRun& small, const SiteRun& large);
