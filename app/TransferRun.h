#pragma once
// One transfer run, started by the start command: attaches the three
// connections, saves the dynamic state, runs the first script, the table list,
// the second script and the generators, restores the state, and always ends by
// detaching and returning the window to idle.
#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "db/IB.h"
#include "transfer/DatabaseSide.h"
#include "transfer/RunRecord.h"
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

  // The general error report's text: a full stop is appended when the last
  // character sorts after it (letters and digits do).
  static std::string ErrorReportText(std::string message);

  // Runs one step of the run's end; an error it raises is kept in `error` when
  // none is kept yet, and never escapes.
  static void RunEndStep(const std::function<void()>& step, std::optional<std::string>& error);

  // Called once all three connections are open, before the first step: what a
  // front end does only when a run really begins. It returns false to end the
  // run there; an error it raises ends the run as a step's error does; an
  // interrupt given meanwhile ends it as interrupted. Each way, nothing is written.
  void SetOnBegin(std::function<bool()> onBegin) { onBegin_ = std::move(onBegin); }

  // What the last run came to, for a front end that reports without boxes.
  struct Outcome {
    bool attached = false;   // all three connections were opened
    bool begun = false;      // and the steps began
    bool completed = false;  // and reached their end: no interrupt, no error
    // The database that could not be opened, when one could not: the error
    // report gives the database's message alone, as it always has.
    DatabaseSide attachFailed = DatabaseSide::None;
    int failedStatements = 0;
    std::map<std::string, int> failedRows;  // rows kept out of the destination, by table
    RunRecord record;                       // the key map and more, for the check
  };
  const Outcome& LastOutcome() const { return outcome_; }

  // Tests: replaces the one-second wait after every second-script statement.
  using PauseFunction = std::function<void(std::chrono::milliseconds)>;
  void SetScriptPause(PauseFunction pause) { pause_ = std::move(pause); }

 private:
  TDM1& dm_;
  DynamicStates& states_;
  TransferWindow& window_;
  PauseFunction pause_;
  std::function<bool()> onBegin_;
  Outcome outcome_;
};
