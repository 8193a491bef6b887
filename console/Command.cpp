#include "console/Command.h"

#include <chrono>
#include <exception>
#include <iostream>
#include <memory>
#include <optional>

#include "app/TransferRun.h"
#include "console/Backup.h"
#include "console/Interrupts.h"
#include "console/Report.h"
#include "db/IB.h"
#include "db/Services.h"
#include "state/DynamicStates.h"
#include "text/RussianTexts.h"
#include "text/TextFile.h"
#include "text/Trim.h"
#include "transfer/ReadOnlySession.h"
#include "transfer/RunCheck.h"
#include "transfer/RunLog.h"
#include "transfer/RunPlan.h"
#include "transfer/SameDatabase.h"

namespace {

using Clock = std::chrono::steady_clock;

class Command {
 public:
  Command(const ConsoleOptions& options, ConsoleWindow::Progress progress)
      : options_(options),
        progress_(progress),
        window_(options, progress, stdout, stderr),
        source_(TransferRun::RemoveQuotes(options.source)),
        dest_(TransferRun::RemoveQuotes(options.dest)) {}

  int Run() {
    if (!options_.restore.empty()) return RestoreDestination(options_, dest_, window_);
    // The window's path check: the start command stays off for equal texts.
    if (text::Trim(options_.source) == text::Trim(options_.dest))
      return NotStarted(ru::SamePathsMessage());
    try {
      dm_ = std::make_unique<TDM1>();
    } catch (const std::exception& e) {
      return NotStarted(TransferRun::ErrorReportText(e.what()));
    }
    if (!StartupChecks()) return kExitNotStarted;
    try {
      return options_.plan ? Plan() : Transfer();
    } catch (const std::exception& e) {
      return NotStarted(TransferRun::ErrorReportText(e.what()));
    }
  }

 private:
  int NotStarted(const std::string& message) {
    window_.Error(message);
    return kExitNotStarted;
  }

  // The checks the window makes at its start, in its order and with its
  // messages; then the two scripts, which a run would otherwise find missing
  // only once it has begun. The plan leaves the run log alone.
  bool StartupChecks() {
    if (!options_.plan) {
      try {
        RunLog(options_.folder).Create();
      } catch (const std::exception&) {
        window_.Error(ru::RunLogNotCreated());
        return false;
      }
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
        window_.Error(std::string("db-dravik: the script ") + script +
                      " cannot be read: " + e.what());
        return false;
      }
    }
    return true;
  }

  PlanOptions ForPlan() const { return {options_.folder, options_.events, options_.eventsFrom}; }

  std::optional<RunPlan> PlanBefore() {
    if (SameDatabaseFile(source_, dest_)) {
      window_.Error(ru::SamePathsMessage());
      return std::nullopt;
    }
    ReadOnlySession session(dm_->IBDatabase3, source_, dest_);
    return MakeRunPlan(session, ForPlan());
  }

  int Plan() {
    std::optional<RunPlan> plan = PlanBefore();
    if (!plan) return kExitNotStarted;
    BackupPlan backup;
    try {
      backup.destSize = DatabaseSize(dest_);
    } catch (const std::exception& e) {
      backup.sizeError = e.what();
    }
    if (!options_.backup.empty())
      backup.problem = BackupFileProblem(options_.backup, source_, dest_);
    PrintPlan(std::cout, options_, *plan, backup);
    return plan->Errors() > 0 || !backup.problem.empty() ? kExitNotStarted : kExitClean;
  }

  // Before anything is written: a destination that cannot be saved is not
  // touched. Returns false, with the reason told, when the run must not go on.
  bool BackUp() {
    if (SameDatabaseFile(source_, dest_)) {
      window_.Error(ru::SamePathsMessage());
      return false;
    }
    const std::string problem = BackupFileProblem(options_.backup, source_, dest_);
    if (!problem.empty()) {
      window_.Error("db-dravik: " + problem + ". Nothing was written.");
      return false;
    }
    try {
      backupSize_ = BackUpDestination(window_, dest_, options_.backup);
    } catch (const std::exception& e) {
      window_.Finish();
      window_.Error(e.what());
      window_.Error("db-dravik: the backup of the destination failed, so nothing was written.");
      return false;
    }
    return true;
  }

