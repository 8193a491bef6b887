#pragma once
// A window for headless transfers: records what the run shows and lets a test
// answer the interrupt button at a chosen moment.
#include <functional>
#include <string>
#include <vector>

#include "transfer/TransferWindow.h"

class FakeWindow : public TransferWindow {
 public:
  struct Bar {
    int max = 100;
    int position = 0;
    void Step() {
      if (position < max) ++position;
    }
  };

  // Inputs.
  std::string source, dest;
  bool events = false;
  text::TDateTime eventsFrom = 0;
  bool locationFlag = false;
  bool interrupted = false;

  // What the run showed.
  std::vector<std::string> statusTexts;
  Bar tableBar, allBar;
  int allBarMaxSet = 0;  // the last maximum given to the overall bar
  bool running = false;
  bool busy = false;
  int runningChanges = 0;
  int pumps = 0;
  std::vector<std::string> interruptWarnings;
  std::vector<std::string> errorReports;

  // Called at every pump with the pump's number (from 1); a test sets the
  // interrupt flag or ticks a box there, as an operator would between steps.
  std::function<void(FakeWindow&, int)> onPump;

  void SetStatusText(const std::string& text) override { statusTexts.push_back(text); }
  std::string StatusText() const { return statusTexts.empty() ? std::string() : statusTexts.back(); }
  void SetTableBarMax(int max) override { tableBar.max = max; }
  void SetTableBarPosition(int position) override { tableBar.position = position; }
  void StepTableBar() override { tableBar.Step(); }
  void SetAllBarMax(int max) override {
    allBar.max = max;
    allBarMaxSet = max;
  }
  void SetAllBarPosition(int position) override { allBar.position = position; }
  void StepAllBar() override { allBar.Step(); }
  void ProcessMessages() override {
    ++pumps;
    if (onPump) onPump(*this, pumps);
  }
  bool Interrupted() const override { return interrupted; }
  void ClearInterrupt() override { interrupted = false; }
  std::string SourceText() const override { return source; }
  std::string DestText() const override { return dest; }
  bool EventsTicked() const override { return events; }
  text::TDateTime EventsFrom() const override { return eventsFrom; }
  bool LocationFlag() const override { return locationFlag; }
  void SetRunning(bool on) override {
    running = on;
    ++runningChanges;
  }
  void SetBusyCursor(bool on) override { busy = on; }
  void ShowInterruptWarning(const std::string& text) override { interruptWarnings.push_back(text); }
  void ShowErrorReport(const std::string& message) override { errorReports.push_back(message); }
};
