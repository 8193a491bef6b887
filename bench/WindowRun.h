#pragma once
// Whole runs through the program's real main window: the boxes filled, the
// start button pressed, the run followed on the status line until it says the
// transfer is done.
#include <filesystem>
#include <vector>

#include "bench/Report.h"
#include "db/IB.h"

struct WindowRunOptions {
  bool keepLocations = false;  // the keep-locations box ticked
  bool eventLoop = true;       // false: the window's event loop left out (bench only)
  bool readAhead = true;       // false: every table's source read in line
};

// A program folder beside which the window runs: the sample table list,
// generator list and scripts.
std::filesystem::path MakeProgramFolder(const std::filesystem::path& folder);

// One run, the events box ticked and the date box empty (every event). Every
// copied table's step comes from the status line; its rows from the table
// bar's maximum. A run that shows a box or never reports its end ends the
// benchmark.
WindowRun RunThroughWindow(TDM1& dm, const std::filesystem::path& programFolder,
                           const std::filesystem::path& source, const std::filesystem::path& dest,
                           const WindowRunOptions& options);

// The preserved tables' records: listed in the source, and written into the
// destination by a run's state restore.
std::vector<StateRecords> CountStateRecords(const std::filesystem::path& source,
                                            const std::filesystem::path& dest);

// The most the engine's page caches of the two databases may hold, in KiB.
long PageCachesKb(const std::filesystem::path& source, const std::filesystem::path& dest);
