#pragma once
// What the operations of one transfer run share: the data module with its
// connections, the window, the program folder and run log, the key map, and the
// photo flags the driver sets for the table copy.
#include <string>

#include "db/IB.h"
#include "transfer/KeyMap.h"
#include "transfer/RunLog.h"
#include "transfer/TransferWindow.h"

class DynamicStates;

struct TransferContext {
  TransferContext(TDM1& dm, TransferWindow& window, DynamicStates& states, std::string programFolder,
                  int stepCount)
      : dm(dm), window(window), states(states), programFolder(programFolder), log(programFolder),
        stepCount(stepCount) {}

  TDM1& dm;
  TransferWindow& window;
  DynamicStates& states;
  std::string programFolder;  // ends with "/"
  RunLog log;
  int stepCount;  // maximum of the overall bar in each pass
  KeyMap keyMap;  // made new for every run
  bool destHasOwnerPhotos = false;
  bool sourceHasOwnerPhotos = false;
};
