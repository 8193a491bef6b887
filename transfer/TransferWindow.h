#pragma once
// The one narrow interface through which the transfer run talks to the main
// window. The Qt window implements it; tests use a fake and run whole transfers
// headless. All texts are windows-1251 bytes, but for the two database paths,
// which are file names in the file system's encoding (UTF-8).
#include <string>

#include "text/Regional.h"

class TransferWindow {
 public:
  virtual ~TransferWindow() = default;

  // The status label TabLabel.
  virtual void SetStatusText(const std::string& text) = 0;

  // TablePB, the bar within a table, and AllPB, the overall bar. Stepping
  // advances by one and stops at the maximum.
  virtual void SetTableBarMax(int max) = 0;
  virtual void SetTableBarPosition(int position) = 0;
  virtual void StepTableBar() = 0;
  virtual void SetAllBarMax(int max) = 0;
  virtual void SetAllBarPosition(int position) = 0;
  virtual void StepAllBar() = 0;

  // Processes all pending window messages once: the window repaints and the
  // interrupt button and the keep-locations box react.
  virtual void ProcessMessages() = 0;

  // The interrupt flag: set by the interrupt button after the operator confirms.
  virtual bool Interrupted() const = 0;
  virtual void ClearInterrupt() = 0;

  // The options as they stand when asked.
  virtual std::string SourceText() const = 0;      // SourceFE, file-system bytes
  virtual std::string DestText() const = 0;        // DestFE, file-system bytes
  virtual bool EventsTicked() const = 0;           // EventsCB
  virtual text::TDateTime EventsFrom() const = 0;  // FromDE; 0 when empty or invalid
  virtual bool LocationFlag() const = 0;           // follows SaveUserPlaceCB

  // Running: inputs, menus, start command and close box off, interrupt button on,
  // keep-locations box left as it is. Idle: the reverse.
  virtual void SetRunning(bool running) = 0;
  virtual void SetBusyCursor(bool busy) = 0;

  // The interrupt warning: a warning box with a single Yes button.
  virtual void ShowInterruptWarning(const std::string& text) = 0;
  // The general error report: caption "Перенос данных", stop icon, OK.
  virtual void ShowErrorReport(const std::string& message) = 0;
};
