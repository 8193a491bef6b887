// Copy speed of a whole site: builds demo sites of the given sizes with the
// schema tooling, copies every table in the sample table list's order (events
// last, as the driver's events section does) and prints rows per second per
// table and for the whole run. Sizes are controllers, each bringing 8 readers,
// 80 owners and 800 events; 250 makes a site of 20,000 owners and 200,000 events.
//
//   bench_transfer [SIZE...]      (default: 25 250)
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "db/IB.h"
#include "state/DynamicStates.h"
#include "tests/support/FakeWindow.h"
#include "text/TextFile.h"
#include "transfer/Operations.h"
#include "transfer/TableList.h"
#include "transfer/TransferContext.h"

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

struct Step {
  std::string table;
  long rows = 0;
  double seconds = 0;
  double cpuSeconds = 0;  // this process's, engine included: steadier on a shared machine
};

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void Run(const std::string& command) {
  if (std::system(command.c_str()) != 0) {
    std::cerr << "bench_transfer: failed: " << command << "\n";
    std::exit(1);
  }
}

std::string Quoted(const fs::path& path) {
  return "'" + path.string() + "'";
}

// Source with the demo site; destination empty with forced writes on, its
// last-pass trigger off as the first script leaves it.
void MakeSite(const fs::path& folder, int size, fs::path& source, fs::path& dest) {
  const fs::path makeDb = fs::path(DRAVIK_SOURCE_DIR) / "schema" / "make-db";
  source = folder / "source.fdb";
  dest = folder / "dest.fdb";
  Run(Quoted(makeDb) + " --replace --async --fill " + std::to_string(size) + " " + Quoted(source));
  Run(Quoted(makeDb) + " --replace " + Quoted(dest));
  const fs::path script = folder / "off.sql";
  text::RewriteFile(script.string());
  text::AppendLines(script.string(), {"ALTER TRIGGER EVENTS_AI_LASTPASS INACTIVE;", "COMMIT;"});
  Run("isql-fb -q -user SYSDBA -i " + Quoted(script) + " " + Quoted(dest) + " >/dev/null");
}

std::vector<Step> CopySite(const fs::path& folder, const fs::path& source, const fs::path& dest) {
  TDM1 dm;
  FakeWindow window;
  window.events = true;
  DynamicStates states(dm, [] { return false; });
  TransferContext context(dm, window, states, folder.string() + "/", 1);
  context.log.Create();
  dm.IBDatabase3.SetDatabaseName(source.string());
  dm.IBDatabase1.SetDatabaseName(dest.string());
  dm.IBDatabase3.Open();
  dm.IBDatabase1.Open();
  context.destHasOwnerPhotos = UstNalOwnerPhoto(dm.IBSQL3, dm.IBTransaction1, dm.IBDatabase1);
  context.sourceHasOwnerPhotos = UstNalOwnerPhoto(dm.IBSQL4, dm.IBTransaction, dm.IBDatabase3);

  std::vector<Step> steps;
  auto timed = [&](const std::string& table, auto&& copy) {
    window.tableBar.max = 0;
    const auto start = Clock::now();
    const double cpuStart = CpuSeconds();
    try {
      copy();
    } catch (const std::exception& e) {
      std::cerr << table << ": " << e.what() << "\n";
    }
    Step step{table, window.tableBar.max,
              std::chrono::duration<double>(Clock::now() - start).count(), CpuSeconds() - cpuStart};
    if (table == "MACROSES") step.rows = static_cast<long>(context.keyMap.Pair(9).NewKeys().size());
    steps.push_back(step);
  };

  const fs::path list = fs::path(DRAVIK_SOURCE_DIR) / "schema" / "control" / "Conv.txt";
  text::TextFileReader reader(list.string());
  while (!reader.Eof()) {
    const TableListLine line = ParseTableListLine(reader.ReadLine(), TableListPass::Copying);
    if (line.comment || line.table.empty() || IsEventTable(line.table)) continue;
    if (line.table == "MACROSES") {
      timed(line.table, [&] {
        PerepisMacros(context, dm.IBSQL4, dm.IBSQL3, dm.IBTransaction, dm.IBTransaction1,
                      dm.IBDatabase3, dm.IBDatabase1);
      });
    } else if (!line.clearOnly && !line.update) {
      timed(line.table, [&] {
        Perepis(context, dm.IBSQL4, dm.IBSQL3, dm.IBTransaction, dm.IBTransaction1, dm.IBDatabase3,
                dm.IBDatabase1, line.table, line.keyColumn, line.argument);
      });
    }
  }
  for (const auto& [table, key] :
       std::vector<std::pair<std::string, std::string>>{{"EVENTS", "EV_ID"},
                                                        {"ALARM", "AL_ID"},
                                                        {"ACR$EVENTS", "AEV_ID"},
                                                        {"STR_EVENTS", "EV_ID"},
                                                        {"STR_ALARMS", "AL_ID"},
                                                        {"ACR$ALARMS", "AAL_ID"}}) {
    timed(table, [&] {
      Perepis(context, dm.IBSQL4, dm.IBSQL3, dm.IBTransaction, dm.IBTransaction1, dm.IBDatabase3,
              dm.IBDatabase1, table, key, "");
    });
  }
  dm.IBDatabase3.Close();
  dm.IBDatabase1.Close();
  return steps;
}

void Report(int size, const std::vector<Step>& steps) {
  std::printf("\nsite size %d (controllers)\n%-16s %9s %9s %12s %9s %12s\n", size, "table", "rows",
              "seconds", "rows/s", "cpu s", "rows/cpu s");
  auto line = [](const char* name, long rows, double seconds, double cpu) {
    std::printf("%-16s %9ld %9.3f %12.0f %9.3f %12.0f\n", name, rows, seconds,
                seconds > 0 ? rows / seconds : 0.0, cpu, cpu > 0 ? rows / cpu : 0.0);
  };
  long rows = 0;
  double seconds = 0;
  double cpu = 0;
  for (const Step& step : steps) {
    rows += step.rows;
    seconds += step.seconds;
    cpu += step.cpuSeconds;
    line(step.table.c_str(), step.rows, step.seconds, step.cpuSeconds);
  }
  line("whole run", rows, seconds, cpu);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<int> sizes;
  for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
  if (sizes.empty()) sizes = {25, 250};
  for (int size : sizes) {
    if (size <= 0) {
      std::cerr << "bench_transfer: sizes are positive numbers of controllers\n";
      return 2;
    }
  }
  const fs::path folder = fs::temp_directory_path() / ("dravik-bench-" + std::to_string(getpid()));
  fs::create_directories(folder);
  for (int size : sizes) {
    fs::path source, dest;
    MakeSite(folder, size, source, dest);
    Report(size, CopySite(folder, source, dest));
  }
  fs::remove_all(folder);
  return 0;
}
