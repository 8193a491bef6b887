#pragma once
// One transfer run, started by the start command: attaches the three
// connections, saves the dynamic state, runs the first script, the table list,
// the second script and the generators, restores the state, and always ends by
// detaching and returning the window to idle.
#include <string>

#include "db/IB.h"
#include "transfer/TransferWindow.h"

class DynamicStates;

class TransferRun {
 public:
  TransferRun(TDM1& dm, DynamicStates& states, TransferWindow& window)
      : dm_(dm), states_(states), window_(window) {}

  // `programFolder` ends with "/"; `tableListLines` is the line count of the
  // table list counted at start-up.
  void MoveBitBtnClick(const std::string& programFolder, int tableListLines);

  // Quote removal: every double quote, then every single quote, cut out.
  static std::string RemoveQuotes(std::string path);

 private:
  TDM1& dm_;
  DynamicStates& states_;
  TransferWindow& window_;
};
