// The main window's menu "Сервис": the plan of a run, a backup of the
// destination before every run (ticked at every start), the check after a run,
// and the restore of the destination from a backup. A run asks the same
// questions and refuses what the command line refuses, through the same guards.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <atomic>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <future>

#include "app/CheckDialog.h"
#include "app/DbDravikForm.h"
#include "app/PlanDialog.h"
#include "app/QtText.h"
#include "app/RestoreDialog.h"
#include "app/ToolsWords.h"
#include "app/WindowServices.h"
#include "text/RussianTexts.h"
#include "text/Trim.h"
#include "transfer/BackupFolder.h"
#include "transfer/WayBack.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kTick = std::chrono::milliseconds(100);  // progress about ten times a second
constexpr int kErrorsListed = 15;

// One error a line, the first few of many; an engine's message of several
// lines joined into one.
QString Listed(const QStringList& errors) {
  QString text;
  for (int i = 0; i < errors.size() && i < kErrorsListed; ++i)
    text += QStringLiteral("- ") +
            QString(errors[i]).replace(QRegularExpression(QStringLiteral("[\r\n]+")),
                                       QStringLiteral("; ")) +
            QLatin1Char('\n');
  if (errors.size() > kErrorsListed)
    text += ToQt(ru::MoreErrors()).arg(errors.size() - kErrorsListed) + QLatin1Char('\n');
  return text;
}

}  // namespace

void TDbDravikForm::BuildToolsMenu() {
  mnuTools = menuBar()->addMenu(ToQt(ru::MenuTools()));
  mnuTools->setObjectName(QStringLiteral("mnuTools"));
  mnuTools_Plan =
      mnuTools->addAction(ToQt(ru::MenuToolsPlan()), this, &TDbDravikForm::mnuTools_PlanClick);
  mnuTools_Plan->setObjectName(QStringLiteral("mnuTools_Plan"));
  mnuTools->addSeparator();
  mnuTools_Backup = mnuTools->addAction(ToQt(ru::MenuToolsBackup()));
  mnuTools_Backup->setObjectName(QStringLiteral("mnuTools_Backup"));
  mnuTools_Backup->setCheckable(true);
  mnuTools_Backup->setChecked(true);
  mnuTools_Check = mnuTools->addAction(ToQt(ru::MenuToolsCheck()));
  mnuTools_Check->setObjectName(QStringLiteral("mnuTools_Check"));
  mnuTools_Check->setCheckable(true);
  mnuTools->addSeparator();
  QAction* restore = mnuTools->addAction(ToQt(ru::MenuToolsRestore()), this,
                                         &TDbDravikForm::mnuTools_RestoreClick);
  restore->setObjectName(QStringLiteral("mnuTools_Restore"));
}

RunGateRequest TDbDravikForm::GateRequest(const std::string& backupFile) const {
  RunGateRequest request;
  request.source = TransferRun::RemoveQuotes(SourceText());
  request.dest = TransferRun::RemoveQuotes(DestText());
  request.options = {programFolder_, EventsTicked(), EventsFrom()};
  request.backupFile = backupFile;
  return request;
}

std::string TDbDravikForm::NextBackupFile(const std::string& dest) const {
  const std::string folder = BackupFolder(programFolder_);
  // A folder that cannot be made shows as one that cannot be written.
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);
  const std::time_t now = std::time(nullptr);
  std::tm local = {};
  localtime_r(&now, &local);
  return NewBackupFile(folder, dest, local);
}

void TDbDravikForm::WhilePumping(const std::function<void()>& work,
                                 const std::function<void()>& tick) {
  std::future<void> done = std::async(std::launch::async, work);
  Clock::time_point nextTick = Clock::now();
  while (done.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) {
    if (tick && Clock::now() >= nextTick) {
      tick();
      nextTick = Clock::now() + kTick;
    }
    ProcessMessages();
  }
  done.get();
}

