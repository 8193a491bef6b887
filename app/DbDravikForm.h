#pragma once
// The program's only window: the two database paths, the options, the start
// and interrupt commands and the progress display. A transfer run talks to it
// through TransferWindow; boxes and dialogs go through WindowServices.
#include <QMainWindow>
#include <QPointer>
#include <chrono>
#include <functional>
#include <string>

#include "app/TransferRun.h"
#include "db/IB.h"
#include "state/DynamicStates.h"
#include "transfer/RunGate.h"
#include "transfer/TransferWindow.h"

class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class DateBox;
class FileNameEdit;
class WindowServices;
class WorkDialog;

class TDbDravikForm : public QMainWindow, public TransferWindow {
  Q_OBJECT

 public:
  // `executablePath`: the running program's full path, from which the program
  // folder is taken at the first activation. `helpFile`: the application's help file.
  TDbDravikForm(TDM1& dm, WindowServices& services, std::string executablePath,
                std::string helpFile);
  ~TDbDravikForm() override;

  // The program folder of an executable's full path: everything after the last
  // "/" cut off, then trimmed.
  static std::string FilePath(const std::string& executablePath);

  // Handlers.
  void FormCreate();
  void FormActivate();
  void SourceFEChange();
  void DestFEChange();
  void SaveUserPlaceCBClick();
  void MoveBitBtnClick();
  void mnuFile_MoveClick();
  void CancelMoveBitBtnClick();
  void mnuFile_SourceClick();
  void mnuFile_DestClick();
  void mnuHelp_MainWindowClick();
  void mnuHelp_AboutClick();
  // The menu "Сервис": the restore and the plan; the backup before a run and
  // the check after it are ticked there.
  void mnuTools_RestoreClick();
  void mnuTools_PlanClick();
  // A close request from outside the program: the "Wm_Close" box, then closing.
  void WmClose();

  const std::string& ProgramFolder() const { return programFolder_; }
  int StepCount() const { return stepCount_; }
  bool Running() const { return running_; }
  bool StartupChecksMade() const { return activated_; }

  // TransferWindow.
  void SetStatusText(const std::string& text) override;
  void SetTableBarMax(int max) override;
  void SetTableBarPosition(int position) override;
  void StepTableBar() override;
  void SetAllBarMax(int max) override;
  void SetAllBarPosition(int position) override;
  void StepAllBar() override;
  void ProcessMessages() override;
  bool Interrupted() const override { return interrupted_; }
  void ClearInterrupt() override { interrupted_ = false; }
  std::string SourceText() const override;
  std::string DestText() const override;
  bool EventsTicked() const override;
  text::TDateTime EventsFrom() const override;
  bool LocationFlag() const override { return locationFlag_; }
  void SetRunning(bool running) override;
  void SetBusyCursor(bool busy) override;
  void ShowInterruptWarning(const std::string& text) override;
  void ShowErrorReport(const std::string& message) override;

 protected:
  bool event(QEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  // A bar's range and position as the run set them; the widget may show a
  // position a few steps behind until the next pump.
  struct Bar {
    QProgressBar* widget = nullptr;
    int max = 100;
    int position = 0;
    bool behind = false;  // stepped since the widget last showed it
    std::chrono::steady_clock::time_point shownAt{};
  };

  void BuildControls();
  void BuildMenu();
  void ApplyEnablingRule();
  void PathCheck(const FileNameEdit& changed);
  void SetStartCommand(bool enabled);
  void SetSystemMenu(bool present);
  void StartupChecks();
  void Browse(FileNameEdit& box, bool quoteBlanks);
  void BuildToolsMenu();
  // What the run does once both databases are open, before it writes: its plan
  // and the questions on it, then the backup. False stops the run there.
  bool BeforeFirstWrite();
  bool BackUpBeforeRun(const std::string& dest, const std::string& file);
  void ShowCheckAfterRun();
  // The guards' request for a run from the boxes as they stand.
  RunGateRequest GateRequest(const std::string& backupFile) const;
  std::string NextBackupFile(const std::string& dest) const;
  // Runs `work` on a thread of its own and pumps the window's messages until it
  // ends, calling `tick` about ten times a second.
  void WhilePumping(const std::function<void()>& work, const std::function<void()>& tick);
  void ShowWorkDialog(WorkDialog& dialog);
  void StartupCheckFailed(const std::string& message);
  static void ShowBar(Bar& bar);
  static void StepBar(Bar& bar);
  void ShowBarsBehind();

  TDM1& dm_;
  WindowServices& services_;
  std::string executablePath_;
  std::string helpFile_;

  // State fields.
  std::string programFolder_;
  int stepCount_ = 0;
  bool interrupted_ = false;
  bool locationFlag_ = false;
  bool activated_ = false;
  bool running_ = false;
  bool busyCursor_ = false;

  DynamicStates states_;
  TransferRun run_;
  RunGateRequest runRequest_;  // of the run under way or the last one, and its gate
  RunGate gate_;
  QPointer<WorkDialog> openDialog_;

  // Controls.
  FileNameEdit* SourceFE = nullptr;
  FileNameEdit* DestFE = nullptr;
  QCheckBox* EventsCB = nullptr;
  DateBox* FromDE = nullptr;
  QCheckBox* SaveUserPlaceCB = nullptr;
  QPushButton* MoveBitBtn = nullptr;
  QPushButton* CancelMoveBitBtn = nullptr;
  QLabel* TabLabel = nullptr;
  Bar TablePB, AllPB;
  QMenu* mnuFile = nullptr;
  QMenu* mnuHelp = nullptr;
  QAction* mnuFile_Move = nullptr;
  QMenu* mnuTools = nullptr;
  QAction* mnuTools_Backup = nullptr;
  QAction* mnuTools_Plan = nullptr;
  QAction* mnuTools_Check = nullptr;
};
