// Copy speed of a whole site: builds demo sites of the given sizes with the
// schema tooling, copies every table in the sample table list's order (events
// last, as the driver's events section does) and prints rows per second per
// table and for the whole run. Sizes are controllers, each bringing 8 readers,
// 80 owners and 800 events; 250 makes a site of 20,000 owners and 200,000 events.
//
// In the same run it measures the engine's ceiling for each table (the same rows
// by INSERT ... SELECT inside one database) and prints the program's rate as a
// share of it, the time per row at the smallest and the largest size, and the
// peak memory of each copy, against the targets: plain tables at least half the
// engine's rate, key-mapped tables' time per row not growing with the site, and
// memory not growing with the rows.
//
// Each copy runs with the keep-locations box ticked, between the state save
// before it and the state restore after it, and prints their times and the
// records they carried per table.
//
//   bench_transfer [--repeat N] [SIZE...]   (default: 3 copies of each of 25 and 250;
//                                            each table keeps its best time)
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "bench/Ceiling.h"
#include "bench/Memory.h"
#include "bench/Report.h"
#include "db/IB.h"
#include "state/DynamicStates.h"
#include "state/TableSts.h"
#include "tests/support/FakeWindow.h"
#include "text/TextFile.h"
#include "transfer/Operations.h"
#include "transfer/TableList.h"
#include "transfer/TransferContext.h"

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

void Run(const std::string& command) {
  if (std::system(command.c_str()) != 0) {
    std::cerr << "bench_transfer: failed: " << command << "\n";
    std::exit(1);
  }
}

std::string Quoted(const fs::path& path) {
  std::string quoted = "'";
  quoted += path.string();
  quoted += '\'';
  return quoted;
}

void RunScript(const fs::path& folder, const fs::path& db, const std::vector<std::string>& lines) {
  const fs::path script = folder / "script.sql";
  text::RewriteFile(script.string());
  text::AppendLines(script.string(), lines);
  Run("isql-fb -q -user SYSDBA -i " + Quoted(script) + " " + Quoted(db) + " >/dev/null");
}

struct Site {
  fs::path source, emptyDest, ceilingStart;
};

// Source with the demo site; destination empty with forced writes on, its
// last-pass trigger off as the first script leaves it. The ceiling's database
// is the source with the destination's forced writes and trigger states. Every
// copy starts from fresh copies of the last two.
Site MakeSite(const fs::path& folder, int size) {
  const fs::path makeDb = fs::path(DRAVIK_SOURCE_DIR) / "schema" / "make-db";
  Site site{folder / "source.fdb", folder / "dest-empty.fdb", folder / "ceiling-start.fdb"};
  Run(Quoted(makeDb) + " --replace --async --fill " + std::to_string(size) + " " +
      Quoted(site.source));
  Run(Quoted(makeDb) + " --replace " + Quoted(site.emptyDest));
  const std::string lastPassOff = "ALTER TRIGGER EVENTS_AI_LASTPASS INACTIVE;";
  RunScript(folder, site.emptyDest, {lastPassOff, "COMMIT;"});
  fs::copy_file(site.source, site.ceilingStart, fs::copy_options::overwrite_existing);
  Run("gfix -user SYSDBA -write sync " + Quoted(site.ceilingStart));
  RunScript(folder, site.ceilingStart,
            {lastPassOff, "ALTER TRIGGER OWNER_BI_REGDATE ACTIVE;", "COMMIT;"});
  return site;
}

// Writes still pending from making the site or from the last copy would
// otherwise be flushed by the kernel in the middle of the next measurement, in
// front of the destination's forced writes.
void FlushPendingWrites(const fs::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::syncfs(fd);
  ::close(fd);
}

fs::path FreshCopy(const fs::path& from, const fs::path& to) {
  fs::copy_file(from, to, fs::copy_options::overwrite_existing);
  FlushPendingWrites(to.parent_path());
  return to;
}

TableKind KindOf(const std::string& table) {
  if (IsUpdateTable(table)) return TableKind::Update;
  return KeyMapPairNumber(table) != 0 ? TableKind::KeyMapped : TableKind::Plain;
}

// The most the engine's page cache of one attached database may hold, in KiB.
long PageCacheKb(TIBSQL& statement) {
  StatementBracket bracket(statement);
  statement.SetSQL({"select mon$page_buffers, mon$page_size from mon$database"});
  statement.Execute();
  const long kb =
      static_cast<long>(statement.Column(0).GetInteger()) * statement.Column(1).GetInteger() / 1024;
  statement.Close();
  return kb;
}