bool TDbDravikForm::BeforeFirstWrite() {
  const QString statusBefore = TabLabel->text();
  const auto stop = [&] {
    TabLabel->setText(statusBefore);
    return false;
  };
  const std::string backupFile = mnuTools_Backup->isChecked()
                                     ? NextBackupFile(TransferRun::RemoveQuotes(DestText()))
                                     : std::string();
  runRequest_ = GateRequest(backupFile);
  const RunGateRequest& request = runRequest_;
  gate_ = RunGate{};
  SetStatusText(ru::StatusPlanning());
  WhilePumping([&] { gate_ = GateRun(dm_.IBDatabase3, request); }, nullptr);
  // The run ends as interrupted, before it writes anything.
  if (Interrupted()) return true;

  if (gate_.verdict.refusals > 0) {
    const QStringList refusals =
        PlanErrors(gate_.plan ? &*gate_.plan : nullptr, gate_.backup, true);
    services_.Message(this, WindowServices::Icon::Error, ru::AppTitle(),
                      FromQt(ToQt(ru::RunRefused()).arg(Listed(refusals))),
                      {WindowServices::Button::Ok});
    return stop();
  }
  if (gate_.verdict.errors > 0) {
    const QStringList errors = PlanErrors(&*gate_.plan, BackupFileProblem{}, false);
    const std::string question =
        FromQt(ToQt(ru::PlanErrorsQuestion()).arg(errors.size()).arg(Listed(errors)));
    if (services_.Message(this, WindowServices::Icon::Question, ru::AppTitle(), question,
                          {WindowServices::Button::No, WindowServices::Button::Yes}) !=
        WindowServices::Button::Yes)
      return stop();
  }
  if (!backupFile.empty() && !BackUpBeforeRun(request.dest, backupFile)) return stop();
  return true;
}

bool TDbDravikForm::BackUpBeforeRun(const std::string& dest, const std::string& file) {
  std::atomic<long long> bytes{0};
  const auto show = [&] {
    SetStatusText(FromQt(ToQt(ru::StatusBackingUp()).arg(SizeText(bytes))));
  };
  BackupResult backup;
  // The backup cannot stop halfway: an interrupt given meanwhile stops the run
  // once it is done, before the first write.
  WhilePumping(
      [&] { backup = BackUpDestination(dest, file, [&](long long done) { bytes = done; }); }, show);
  if (!backup.made) {
    services_.Message(this, WindowServices::Icon::Error, ru::AppTitle(),
                      FromQt(ToQt(ru::BackupFailedNothingWritten()).arg(ToQt(backup.error))),
                      {WindowServices::Button::Ok});
    return false;
  }
  bytes = backup.size;
  show();
  // Without its note the backup is listed all the same, its destination unknown.
  NoteBackupDestination(file, dest);
  return true;
}

void TDbDravikForm::ShowWorkDialog(WorkDialog& dialog) {
  openDialog_ = &dialog;
  services_.ShowDialog(dialog);
  openDialog_ = nullptr;
}

void TDbDravikForm::mnuTools_PlanClick() {
  const std::string backupFile = mnuTools_Backup->isChecked()
                                     ? NextBackupFile(TransferRun::RemoveQuotes(DestText()))
                                     : std::string();
  RunGateRequest request = GateRequest(backupFile);
  request.planOverBackupProblem = true;
  PlanDialog dialog(this, dm_.IBDatabase3, request);
  ShowWorkDialog(dialog);
}

void TDbDravikForm::mnuTools_RestoreClick() {
  std::string dest = TransferRun::RemoveQuotes(DestText());
  if (text::Trim(dest).empty()) dest.clear();
  RestoreDialog dialog(this, services_, BackupFolder(programFolder_), dest);
  ShowWorkDialog(dialog);
}

void TDbDravikForm::ShowCheckAfterRun() {
  const TransferRun::Outcome& outcome = run_.LastOutcome();
  if (!mnuTools_Check->isChecked() || !outcome.completed) return;
  // What the check reads stays as it is until the next run, which cannot
  // start while the dialog is open.
  const bool keepLocations = LocationFlag();
  CheckDialog dialog(this, [this, &outcome, keepLocations] {
    if (!gate_.plan) return CheckedRun{std::nullopt, FromQt(PlanFailureText(gate_))};
    return CheckAfterRun(dm_.IBDatabase3, runRequest_.source, runRequest_.dest, *gate_.plan,
                         runRequest_.options, outcome.record, keepLocations);
  });
  ShowWorkDialog(dialog);
}
