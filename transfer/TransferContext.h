#pragma once
// What the operations of one transfer run share: the data module with its
// connections, the window, the program folder and run log, the key map, and the
// photo flags the driver sets for the table copy.
#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "db/IB.h"
#include "transfer/KeyMap.h"
#include "transfer/RunLog.h"
#include "transfer/RunRecord.h"
#include "transfer/TransferWindow.h"

class DynamicStates;

struct TransferContext {
  TransferContext(TDM1& dm, TransferWindow& window, DynamicStates& states,
                  std::string programFolder, int stepCount)
      : dm(dm),
        window(window),
        states(states),
        programFolder(programFolder),
        log(programFolder),
        stepCount(stepCount) {}

  TDM1& dm;
  TransferWindow& window;
  DynamicStates& states;
  std::string programFolder;  // ends with "/"
  RunLog log;
  int stepCount;                  // maximum of the overall bar in each pass
  KeyMap keyMap;                  // made new for every run
  std::vector<LineRecord> lines;  // what the driver recorded line by line
  bool destHasOwnerPhotos = false;
  bool sourceHasOwnerPhotos = false;
  // The wait between second-script statements; tests replace it to count the
  // waits instead of spending them.
  std::function<void(std::chrono::milliseconds)> pause = [](std::chrono::milliseconds ms) {
    std::this_thread::sleep_for(ms);
  };
};
