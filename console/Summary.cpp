// The summary that closes a run: where it stopped, the rows, the failures, the
// check's verdict, the time, and the way back.
#include <QCoreApplication>

#include "console/Language.h"
#include "console/Report.h"
#include "console/WindowTexts.h"

namespace {

class Summary {
  Q_DECLARE_TR_FUNCTIONS(Summary)
};

std::string CheckVerdict(const std::optional<long long>& differences) {
  if (!differences) return lang::Fill(Summary::tr("not made, the run did not reach its end"));
  if (*differences == 0) return lang::Fill(Summary::tr("no difference"));
  return lang::Fill(Summary::tr("%1 differences", nullptr, lang::Plural(*differences)),
                    {lang::Count(*differences)});
}

}  // namespace

void PrintSummary(std::ostream& out, const RunSummary& summary) {
  out << "\n" << WindowStatus(summary.lastStatus) << "\n";
  if (!summary.interruptedIn.empty())
    out << lang::Fill(Summary::tr("Interrupted in or after %1 (step %2 of %3): what was written "
                                  "stays."),
                      {Utf8(summary.interruptedIn), lang::Count(summary.interruptedStep),
                       lang::Count(summary.steps)})
        << "\n";
  std::string rows =
      lang::Fill(Summary::tr("Rows copied: %1 of %2 read", nullptr, lang::Plural(summary.rowsRead)),
                 {lang::Count(summary.rowsRead - summary.rowsLost), lang::Count(summary.rowsRead)});
  if (summary.notMoved && *summary.notMoved > 0)
    rows += lang::Fill(Summary::tr(" (%1 events and alarms not read: no description matches "
                                   "their codes)",
                                   nullptr, lang::Plural(*summary.notMoved)),
                       {lang::Count(*summary.notMoved)});
  out << lang::Fill(Summary::tr("%1; failed statements: %2"),
                    {rows, lang::Count(summary.failedStatements)})
      << "\n";
  if (summary.planErrorsForced > 0)
    out << lang::Fill(Summary::tr("Plan: %1 errors, run over with --force: those lines did not "
                                  "do their work",
                                  nullptr, summary.planErrorsForced),
                      {lang::Count(summary.planErrorsForced)})
        << "\n";
  if (summary.checkAsked)
    out << lang::Fill(Summary::tr("Check: %1"), {CheckVerdict(summary.differences)}) << "\n";
  out << (summary.differences
              ? lang::Fill(
                    Summary::tr("Time: %1 s, the check %2 s more"),
                    {lang::Decimal(summary.seconds, 1), lang::Decimal(summary.checkSeconds, 1)})
              : lang::Fill(Summary::tr("Time: %1 s"), {lang::Decimal(summary.seconds, 1)}))
      << "\n";
  if (!summary.backup.empty())
    out << lang::Fill(Summary::tr("Backup: %1, %2; this puts the destination back:\n  %3"),
                      {summary.backup, SizeText(summary.backupSize),
                       "db-dravik --restore " + ShellQuoted(summary.backup) + " --dest " +
                           ShellQuoted(summary.dest)})
        << "\n";
  out << lang::Fill(Summary::tr("Run log: %1"), {summary.runLog}) << "\n";
}
