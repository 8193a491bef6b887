// The guards before a run and the way back, in the command's words: the plan's
// findings, a backup file that cannot be used, the errors a refused run names,
// and what a failed restore left.
#include <QCoreApplication>
#include <cstring>

#include "console/Language.h"
#include "console/Report.h"
#include "console/WindowTexts.h"
#include "db/DatabaseLocation.h"
#include "transfer/RunPlan.h"
#include "transfer/WayBack.h"

namespace {

class Guards {
  Q_DECLARE_TR_FUNCTIONS(Guards)
};

std::string Reason(int systemError) {
  return std::strerror(systemError);
}

std::string LineName(const TablePlan& line) {
  if (line.line == 0) return lang::Fill(Guards::tr("events section, %1"), {Utf8(line.table)});
  return lang::Fill(Guards::tr("line %1 (%2)"), {std::to_string(line.line), Utf8(line.text)});
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
  out << indent << (where.empty() ? "" : where + ": ") << text;
  if (refused) out << " " << Guards::tr("[--force does not run over this]");
  out << "\n";
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
  return (side == DatabaseSide::Source ? Guards::tr("source") : Guards::tr("destination"))
      .toStdString();
}

std::string BackupProblemText(const BackupFileProblem& problem) {
  const std::string& file = problem.path;
  switch (problem.clash) {
    case BackupClash::None:
      return std::string();
    case BackupClash::Database:
      return lang::Fill(problem.side == DatabaseSide::Source
                            ? Guards::tr("the backup file would be renamed over the source "
                                         "database %1")
                            : Guards::tr("the backup file would be renamed over the destination "
                                         "database %1"),
                        {file});
    case BackupClash::TableList:
      return lang::Fill(Guards::tr("the backup file %1 would overwrite the table list"), {file});
    case BackupClash::GeneratorList:
      return lang::Fill(Guards::tr("the backup file %1 would overwrite the generator list"),
                        {file});
    case BackupClash::Script:
      return lang::Fill(Guards::tr("the backup file %1 would overwrite a script of the run"),
                        {file});
    case BackupClash::RunLog:
      return lang::Fill(Guards::tr("the backup file %1 would overwrite the run log"), {file});
    case BackupClash::Executable:
      return lang::Fill(
          Guards::tr("the backup file %1 would overwrite a program (a file that may be executed)"),
          {file});
    case BackupClash::FolderNotWritable:
      return lang::Fill(Guards::tr("the folder %1 of the backup file cannot be written: %2"),
                        {file, Reason(problem.systemError)});
  }
  return "?";
}

void PrintPlanErrors(std::ostream& out, const RunPlan& plan, const BackupFileProblem& backup,
                     const std::string& indent) {
  if (backup.Found()) Say(out, indent, "--backup", BackupProblemText(backup), true);
  for (const PlanFinding& finding : plan.findings)
    if (finding.severity == Severity::Error)
      Say(out, indent, "", FindingText(finding), IsRefusal(finding));
  for (const TablePlan& line : plan.lines)
    for (const PlanFinding& finding : line.findings)
      if (finding.severity == Severity::Error)
        Say(out, indent, LineName(line), FindingText(finding), false);
  for (const GeneratorPlan& generator : plan.generators)
    if (generator.problem != GeneratorPlan::Problem::None)
      Say(out, indent,
          lang::Fill(Guards::tr("generator list line %1 (%2)"),
                     {std::to_string(generator.line), Utf8(generator.generator)}),
          GeneratorProblemText(generator), false);
  for (const ScriptPlan* script : {&plan.firstScript, &plan.secondScript})
    if (!script->error.empty()) Say(out, indent, script->file, WindowMessage(script->error), false);
}

std::string RestoreFailureAdvice(const RestoreResult& result, const std::string& backup,
                                 const std::string& dest) {
  const std::string again =
      "db-dravik --restore " + ShellQuoted(backup) + " --dest " + ShellQuoted(dest) + " --yes";
  switch (result.now) {
    case DestinationNow::Restored:
      return std::string();
    case DestinationNow::AsItWas:
      return lang::Fill(Guards::tr("the destination %1 was not restored and is as it was."),
                        {dest});
    case DestinationNow::BackupInPlace:
      return lang::Fill(Guards::tr("the destination %1 already holds the backup's data; the "
                                   "failure came after it was put in place."),
                        {dest});
    case DestinationNow::NotKnown:
      return lang::Fill(
          Guards::tr("the server had begun to replace the destination %1: it may be gone, or "
                     "hold only part of the backup.\nThe whole backup is restored on that server "
                     "as %2.\nTo put it back, run the restore again once the cause is mended:\n"
                     "  %3\nor, on the server, with no one attached to either file:\n  %4"),
          {dest, result.keptCopy, again,
           "mv " + ShellQuoted(ib::LocateDatabase(result.keptCopy).path) + " " +
               ShellQuoted(ib::LocateDatabase(dest).path)});
  }
  return std::string();
}
