#include "bench/StandIn.h"

#include <chrono>
#include <iostream>

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

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

StandInRun CopyWithStandIn(const fs::path& folder, const fs::path& source, const fs::path& dest) {
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

  StandInRun run;
  auto start = Clock::now();
  states.SaveDynamicStates();
  run.saveSeconds = SecondsSince(start);

  auto timed = [&](const TableListLine& line, auto&& copy) {
    window.tableBar.max = 0;
    const auto start = Clock::now();
    const double cpuStart = CpuSeconds();
    try {
      copy();
    } catch (const std::exception& e) {
      std::cerr << line.table << ": " << e.what() << "\n";
    }
    Step step = StepOf(line);
    step.rows = window.tableBar.max;
    step.seconds = SecondsSince(start);
    step.cpuSeconds = CpuSeconds() - cpuStart;
    if (line.table == "MACROSES") step.rows = static_cast<long>(context.keyMap.Pair(9).NewCount());
    run.steps.push_back(step);
  };
  auto perepis = [&](const TableListLine& line) {
    Perepis(context, dm.IBSQL4, dm.IBSQL3, dm.IBTransaction, dm.IBTransaction1, dm.IBDatabase3,
            dm.IBDatabase1, line.table, line.keyColumn, line.argument);
  };

  for (const TableListLine& line :
       CopiedLines(fs::path(DRAVIK_SOURCE_DIR) / "schema" / "control" / "Conv.txt")) {
    if (line.table == "MACROSES")
      timed(line, [&] {
        PerepisMacros(context, dm.IBSQL4, dm.IBSQL3, dm.IBTransaction, dm.IBTransaction1,
                      dm.IBDatabase3, dm.IBDatabase1);
      });
    else
      timed(line, [&] { perepis(line); });
  }

  start = Clock::now();
  states.RestoreDynamicStates();
  run.restoreSeconds = SecondsSince(start);
  dm.IBDatabase3.Close();
  dm.IBDatabase1.Close();
  return run;
}