// The save's own share of a table's listing: building a store from the listed
// keys, in the order the source returns them, without the state statements.
double StoreBuildSeconds(TIBSQL& source, const TTableSts& table) {
  std::vector<int32_t> keys;
  {
    StatementBracket bracket(source);
    source.SetSQL(table.ListingText());
    source.Execute();
    for (; !source.AtEnd(); source.FetchNext()) keys.push_back(source.Column(0).GetInteger());
    source.Close();
  }
  TTableSts store(table.TableName, table.KeyField, table.ArchiveField, table.StateCount);
  const auto start = Clock::now();
  store.List()->AddRecs(keys);
  return std::chrono::duration<double>(Clock::now() - start).count();
}

std::vector<Step> CopySite(const fs::path& folder, const fs::path& source, const fs::path& dest,
                           HeapReadings& heap, long& cacheKb, StatePasses& passes) {
  TDM1 dm;
  FakeWindow window;
  window.events = true;
  // The keep-locations box ticked: owners' states are the bulk of both passes.
  DynamicStates states(dm, [] { return true; });
  TransferContext context(dm, window, states, folder.string() + "/", 1);
  context.log.Create();
  dm.IBDatabase3.SetDatabaseName(source.string());
  dm.IBDatabase1.SetDatabaseName(dest.string());
  dm.IBDatabase3.Open();
  dm.IBDatabase1.Open();
  context.destHasOwnerPhotos = UstNalOwnerPhoto(dm.IBSQL3, dm.IBTransaction1, dm.IBDatabase1);
  context.sourceHasOwnerPhotos = UstNalOwnerPhoto(dm.IBSQL4, dm.IBTransaction, dm.IBDatabase3);
  cacheKb = PageCacheKb(dm.IBSQL3) + PageCacheKb(dm.IBSQL4);

  heap.beforeSaveKb = HeapInUseKb();
  auto start = Clock::now();
  states.SaveDynamicStates();
  passes.saveSeconds = std::chrono::duration<double>(Clock::now() - start).count();
  for (int slot = 1; slot <= 5; ++slot) {
    const TTableSts* table = states.Slot(slot);
    if (!table || !table->List()) continue;
    passes.tables.push_back(
        {table->TableName, table->List()->Count(), StoreBuildSeconds(dm.IBSQL4, *table)});
  }
  heap.afterSaveKb = HeapInUseKb();

  std::vector<Step> steps;
  auto timed = [&](const std::string& table, const std::string& key, const std::string& condition,
                   auto&& copy) {
    window.tableBar.max = 0;
    const auto start = Clock::now();
    const double cpuStart = CpuSeconds();
    try {
      copy();
    } catch (const std::exception& e) {
      std::cerr << table << ": " << e.what() << "\n";
    }
    Step step;
    step.table = table;
    step.keyColumn = key;
    step.condition = condition;
    step.kind = KindOf(table);
    step.rows = window.tableBar.max;
    step.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    step.cpuSeconds = CpuSeconds() - cpuStart;
    if (table == "MACROSES") step.rows = static_cast<long>(context.keyMap.Pair(9).NewCount());
    steps.push_back(step);
  };

  const fs::path list = fs::path(DRAVIK_SOURCE_DIR) / "schema" / "control" / "Conv.txt";
  text::TextFileReader reader(list.string());
  while (!reader.Eof()) {
    const TableListLine line = ParseTableListLine(reader.ReadLine(), TableListPass::Copying);
    if (line.comment || line.table.empty() || IsEventTable(line.table)) continue;
    if (line.table == "MACROSES") {
      timed(line.table, line.keyColumn, "", [&] {
        PerepisMacros(context, dm.IBSQL4, dm.IBSQL3, dm.IBTransaction, dm.IBTransaction1,
                      dm.IBDatabase3, dm.IBDatabase1);
      });
    } else if (!line.clearOnly && !line.update) {
      timed(line.table, line.keyColumn, line.argument, [&] {
        Perepis(context, dm.IBSQL4, dm.IBSQL3, dm.IBTransaction, dm.IBTransaction1, dm.IBDatabase3,
                dm.IBDatabase1, line.table, line.keyColumn, line.argument);
      });
    }
  }
  for (const EventTable& events : EventSectionTables()) {
    const std::string table = events.table, key = events.keyColumn;
    timed(table, key, "", [&] {
      Perepis(context, dm.IBSQL4, dm.IBSQL3, dm.IBTransaction, dm.IBTransaction1, dm.IBDatabase3,
              dm.IBDatabase1, table, key, "");
    });
  }
  heap.afterCopyKb = HeapInUseKb();

  start = Clock::now();
  states.RestoreDynamicStates();
  passes.restoreSeconds = std::chrono::duration<double>(Clock::now() - start).count();
  for (int slot = 1; slot <= 5; ++slot) {
    const TTableSts* table = states.Slot(slot);
    if (!table || !table->List()) continue;
    for (int i = 0; i < table->List()->Count(); ++i) {
      const TStsItem* item = table->List()->Item(i);
      if (item && item->NewID > 0) ++passes.restored;
    }
  }
  dm.IBDatabase3.Close();
  dm.IBDatabase1.Close();
  return steps;
}

