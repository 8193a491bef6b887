#include "app/TransferRun.h"

#include <exception>
#include <optional>
#include <stdexcept>

#include "app/Scripts.h"
#include "state/DynamicStates.h"
#include "text/RussianTexts.h"
#include "transfer/Operations.h"
#include "transfer/SameDatabase.h"
#include "transfer/TransferContext.h"

namespace {

void CutOutAll(std::string& path, char quote) {
  for (size_t at = path.find(quote); at != std::string::npos; at = path.find(quote))
    path.erase(at, 1);
}

// The steps of the run between attaching and the end steps. Returns early when
// the operator interrupts; errors escape to the end steps.
class RunSteps {
 public:
  RunSteps(TDM1& dm, DynamicStates& states, TransferWindow& window)
      : dm_(dm), states_(states), window_(window) {}

  void Run(std::optional<TransferContext>& context, const std::string& programFolder,
           int tableListLines, const TransferRun::PauseFunction& pause) {
    window_.SetStatusText(ru::StatusSavingStates());
    window_.ProcessMessages();
    states_.SaveDynamicStates();
    window_.ProcessMessages();

    const int stepCount = tableListLines + (window_.EventsTicked() ? 4 : 0);
    // Every run starts with an empty key map of its own.
    context.emplace(dm_, window_, states_, programFolder, stepCount);
    if (pause) context->pause = pause;
    window_.ProcessMessages();

    RABSQL(*context);
    if (window_.Interrupted()) return;  // the status keeps its text

    ProcessTableList(*context);
    window_.SetAllBarPosition(0);
    if (window_.Interrupted()) return Interrupted();

    Announce(ru::StatusProcessing());
    SucesSQL(*context);
    if (window_.Interrupted()) return Interrupted();

    Announce(ru::StatusRestoringGenerators());
    RestoreGenerators(*context);
    if (window_.Interrupted()) return Interrupted();

    Announce(ru::StatusRestoringStates());
    states_.RestoreDynamicStates();

    window_.SetStatusText(ru::StatusDone());
    window_.SetTableBarPosition(0);
    window_.ProcessMessages();
  }

 private:
  void Announce(const std::string& status) {
    window_.SetStatusText(status);
    window_.ProcessMessages();
  }

  void Interrupted() {
    window_.SetStatusText(ru::StatusInterrupted());
    window_.SetTableBarPosition(0);
    window_.SetAllBarPosition(0);
  }

  TDM1& dm_;
  DynamicStates& states_;
  TransferWindow& window_;
};

}  // namespace

std::string TransferRun::RemoveQuotes(std::string path) {
  CutOutAll(path, '"');
  CutOutAll(path, '\'');
  return path;
}

std::string TransferRun::ErrorReportText(std::string message) {
  // A message that ends in a letter or digit gets its full stop; bytes compare
  // as windows-1251 characters, so Cyrillic letters count as letters.
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') message += '.';
  return message;
}

void TransferRun::RunEndStep(const std::function<void()>& step, std::optional<std::string>& error) {
  try {
    step();
  } catch (const std::exception& e) {
    if (!error) error = e.what();
  } catch (...) {
    if (!error) error = ru::UnknownError();
  }
}

void TransferRun::MoveBitBtnClick(const std::string& programFolder, int tableListLines) {
  std::optional<std::string> error;
  std::optional<TransferContext> context;
  outcome_ = Outcome{};
  RunEndStep(
      [&] {
        window_.ClearInterrupt();
        const std::string sourcePath = RemoveQuotes(window_.SourceText());
        const std::string destPath = RemoveQuotes(window_.DestText());
        window_.SetRunning(true);
        if (SameDatabaseFile(sourcePath, destPath))
          throw std::runtime_error(ru::SamePathsMessage());

        outcome_.attachFailed = DatabaseSide::Source;
        dm_.IBDatabase3.SetDatabaseName(sourcePath);
        dm_.IBDatabase3.SetConnected(true);
        outcome_.attachFailed = DatabaseSide::Destination;
        dm_.IBDatabase1.SetDatabaseName(destPath);
        dm_.IBDatabase2.SetDatabaseName(destPath);
        dm_.IBDatabase1.SetConnected(true);
        dm_.IBDatabase2.SetConnected(true);
        outcome_.attachFailed = DatabaseSide::None;
        outcome_.attached = true;
        if (onBegin_ && !onBegin_()) return;
        if (window_.Interrupted()) {
          window_.SetStatusText(ru::StatusInterrupted());
          return;
        }
        outcome_.begun = true;

        RunSteps(dm_, states_, window_).Run(context, programFolder, tableListLines, pause_);
        outcome_.completed = !window_.Interrupted();
      },
      error);
  if (context) {
    outcome_.failedStatements = context->log.FailedStatements();
    outcome_.failedRows = context->log.FailedRows();
    outcome_.record.keyMap = std::move(context->keyMap);
    outcome_.record.lines = std::move(context->lines);
    outcome_.record.failedRows = context->log.FailedRowKeys();
    outcome_.record.failedUpdates = context->log.FailedUpdateKeys();
  }

  // The end steps run one by one: a failing one must not keep the others from
  // detaching, freeing and giving the window back.
  RunEndStep([&] { window_.SetBusyCursor(false); }, error);
  RunEndStep([&] { dm_.IBDatabase3.SetConnected(false); }, error);
  RunEndStep([&] { dm_.IBDatabase1.SetConnected(false); }, error);
  RunEndStep([&] { dm_.IBDatabase2.SetConnected(false); }, error);
  RunEndStep([&] { states_.FreeDynamicStates(); }, error);
  RunEndStep([&] { window_.SetRunning(false); }, error);
  RunEndStep(
      [&] {
        if (window_.Interrupted()) window_.ShowInterruptWarning(ru::InterruptWarning());
      },
      error);
  if (error) {
    std::optional<std::string> reportError;
    RunEndStep([&] { window_.ShowErrorReport(ErrorReportText(*error)); }, reportError);
  }
}
