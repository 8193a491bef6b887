#pragma once
// What the copy benchmark measured, and how it prints it.
#include <optional>
#include <string>
#include <vector>

#include "bench/Ceiling.h"

enum class TableKind { KeyMapped, Plain, Update };

struct Step {
  std::string table;
  std::string keyColumn, condition;  // as the table list gives them
  TableKind kind = TableKind::Plain;
  long rows = 0;
  double seconds = 0;
  double cpuSeconds = 0;  // this process's, engine included: steadier on a shared machine
  std::optional<CeilingResult> ceiling;
};

// One preserved table of the state save: its records, and the time the save
// takes to build its store from the listed keys alone (the rest of the save is
// one state statement per record).
struct StateTable {
  std::string table;
  long records = 0;
  double listSeconds = 0;
};

// The state passes of a run with the keep-locations box ticked (owners too).
struct StatePasses {
  std::vector<StateTable> tables;
  double saveSeconds = 0;     // SaveDynamicStates before the copy
  double restoreSeconds = 0;  // RestoreDynamicStates after it
  long restored = 0;          // records the copy gave a new key
};

// The program's heap in use (malloc's own count, the engine's pools included)
// around the copy: what the saved states hold, and what the copy adds to it.
struct HeapReadings {
  long beforeSaveKb = 0;
  long afterSaveKb = 0;  // the state store is built; the copy starts
  long afterCopyKb = 0;  // the key map is complete
  long StatesKb() const { return afterSaveKb - beforeSaveKb; }
  long CopyKb() const { return afterCopyKb - afterSaveKb; }
};

struct SiteRun {
  int size = 0;     // controllers
  int repeats = 1;  // copies made; each table shows its best
  std::vector<Step> steps;
  long rssBeforeKb = 0;  // resident when a copy started
  long peakKb = 0;       // the highest peak of a copy
  HeapReadings heap;     // of the first copy
  long cacheKb = 0;      // the most the engine's page caches of both databases may hold
  bool peakOfCopyOnly = true;
  StatePasses states;  // each time the best of the copies
};

// One site: every table, the whole run and the kinds of table, against the ceiling.
void PrintSite(const SiteRun& run);
// The state passes of one site: records per table, save and restore times.
void PrintStates(const SiteRun& run);
// The smallest and the largest site side by side: time per row, its growth, the
// peak memory, and each target met or missed.
void PrintGrowth(const SiteRun& small, const SiteRun& large);
