// The two SQL scripts. A statement is a run of lines ended by a separator line:
// a blank one, or one holding "{***}" or "---". Every statement is logged as a
// block: its lines as read, then its outcome.
#include "app/Scripts.h"

#include <chrono>
#include <exception>
#include <optional>
#include <vector>

#include "text/RussianTexts.h"
#include "text/TextFile.h"
#include "transfer/ScriptReader.h"
#include "transfer/TransferContext.h"

namespace {

constexpr std::chrono::milliseconds kSecondScriptPause{1000};

// Reads one statement and makes it the statement's text.
std::vector<std::string> ReadStatement(text::TextFileReader& script, TIBSQL& statement) {
  std::vector<std::string> lines = ReadScriptStatement(script);
  statement.SetSQL(lines);
  return lines;
}

// Script statements run on destination connection 1 in the source transaction,
// which is re-pointed there before each one.
void BindForScript(TDM1& dm, TIBSQL& statement) {
  dm.IBTransaction.SetDefaultDatabase(&dm.IBDatabase1);
  statement.SetTransaction(&dm.IBTransaction);
}

std::vector<std::string> FailureLines(const std::string& message) {
  return {"", ru::LogStatementFailure(), "", message};
}

std::vector<std::string> SuccessLines() {
  return {"", ru::LogStatementSuccess()};
}

void WriteStatementStart(const RunLog& log, const std::vector<std::string>& lines) {
  std::vector<std::string> block{ru::LogStatementStart(), ""};
  block.insert(block.end(), lines.begin(), lines.end());
  log.Append(block);
}

// The first script: the statement's own failure to prepare ends the run.
void RunFirstStatement(TransferContext& context, text::TextFileReader& script) {
  TIBSQL& statement = context.dm.IBSQL3;
  BindForScript(context.dm, statement);
  StatementBracket bracket(statement);
  std::vector<std::string> lines;
  try {
    lines = ReadStatement(script, statement);
    WriteStatementStart(context.log, lines);
    if (!lines.empty()) statement.Prepare();
  } catch (...) {
    try {
      statement.Close();
    } catch (const std::exception&) {
    }
    throw;
  }
  try {
    if (!lines.empty()) statement.Execute();
    std::vector<std::string> outcome = SuccessLines();
    outcome.insert(outcome.end(), {"", ru::LogStatementEnd()});
    context.log.Append(outcome);
  } catch (const std::exception& e) {
    std::vector<std::string> outcome = FailureLines(e.what());
    outcome.insert(outcome.end(), {"", ru::LogStatementEnd()});
    context.log.AppendFailure(outcome);
  }
  statement.Close();
}

// The second script: every failure is logged and the script goes on.
void RunSecondStatement(TransferContext& context, text::TextFileReader& script) {
  TIBSQL& statement = context.dm.IBSQL6;
  BindForScript(context.dm, statement);
  StatementBracket bracket(statement);
  // Colons in procedure bodies must reach the database unchanged.
  statement.SetParamCheck(false);
  std::vector<std::string> lines = ReadStatement(script, statement);
  WriteStatementStart(context.log, lines);
  std::vector<std::string> outcome;
  bool failed = false;
  try {
    if (!lines.empty()) {
      statement.Prepare();
      statement.Execute();
      outcome = SuccessLines();
    }
  } catch (const std::exception& e) {
    outcome = FailureLines(e.what());
    failed = true;
  }
  std::optional<std::string> closeError;
  try {
    statement.Close();
  } catch (const std::exception& e) {
    closeError = e.what();
  }
  // The only moment the window repaints and the interrupt button reacts.
  context.window.ProcessMessages();
  // Ending the bracket commits; it discards its own errors, so the lock is
  // released even when closing failed.
  bracket.Close();
  if (closeError) {
    std::vector<std::string> failure = FailureLines(*closeError);
    outcome.insert(outcome.end(), failure.begin(), failure.end());
    failed = true;
  }
  outcome.insert(outcome.end(), {"", ru::LogStatementEnd()});
  if (failed)
    context.log.AppendFailure(outcome);
  else
    context.log.Append(outcome);
}

text::TextFileReader OpenScript(const TransferContext& context, const std::string& name) {
  text::TextFileReader script(text::ResolveInFolder(context.programFolder, name));
  context.log.CheckAppendable();
  return script;
}

}  // namespace

void RABSQL(TransferContext& context) {
  context.window.SetBusyCursor(true);
  text::TextFileReader script = OpenScript(context, "SQL/_Upd.sql");
  do {
    RunFirstStatement(context, script);
  } while (!script.Eof());
  context.window.SetBusyCursor(false);
}

void SucesSQL(TransferContext& context) {
  context.window.SetBusyCursor(true);
  text::TextFileReader script = OpenScript(context, "SQL/Upd.sql");
  do {
    RunSecondStatement(context, script);
    context.pause(kSecondScriptPause);
  } while (!script.Eof());
  context.window.SetBusyCursor(false);
}