// The engine's ceiling for every table the copy wrote, in the copy's order.
void MeasureCeilings(const fs::path& db, std::vector<Step>& steps) {
  Ceiling ceiling(db);
  for (Step& step : steps) {
    try {
      step.ceiling = ceiling.Measure(step.table, step.keyColumn, step.condition);
    } catch (const std::exception& e) {
      std::cerr << step.table << " (ceiling): " << e.what() << "\n";
    }
  }
}

// Other work on a shared machine only ever slows a copy down, so each table
// keeps its best time of the repeated copies.
void KeepBest(StatePasses& best, const StatePasses& next) {
  best.saveSeconds = std::min(best.saveSeconds, next.saveSeconds);
  best.restoreSeconds = std::min(best.restoreSeconds, next.restoreSeconds);
  for (size_t i = 0; i < best.tables.size() && i < next.tables.size(); ++i)
    best.tables[i].listSeconds = std::min(best.tables[i].listSeconds, next.tables[i].listSeconds);
}

void KeepBest(std::vector<Step>& best, const std::vector<Step>& next) {
  for (size_t i = 0; i < best.size() && i < next.size(); ++i) {
    best[i].seconds = std::min(best[i].seconds, next[i].seconds);
    best[i].cpuSeconds = std::min(best[i].cpuSeconds, next[i].cpuSeconds);
    if (best[i].ceiling && next[i].ceiling) {
      best[i].ceiling->seconds = std::min(best[i].ceiling->seconds, next[i].ceiling->seconds);
      best[i].ceiling->cpuSeconds =
          std::min(best[i].ceiling->cpuSeconds, next[i].ceiling->cpuSeconds);
    }
  }
}

SiteRun MeasureSite(const fs::path& folder, int size, int repeats) {
  const Site site = MakeSite(folder, size);
  SiteRun run;
  run.size = size;
  run.repeats = repeats;
  for (int i = 0; i < repeats; ++i) {
    const fs::path dest = FreshCopy(site.emptyDest, folder / "dest.fdb");
    // The peak of this copy alone: the previous copy's engine caches are gone.
    run.peakOfCopyOnly = ResetPeakRss() && run.peakOfCopyOnly;
    const long rssBefore = CurrentRssKb();
    HeapReadings heap;
    StatePasses passes;
    std::vector<Step> steps = CopySite(folder, site.source, dest, heap, run.cacheKb, passes);
    run.peakKb = std::max(run.peakKb, PeakRssKb());
    run.rssBeforeKb = std::max(run.rssBeforeKb, rssBefore);
    MeasureCeilings(FreshCopy(site.ceilingStart, folder / "ceiling.fdb"), steps);
    if (i == 0) {
      run.heap = heap;
      run.steps = std::move(steps);
      run.states = std::move(passes);
    } else {
      KeepBest(run.steps, steps);
      KeepBest(run.states, passes);
    }
  }
  return run;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<int> sizes;
  int repeats = 3;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--repeat" && i + 1 < argc)
      repeats = std::atoi(argv[++i]);
    else
      sizes.push_back(std::atoi(argv[i]));
  }
  if (sizes.empty()) sizes = {25, 250};
  for (int size : sizes) {
    if (size <= 0 || repeats <= 0) {
      std::cerr << "bench_transfer: [--repeat N] [SIZE...], positive numbers\n";
      return 2;
    }
  }
  const fs::path folder = fs::temp_directory_path() / ("dravik-bench-" + std::to_string(getpid()));
  fs::create_directories(folder);
  std::vector<SiteRun> runs;
  for (int size : sizes) {
    runs.push_back(MeasureSite(folder, size, repeats));
    PrintSite(runs.back());
    PrintStates(runs.back());
    std::fflush(stdout);
  }
  if (runs.size() > 1) PrintGrowth(runs.front(), runs.back());
  fs::remove_all(folder);
  return 0;
}
