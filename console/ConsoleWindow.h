#pragma once
// The run's window on a terminal or in a log: the status label and the two
// bars become a progress line, the boxes become lines on standard error, and
// the interrupt button is Ctrl-C.
#include <chrono>
#include <cstdio>
#include <string>

#include "console/Options.h"
#include "transfer/TransferWindow.h"

class ConsoleWindow : public TransferWindow {
 public:
  enum class Progress {
    Terminal,  // one line redrawn in place
    Lines,     // one plain line per table or step, once it is done
    Quiet,     // nothing
  };
  ConsoleWindow(const ConsoleOptions& options, Progress progress, std::FILE* out, std::FILE* err);

  void SetStatusText(const std::string& text) override;
  void SetTableBarMax(int max) override;
  void SetTableBarPosition(int) override {}
  void StepTableBar() override;
  // The driver sets the overall bar's maximum at the start of each pass; the
  // run puts the bar back to 0 once the passes are over.
  void SetAllBarMax(int max) override {
    allMax_ = max;
    inPasses_ = true;
  }
  void SetAllBarPosition(int position) override {
    allPosition_ = position;
    inPasses_ = false;
  }
  void StepAllBar() override;
  void ProcessMessages() override;
  bool Interrupted() const override;
  // One run per process: a signal that came before the run began counts too.
  void ClearInterrupt() override {}
  std::string SourceText() const override { return options_.source; }
  std::string DestText() const override { return options_.dest; }
  bool EventsTicked() const override { return options_.events; }
  text::TDateTime EventsFrom() const override { return options_.eventsFrom; }
  bool LocationFlag() const override { return options_.keepLocations; }
  void SetRunning(bool) override {}
  void SetBusyCursor(bool) override {}
  void ShowInterruptWarning(const std::string& warning) override;
  void ShowErrorReport(const std::string& message) override;

  // A step of the command's own, the backup or the restore, shown as a table
  // is, with the bytes done in place of rows. `label` is UTF-8.
  void BeginStep(const std::string& label);
  void SetStepBytes(long long bytes);

  // Ends the progress display.
  void Finish();
  // A line on standard error, the progress line put aside first; `text` is
  // windows-1251 and may hold the window's texts, or UTF-8 for ErrorUtf8.
  void Error(const std::string& text);
  void ErrorUtf8(const std::string& text);

  long long RowsRead() const { return rowsRead_; }
  // The run's error report is kept for the command to print once the run has
  // ended, when it knows which database the error came from.
  bool ErrorReported() const { return errorReported_; }
  const std::string& ErrorReport() const { return errorReport_; }  // windows-1251
  const std::string& LastStatus() const { return item_.name; }     // windows-1251
  // The last table whose copy began, and its step.
  const std::string& LastTable() const { return lastTable_; }
  int LastTableStep() const { return lastTableStep_; }
  int Steps() const { return allMax_; }

 private:
  using Clock = std::chrono::steady_clock;
  struct Item {
    std::string name;
    Clock::time_point start;
    long long rows = 0;
    int total = -1;        // the table's rows, once its copy has counted them
    long long bytes = -1;  // a step of the command's own: the bytes it has done
    int step = 0;
    std::string label;  // UTF-8: "[step/steps] name", or the name alone outside the passes
  };

  void StartItem(const std::string& name, const std::string& label);
  void EndItem();
  void Draw();
  void ClearLine();

  const ConsoleOptions& options_;
  const Progress progress_;
  std::FILE* out_;
  std::FILE* err_;
  Item item_;
  bool itemOpen_ = false;
  int allMax_ = 0;
  int allPosition_ = 0;
  bool inPasses_ = false;
  long long rowsRead_ = 0;
  std::string lastTable_;
  int lastTableStep_ = 0;
  bool errorReported_ = false;
  std::string errorReport_;
  bool lineShown_ = false;
  Clock::time_point lastDraw_;
};
