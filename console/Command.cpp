#include "console/Command.h"

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <chrono>
#include <exception>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <stdexcept>

#include "app/TransferRun.h"
#include "console/Backup.h"
#include "console/Interrupts.h"
#include "console/Language.h"
#include "console/Report.h"
#include "console/WindowTexts.h"
#include "db/IB.h"
#include "db/Services.h"
#include "state/DynamicStates.h"
#include "text/RussianTexts.h"
#include "text/TextFile.h"
#include "text/Trim.h"
#include "transfer/RunGate.h"
#include "transfer/RunLog.h"
#include "transfer/SameDatabase.h"

namespace {

using Clock = std::chrono::steady_clock;

class Run {
  Q_DECLARE_TR_FUNCTIONS(Run)
};

// Opening the run log for writing would already change it; the command only
// asks whether it could.
bool RunLogWritable(const std::string& folder) {
  const std::string log = RunLog(folder).Path();
  if (::faccessat(AT_FDCWD, log.c_str(), F_OK, AT_EACCESS) == 0)
    return ::faccessat(AT_FDCWD, log.c_str(), W_OK, AT_EACCESS) == 0;
  return ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

class Command {
 public:
  Command(const ConsoleOptions& options, ConsoleWindow::Progress progress)
      : options_(options),
        progress_(progress),
        window_(options, progress, stdout, stderr),
        source_(TransferRun::RemoveQuotes(options.source)),
        dest_(TransferRun::RemoveQuotes(options.dest)) {}

  int Run() {
    if (!options_.restore.empty()) return RestoreCommand(options_, dest_, window_);
    // The window's path check: the start command stays off for equal texts.
    if (text::Trim(options_.source) == text::Trim(options_.dest))
      return NotStarted(ru::SamePathsMessage());
    try {
      dm_ = std::make_unique<TDM1>();
    } catch (const std::exception& e) {
      return NotStarted(TransferRun::ErrorReportText(e.what()));
    }
    if (!StartupChecks()) return kExitNotStarted;
    if (SameDatabaseFile(source_, dest_)) return NotStarted(ru::SamePathsMessage());
    // The run's own plan comes first: a run it names errors for does not start.
    gate_ = GateRun(dm_->IBDatabase3, {source_,
                                       dest_,
                                       {options_.folder, options_.events, options_.eventsFrom},
                                       options_.backup,
                                       options_.plan});
    if (gate_.backup.Found() && !options_.plan) {
      window_.ErrorUtf8(lang::Fill(Run::tr("db-dravik: %1. Nothing was written. [--force does "
                                           "not run over this]"),
                                   {BackupProblemText(gate_.backup)}));
      return kExitNotStarted;
    }
    if (!gate_.plan)
      return NotStarted(TransferRun::ErrorReportText(gate_.planError), gate_.attachFailed);
    if (options_.plan) return Plan();
    if (!gate_.verdict.MayStart(options_.force)) return Refused();
    try {
      return Transfer();
    } catch (const std::exception& e) {
      return NotStarted(TransferRun::ErrorReportText(e.what()));
    }
  }

 private:
  // `message` is windows-1251; an engine's error is told after the side it came from.
  int NotStarted(const std::string& message, DatabaseSide side = DatabaseSide::None) {
    ReportError(message, side);
    return kExitNotStarted;
  }

  void ReportError(const std::string& message, DatabaseSide side) {
    if (side == DatabaseSide::None)
      window_.Error(message);
    else
      window_.ErrorUtf8(SideName(side) + ": " + WindowMessage(message));
  }

  // The checks the window makes at its start, in its order and with its
  // messages; then the two scripts, which a run would otherwise find missing
  // only once it has begun. Nothing is changed: the run log is emptied only
  // when a run begins.
  bool StartupChecks() {
    if (!options_.plan && !RunLogWritable(options_.folder)) {
      window_.Error(ru::RunLogNotCreated());
      return false;
    }
    try {
      tableListLines_ = text::CountLines(text::ResolveInFolder(options_.folder, "Conv.txt"));
    } catch (const std::exception&) {
      window_.Error(ru::TableListNotFound());
      return false;
    }
    try {
      text::CountLines(text::ResolveInFolder(options_.folder, "GENERATOR.txt"));
    } catch (const std::exception&) {
      window_.Error(ru::GeneratorListNotFound());
      return false;
    }
    for (const char* script : {"SQL/_Upd.sql", "SQL/Upd.sql"}) {
      try {
        text::TextFileReader readable(text::ResolveInFolder(options_.folder, script));
      } catch (const std::exception& e) {
        window_.ErrorUtf8(lang::Fill(Run::tr("db-dravik: the script %1 cannot be read: %2"),
                                     {script, WindowMessage(e.what())}));
        return false;
      }
    }
    return true;
  }

  int Plan() {
    BackupPlan backup;
    try {
      backup.destSize = DatabaseSize(dest_);
    } catch (const std::exception& e) {
      backup.sizeError = e.what();
    }
    backup.problem = gate_.backup;
    PrintPlan(std::cout, options_, *gate_.plan, backup);
    return gate_.verdict.MayStart(false) ? kExitClean : kExitNotStarted;
  }

  int Refused() {
    std::ostringstream errors;
    PrintPlanErrors(errors, *gate_.plan, gate_.backup, "  ");
    const int count = gate_.verdict.refusals + gate_.verdict.errors;
    window_.ErrorUtf8(
        lang::Fill(Run::tr("db-dravik: the run was not started: its plan names %1 errors, and "
                           "nothing was written.",
                           nullptr, count),
                   {lang::Count(count)}) +
        "\n" + errors.str() +
        lang::Fill(gate_.verdict.refusals == 0
                       ? Run::tr("db-dravik ... --plan shows the whole plan; --force runs over "
                                 "these errors.")
                       : Run::tr("db-dravik ... --plan shows the whole plan.")));
    return kExitNotStarted;
  }

  // Before anything is written: a destination that cannot be saved is not
  // touched. Returns false, with the reason told, when the run must not go on.
  bool BackUp() {
    const BackupResult backup = BackUpWithProgress(window_, dest_, options_.backup);
    if (!backup.made) {
      window_.Finish();
      window_.Error(backup.error);
      window_.ErrorUtf8(
          lang::Fill(Run::tr("db-dravik: the backup of the destination failed, so nothing was "
                             "written.")));
      return false;
    }
    backupSize_ = backup.size;
    return true;
  }

  int Transfer() {
    DynamicStates states(*dm_, [this] { return options_.keepLocations; });
    TransferRun run(*dm_, states, window_);
    interrupts::Install(progress_ == ConsoleWindow::Progress::Terminal);
    if (!KeepConnectionsOnSignals())
      window_.ErrorUtf8(
          lang::Fill(Run::tr("db-dravik: the database client cannot be kept from closing the "
                             "connections on Ctrl-C; an interrupt may end the run with an error")));
    const Clock::time_point start = Clock::now();
    if (!options_.backup.empty()) {
      if (!BackUp()) return kExitNotStarted;
      // The backup is one step that cannot stop halfway; an interrupt during
      // it stops the command before the run begins.
      if (window_.Interrupted()) {
        window_.Finish();
        std::cout << "\n"
                  << Run::tr("Interrupted after the backup, before the run: nothing was written.")
                  << "\n"
                  << lang::Fill(Run::tr("Backup: %1, %2"), {options_.backup, SizeText(backupSize_)})
                  << "\n";
        return kExitInterrupted;
      }
    }
    // The window empties the run log when it opens; the command when its run
    // begins, so that a run that does not start leaves the last run's log.
    run.SetOnBegin([this] {
      try {
        RunLog(options_.folder).Create();
      } catch (const std::exception&) {
        throw std::runtime_error(ru::RunLogNotCreated());
      }
      return true;
    });
    run.MoveBitBtnClick(options_.folder, tableListLines_);
    window_.Finish();
    const TransferRun::Outcome& outcome = run.LastOutcome();
    if (window_.ErrorReported()) ReportError(window_.ErrorReport(), outcome.attachFailed);
    if (!outcome.begun) return kExitNotStarted;

    const bool interrupted = window_.Interrupted();
    const Clock::time_point ran = Clock::now();
    std::optional<long long> differences;
    if (options_.check && !interrupted && !window_.ErrorReported())
      differences = Check(*gate_.plan, outcome);
    Summary(outcome, ran - start, Clock::now() - ran, interrupted, differences, EventsNotMoved());
    if (interrupted) return kExitInterrupted;
    if (window_.ErrorReported() || outcome.failedStatements > 0 || differences.value_or(0) > 0 ||
        gate_.verdict.errors > 0)
      return kExitFailures;
    return kExitClean;
  }

  long long Check(const RunPlan& before, const TransferRun::Outcome& outcome) {
    const CheckedRun checked =
        CheckAfterRun(dm_->IBDatabase3, source_, dest_, before,
                      {options_.folder, options_.events, options_.eventsFrom}, outcome.record,
                      options_.keepLocations);
    if (!checked.check) {
      window_.ErrorUtf8(lang::Fill(Run::tr("db-dravik: the check could not read the databases: %1"),
                                   {WindowMessage(checked.error)}));
      return 1;
    }
    if (!options_.quiet) PrintCheck(std::cout, *checked.check);
    return checked.check->Differences();
  }

  // Events and alarms no description matches are not read by the run: the
  // summary says so instead of counting only what was read.
  std::optional<long long> EventsNotMoved() const {
    if (!options_.events) return std::nullopt;
    long long rows = 0;
    for (const TablePlan& line : gate_.plan->lines) rows += line.sourceRowsLeftOut.value_or(0);
    return rows;
  }

  void Summary(const TransferRun::Outcome& outcome, Clock::duration ran, Clock::duration checked,
               bool interrupted, const std::optional<long long>& differences,
               const std::optional<long long>& notMoved) {
    RunSummary summary;
    summary.lastStatus = window_.LastStatus();
    if (interrupted) summary.interruptedIn = window_.LastTable();
    summary.interruptedStep = window_.LastTableStep();
    summary.steps = window_.Steps();
    summary.rowsRead = window_.RowsRead();
    // Macros are not counted among the rows read, so neither are their failures.
    for (const auto& [table, rows] : outcome.failedRows)
      if (table != "MACROSES") summary.rowsLost += rows;
    summary.notMoved = notMoved;
    summary.failedStatements = outcome.failedStatements;
    summary.planErrorsForced = gate_.verdict.errors;
    summary.checkAsked = options_.check;
    summary.differences = differences;
    summary.seconds = std::chrono::duration<double>(ran).count();
    summary.checkSeconds = std::chrono::duration<double>(checked).count();
    summary.backup = options_.backup;
    summary.backupSize = backupSize_;
    summary.dest = dest_;
    summary.runLog = RunLog(options_.folder).Path();
    PrintSummary(std::cout, summary);
    std::cout.flush();
  }

  const ConsoleOptions& options_;
  const ConsoleWindow::Progress progress_;
  ConsoleWindow window_;
  const std::string source_, dest_;
  std::unique_ptr<TDM1> dm_;
  int tableListLines_ = 0;
  RunGate gate_;
  long long backupSize_ = 0;
};

}  // namespace

int RunCommand(const ConsoleOptions& options, ConsoleWindow::Progress progress) {
  return Command(options, progress).Run();
}