  int Transfer() {
    // The check compares against what the databases hold before the run.
    std::optional<RunPlan> before;
    if (options_.check) {
      before = PlanBefore();
      if (!before) return kExitNotStarted;
    }
    DynamicStates states(*dm_, [this] { return options_.keepLocations; });
    TransferRun run(*dm_, states, window_);
    interrupts::Install(progress_ == ConsoleWindow::Progress::Terminal);
    if (!KeepConnectionsOnSignals())
      window_.Error(
          "db-dravik: the database client cannot be kept from closing the "
          "connections on Ctrl-C; an interrupt may end the run with an error");
    const Clock::time_point start = Clock::now();
    if (!options_.backup.empty()) {
      if (!BackUp()) return kExitNotStarted;
      // The backup is one step that cannot stop halfway; an interrupt during
      // it stops the command before the run begins.
      if (window_.Interrupted()) {
        window_.Finish();
        std::cout << "\nInterrupted after the backup, before the run: nothing was written.\n"
                  << "Backup: " << options_.backup << ", " << SizeText(backupSize_) << "\n";
        return kExitInterrupted;
      }
    }
    run.MoveBitBtnClick(options_.folder, tableListLines_);
    window_.Finish();
    const TransferRun::Outcome& outcome = run.LastOutcome();
    if (!outcome.attached) return kExitNotStarted;

    const bool interrupted = window_.Interrupted();
    std::optional<int> differences;
    if (before && !interrupted && !window_.ErrorReported()) differences = Check(*before, outcome);
    Summary(outcome, Clock::now() - start, interrupted, differences);
    if (interrupted) return kExitInterrupted;
    if (window_.ErrorReported() || outcome.failedStatements > 0 || differences.value_or(0) > 0)
      return kExitFailures;
    return kExitClean;
  }

  int Check(const RunPlan& before, const TransferRun::Outcome& outcome) {
    try {
      ReadOnlySession session(dm_->IBDatabase3, source_, dest_);
      const RunCheck check =
          CheckRun(session, before, outcome.failedRows, outcome.keyMap, options_.keepLocations);
      if (!options_.quiet) PrintCheck(std::cout, check);
      return check.Differences();
    } catch (const std::exception& e) {
      window_.Error(std::string("db-dravik: the check could not read the databases: ") + e.what());
      return 1;
    }
  }

  void Summary(const TransferRun::Outcome& outcome, Clock::duration took, bool interrupted,
               const std::optional<int>& differences) {
    long long lost = 0;
    // Macros are not counted among the rows read, so neither are their failures.
    for (const auto& [table, rows] : outcome.failedRows)
      if (table != "MACROSES") lost += rows;
    const double seconds = std::chrono::duration<double>(took).count();
    std::cout << "\n" << Utf8(window_.LastStatus()) << "\n";
    if (interrupted && !window_.LastTable().empty())
      std::cout << "Interrupted in or after " << Utf8(window_.LastTable()) << " (step "
                << window_.LastTableStep() << " of " << window_.Steps()
                << "): what was written stays.\n";
    std::cout << "Rows copied: " << window_.RowsRead() - lost << " of " << window_.RowsRead()
              << " read; failed statements: " << outcome.failedStatements << "\n";
    if (options_.check)
      std::cout << "Check: "
                << (!differences        ? "not made, the run did not reach its end"
                    : *differences == 0 ? "no difference"
                                        : std::to_string(*differences) + " differences")
                << "\n";
    char time[64];
    std::snprintf(time, sizeof time, "Time: %.1f s\n", seconds);
    std::cout << time;
    if (!options_.backup.empty())
      std::cout << "Backup: " << options_.backup << ", " << SizeText(backupSize_)
                << "; db-dravik --restore " << options_.backup
                << " --dest DB puts the destination back\n";
    std::cout << "Run log: " << RunLog(options_.folder).Path() << "\n";
    std::cout.flush();
  }

  const ConsoleOptions& options_;
  const ConsoleWindow::Progress progress_;
  ConsoleWindow window_;
  const std::string source_, dest_;
  std::unique_ptr<TDM1> dm_;
  int tableListLines_ = 0;
  long long backupSize_ = 0;
};

}  // namespace

int RunCommand(const ConsoleOptions& options, ConsoleWindow::Progress progress) {
  return Command(options, progress).Run();
}
