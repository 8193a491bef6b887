// The guards before a run and the way back, in the command's words: the plan's
// findings, a backup file that cannot be used, the errors a refused run names,
// and what a failed restore left.
#include <cstring>

#include "console/Report.h"
#include "db/DatabaseLocation.h"
#include "transfer/RunPlan.h"
#include "transfer/WayBack.h"

namespace {

std::string Rows(long long count) {
  return std::to_string(count) + (count == 1 ? " source row" : " source rows");
}

std::string Reason(int systemError) {
  return std::strerror(systemError);
}

std::string LineName(const TablePlan& line) {
  if (line.line == 0) return "events section, " + Utf8(line.table);
  return "line " + std::to_string(line.line) + " (" + Utf8(line.text) + ")";
}

// One error on its own line; an engine's message of several lines goes on
// indented, so that the next error still stands out.
void Say(std::ostream& out, const std::string& indent, const std::string& where,
         const std::string& what, bool refused) {
  std::string text;
  for (size_t i = 0; i < what.size(); ++i) {
    if (what[i] == '\r' && i + 1 < what.size() && what[i + 1] == '\n') continue;
    text += what[i];
    if (what[i] == '\n' || what[i] == '\r') text += indent + "    ";
  }
  out << indent << (where.empty() ? "" : where + ": ") << text
      << (refused ? " [--force does not run over this]" : "") << "\n";
}

}  // namespace

std::string ShellQuoted(const std::string& path) {
  static const char kPlain[] =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_@%+=:,./-";
  if (!path.empty() && path.find_first_not_of(kPlain) == std::string::npos) return path;
  std::string quoted = "'";
  for (char c : path) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string SideName(DatabaseSide side) {
  return side == DatabaseSide::Source ? "source" : "destination";
}

std::string FindingText(const PlanFinding& finding) {
  switch (finding.kind) {
    case FindingKind::EmptyTableList:
      return "the table list names no table (no TABLE=KEY line): a run would copy nothing, yet "
             "run both scripts and reset the devices' states";
    case FindingKind::DestinationReadOnly:
      return "the destination is in read-only mode: every write would fail (gfix -mode "
             "read_write makes it writable)";
    case FindingKind::EventTableInNeither:
      return "neither database has this table: the events section skips it";
    case FindingKind::EventTableNotInSource:
      return "the source has no such table: the events section skips it";
    case FindingKind::EventTableNotInDest:
      return finding.count > 0
                 ? "the destination has no such table: " + Rows(finding.count) + " could not arrive"
                 : "the destination has no such table, and the source has no rows for it to "
                   "move: the events section skips it";
    case FindingKind::KeptKeysHeld:
      return Rows(finding.count) +
             " bring keys the destination already holds and does not delete first: those rows "
             "will fail";
    case FindingKind::KeptKeysTwice:
      return Rows(finding.count) +
             " bring keys the destination already holds and does not delete first, with no "
             "unique key on them: those rows will be there twice";
  }
  return "?";
}

std::string BackupProblemText(const BackupFileProblem& problem) {
  const std::string file = "the backup file " + problem.path;
  switch (problem.clash) {
    case BackupClash::None:
      return std::string();
    case BackupClash::Database:
      return "the backup file would be renamed over the " + SideName(problem.side) + " database " +
             problem.path;
    case BackupClash::TableList:
      return file + " would overwrite the table list";
    case BackupClash::GeneratorList:
      return file + " would overwrite the generator list";
    case BackupClash::Script:
      return file + " would overwrite a script of the run";
    case BackupClash::RunLog:
      return file + " would overwrite the run log";
    case BackupClash::Executable:
      return file + " would overwrite a program (a file that may be executed)";
    case BackupClash::FolderNotWritable:
      return "the folder " + problem.path +
             " of the backup file cannot be written: " + Reason(problem.systemError);
  }
  return "?";
}

void PrintPlanErrors(std::ostream& out, const RunPlan& plan, const BackupFileProblem& backup,
                     const std::string& indent) {
  if (backup.Found()) Say(out, indent, "--backup", BackupProblemText(backup), true);
  for (const PlanFinding& finding : plan.findings)
    if (finding.severity == Severity::Error)
      Say(out, indent, "", FindingText(finding), IsRefusal(finding));
  for (const TablePlan& line : plan.lines) {
    for (const std::string& error : line.errors)
      Say(out, indent, LineName(line), Utf8(error), false);
    for (const PlanFinding& finding : line.findings)
      if (finding.severity == Severity::Error)
        Say(out, indent, LineName(line), FindingText(finding), false);
  }
  for (const GeneratorPlan& generator : plan.generators)
    if (!generator.error.empty())
      Say(out, indent,
          "generator list line " + std::to_string(generator.line) + " (" +
              Utf8(generator.generator) + ")",
          Utf8(generator.error), false);
  for (const ScriptPlan* script : {&plan.firstScript, &plan.secondScript})
    if (!script->error.empty()) Say(out, indent, script->file, Utf8(script->error), false);
}

std::string RestoreFailureAdvice(const RestoreResult& result, const std::string& backup,
                                 const std::string& dest) {
  const std::string again =
      "db-dravik --restore " + ShellQuoted(backup) + " --dest " + ShellQuoted(dest) + " --yes";
  switch (result.now) {
    case DestinationNow::Restored:
      return std::string();
    case DestinationNow::AsItWas:
      return "the destination " + dest + " was not restored and is as it was.";
    case DestinationNow::BackupInPlace:
      return "the destination " + dest +
             " already holds the backup's data; the failure came after it was put in place.";
    case DestinationNow::NotKnown:
      return "the server had begun to replace the destination " + dest +
             ": it may be gone, or hold only part of the backup.\nThe whole backup is restored "
             "on that server as " +
             result.keptCopy +
             ".\nTo put it back, run the restore again once the cause is mended:\n  " + again +
             "\nor, on the server, with no one attached to either file:\n  mv " +
             ShellQuoted(ib::LocateDatabase(result.keptCopy).path) + " " +
             ShellQuoted(ib::LocateDatabase(dest).path);
  }
  return std::string();
}
