// The plan as the command prints it: a table of the lines, what each line does
// in detail, the generators, the scripts and the totals.
#include <QCoreApplication>
#include <algorithm>
#include <map>
#include <optional>

#include "console/Language.h"
#include "console/Report.h"
#include "console/WindowTexts.h"
#include "transfer/RunPlan.h"

namespace {

class Plan {
  Q_DECLARE_TR_FUNCTIONS(Plan)
};

std::string Number(const std::optional<long long>& value) {
  return value ? lang::Count(*value) : "?";
}

std::string Rows(const std::optional<long long>& count) {
  return lang::Fill(Plan::tr("%1 rows", nullptr, lang::Plural(count.value_or(0))), {Number(count)});
}

std::string Map(int pair) {
  return lang::Fill(Plan::tr("map %1"), {std::to_string(pair)});
}

std::string Joined(const std::vector<std::string>& names) {
  if (names.empty()) return "-";
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ", ") + Utf8(name);
  return text;
}

QString ActionName(const TablePlan& line) {
  if (line.Skipped()) return Plan::tr("skipped");
  switch (line.action) {
    case LineAction::Comment:
      return Plan::tr("comment");
    case LineAction::Blank:
      return line.Fails() ? Plan::tr("broken") : Plan::tr("nothing");
    case LineAction::Copy:
      return Plan::tr("copy");
    case LineAction::UpdateInPlace:
      return Plan::tr("update rows");
    case LineAction::UpdateColumn:
      return Plan::tr("update column");
    case LineAction::ClearOnly:
      return Plan::tr("clear");
    case LineAction::Macros:
      return Plan::tr("macros");
    case LineAction::EventsSectionOnly:
      return Plan::tr("events only");
  }
  return QStringLiteral("?");
}

std::string KeysName(const TablePlan& line) {
  switch (line.keys) {
    case KeyHandling::New:
      return lang::Fill(Plan::tr("new (%1)"), {Map(line.pair)});
    case KeyHandling::Kept:
      return line.pair != 0 ? lang::Fill(Plan::tr("kept (%1)"), {Map(line.pair)})
                            : lang::Fill(Plan::tr("kept"));
    case KeyHandling::None:
      return "-";
  }
  return "-";
}

bool Copies(const TablePlan& line) {
  if (line.Skipped()) return false;
  return line.action == LineAction::Copy || line.action == LineAction::UpdateInPlace ||
         line.action == LineAction::UpdateColumn || line.action == LineAction::Macros;
}

std::string LineLabel(const TablePlan& line) {
  return line.line == 0 ? lang::Fill(Plan::tr("ev", "the events section in the table of lines"))
                        : std::to_string(line.line);
}

std::string Referenced(const ReferencePlan& reference) {
  std::string text = Utf8(reference.referencedTable);
  if (!reference.referencedKey.empty()) text += "." + Utf8(reference.referencedKey);
  return text + " (" + Map(reference.pair) + ")";
}

// Typed references of one column are shown on one line, type by type.
void PrintReferences(std::ostream& out, const TablePlan& line) {
  std::map<std::string, std::string> typed;
  std::vector<std::string> order;
  for (const ReferencePlan& reference : line.references) {
    if (!reference.type) {
      const std::string what =
          reference.inTexts == KeysInTexts::ReaderRights
              ? lang::Fill(Plan::tr("reader keys in the USERS_RD_RIGHTS texts"))
          : reference.inTexts == KeysInTexts::MacroLines
              ? lang::Fill(Plan::tr("device keys in the macro lines"))
              : Utf8(reference.column);
      out << lang::Fill(Plan::tr("    reference: %1 -> %2"), {what, Referenced(reference)}) << "\n";
      continue;
    }
    std::string& types = typed[reference.column];
    if (types.empty()) order.push_back(reference.column);
    types +=
        (types.empty() ? "" : ", ") + std::to_string(*reference.type) + " " + Referenced(reference);
  }
  for (const std::string& column : order)
    out << lang::Fill(Plan::tr("    reference: %1 by type: %2"), {Utf8(column), typed[column]})
        << "\n";
}

// Notes first, then warnings, then errors.
void PrintFindings(std::ostream& out, const std::vector<PlanFinding>& findings,
                   const std::string& indent) {
  for (const Severity severity : {Severity::Note, Severity::Warning, Severity::Error}) {
    const QString mark = severity == Severity::Error     ? Plan::tr("ERROR: %1")
                         : severity == Severity::Warning ? Plan::tr("WARNING: %1")
                                                         : Plan::tr("note: %1");
    for (const PlanFinding& finding : findings)
      if (finding.severity == severity)
        out << indent << lang::Fill(mark, {FindingText(finding)}) << "\n";
  }
}

// Which source rows a line reads, when not all of them.
std::string RowsRead(const TablePlan& line, text::TDateTime eventsFrom) {
  const std::string from = eventsFrom == 0 ? std::string() : lang::Day(eventsFrom);
  switch (line.sourceRowChoice) {
    case SourceRowChoice::All:
      return std::string();
    case SourceRowChoice::Condition:
      return lang::Fill(Plan::tr("where %1"), {Utf8(line.sourceCondition)});
    case SourceRowChoice::OwnersPhotos:
      return lang::Fill(Plan::tr("the photos of the source's owners (OWNER.OW_PHOTO)"));
    case SourceRowChoice::Events:
      return from.empty() ? lang::Fill(Plan::tr("every row"))
                          : lang::Fill(Plan::tr("from %1"), {from});
    case SourceRowChoice::DescribedEvents:
      return from.empty() ? lang::Fill(Plan::tr("every row, with a matching description"))
                          : lang::Fill(Plan::tr("from %1, with a matching description"), {from});
    case SourceRowChoice::IniDataWithoutFilters:
      return lang::Fill(
          Plan::tr("without the sections USER_CAN_FILTER, USER_FILTERS, CTRL_FILTERS"));
  }
  return std::string();
}

void PrintLine(std::ostream& out, const TablePlan& line, text::TDateTime eventsFrom) {
  const std::string text = Utf8(line.line == 0 ? line.table + "=" + line.keyColumn : line.text);
  out << (line.line == 0 ? lang::Fill(Plan::tr("  events section: %1"), {text})
                         : lang::Fill(Plan::tr("  line %1: %2"), {std::to_string(line.line), text}))
      << "\n";
  if (line.deletes)
    out << (line.deleteCondition.empty()
                ? lang::Fill(Plan::tr("    deletes in the destination: %1 (every row)"),
                             {Rows(line.destRowsDeleted)})
                : lang::Fill(Plan::tr("    deletes in the destination: %1 where %2"),
                             {Rows(line.destRowsDeleted), Utf8(line.deleteCondition)}))
        << "\n";
  if (Copies(line)) {
    const std::string which = RowsRead(line, eventsFrom);
    out << (which.empty()
                ? lang::Fill(Plan::tr("    reads from the source: %1"), {Rows(line.sourceRows)})
                : lang::Fill(Plan::tr("    reads from the source: %1 (%2)"),
                             {Rows(line.sourceRows), which}))
        << "\n";
    if (line.sourceRowsLeftOut)
      out << lang::Fill(Plan::tr("    not moved: %1 no description matches (their code and "
                                 "additional code)"),
                        {Rows(line.sourceRowsLeftOut)})
          << "\n";
  }
  if (line.keys != KeyHandling::None)
    out << lang::Fill(Plan::tr("    keys: %1"), {KeysName(line)}) << "\n";
  if (line.destRowsAfter)
    out << lang::Fill(Plan::tr("    the destination then holds %1"), {Rows(line.destRowsAfter)})
        << "\n";
  if (Copies(line)) {
    out << lang::Fill(Plan::tr("    columns copied (%1): %2"),
                      {std::to_string(line.copied.size()), Joined(line.copied)})
        << "\n";
    if (!line.sourceOnly.empty())
      out << lang::Fill(Plan::tr("    only in the source, dropped: %1"), {Joined(line.sourceOnly)})
          << "\n";
    if (!line.destOnly.empty())
      out << lang::Fill(Plan::tr("    only in the destination, left to their defaults: %1"),
                        {Joined(line.destOnly)})
          << "\n";
  }
  PrintReferences(out, line);
  PrintFindings(out, line.findings, "    ");
}

void PrintLines(std::ostream& out, const RunPlan& plan, text::TDateTime eventsFrom) {
  out << "\n" << Plan::tr("Table list (Conv.txt), then the events section (ev):") << "\n";
  TextTable table(
      {lang::Fill(Plan::tr("line")), lang::Fill(Plan::tr("table")), lang::Fill(Plan::tr("markers")),
       lang::Fill(Plan::tr("action")), lang::Fill(Plan::tr("deleted")),
       lang::Fill(Plan::tr("source rows")), lang::Fill(Plan::tr("keys")),
       lang::Fill(Plan::tr("rows after")), lang::Fill(Plan::tr("references"))},
      "rlllrrlrr");
  for (const TablePlan& line : plan.lines) {
    if (line.action == LineAction::Comment) continue;
    table.Add({LineLabel(line), Utf8(line.table), line.markers, lang::Fill(ActionName(line)),
               line.deletes ? Number(line.destRowsDeleted) : "-",
               Copies(line) ? Number(line.sourceRows) : "-", KeysName(line),
               line.destRowsAfter ? lang::Count(*line.destRowsAfter) : "-",
               std::to_string(line.references.size())});
  }
  table.Print(out);
  out << Plan::tr(
             "  deleted: the destination's own rows of the table that the line's deletions "
             "take (rows a foreign key takes with an earlier deletion count there too); "
             "source rows: the rows the line copies or updates from; rows after: what the "
             "table then holds")
      << "\n";

  out << "\n" << Plan::tr("What each line does:") << "\n";
  for (const TablePlan& line : plan.lines) {
    if (line.action == LineAction::Comment) continue;
    if (line.action == LineAction::Blank && line.findings.empty()) continue;
    PrintLine(out, line, eventsFrom);
  }
}

void PrintGenerators(std::ostream& out, const RunPlan& plan) {
  out << "\n"
      << Plan::tr(
             "Generators (GENERATOR.txt): each is set to 1 + the largest value its column "
             "would hold if every source row arrived (0 for an empty table); new keys are "
             "counted on from the generator's present value, which a first script that "
             "resets it changes:")
      << "\n";
  TextTable table({lang::Fill(Plan::tr("line")), lang::Fill(Plan::tr("generator")),
                   lang::Fill(Plan::tr("table/column")), lang::Fill(Plan::tr("value")),
                   lang::Fill(Plan::tr("worked out from"))},
                  "rllrl");
  for (const GeneratorPlan& generator : plan.generators)
    table.Add({std::to_string(generator.line), Utf8(generator.generator),
               Utf8(generator.table + "/" + generator.column),
               generator.value ? lang::Count(*generator.value) : "-",
               generator.problem == GeneratorPlan::Problem::None
                   ? GeneratorBasisText(generator)
                   : lang::Fill(Plan::tr("ERROR: %1"), {GeneratorProblemText(generator)})});
  table.Print(out);
}

void PrintScripts(std::ostream& out, const RunPlan& plan) {
  out << "\n" << Plan::tr("Scripts:") << "\n";
  for (const ScriptPlan* script : {&plan.firstScript, &plan.secondScript}) {
    const bool first = script == &plan.firstScript;
    out << "  "
        << lang::Fill(first ? Plan::tr("%1 (before the tables are emptied): ")
                            : Plan::tr("%1 (after the copy): "),
                      {script->file});
    if (!script->error.empty()) {
      out << lang::Fill(Plan::tr("ERROR: %1"), {WindowMessage(script->error)}) << "\n";
      continue;
    }
    const std::string statements = lang::Fill(
        Plan::tr("%1 statements", nullptr, script->statements), {lang::Count(script->statements)});
    out << lang::Fill(Plan::tr("%1 in %2 blocks of the log", nullptr, script->blocks),
                      {statements, lang::Count(script->blocks)});
    if (!first) out << Plan::tr(", a one-second pause after each block");
    out << "\n";
  }
}

void PrintTotals(std::ostream& out, const RunPlan& plan, const BackupPlan& backup) {
  long long deleted = 0, read = 0, leftOut = 0;
  int copied = 0, lines = 0;
  for (const TablePlan& line : plan.lines) {
    if (line.line != 0) ++lines;
    deleted += line.destRowsDeleted.value_or(0);
    leftOut += line.sourceRowsLeftOut.value_or(0);
    if (Copies(line)) read += line.sourceRows.value_or(0);
    if (line.action == LineAction::Copy || line.action == LineAction::Macros) ++copied;
  }
  const std::vector<std::string> totals = {
      lang::Fill(Plan::tr("%1 lines", nullptr, lines), {lang::Count(lines)}),
      lang::Fill(Plan::tr("%1 table copies", nullptr, copied), {lang::Count(copied)}),
      lang::Fill(Plan::tr("%1 destination rows deleted", nullptr, lang::Plural(deleted)),
                 {lang::Count(deleted)}),
      lang::Fill(Plan::tr("%1 source rows read", nullptr, lang::Plural(read)), {lang::Count(read)}),
      lang::Fill(Plan::tr("%1 generators", nullptr, static_cast<int>(plan.generators.size())),
                 {lang::Count(static_cast<long long>(plan.generators.size()))}),
      lang::Fill(Plan::tr("%1 warnings", nullptr, plan.Warnings()), {lang::Count(plan.Warnings())}),
      lang::Fill(Plan::tr("%1 errors", nullptr, plan.Errors()), {lang::Count(plan.Errors())}),
  };
  std::string joined;
  for (const std::string& total : totals) joined += (joined.empty() ? "" : ", ") + total;
  out << "\n" << lang::Fill(Plan::tr("Totals: %1"), {joined}) << "\n";
  if (leftOut > 0)
    out << lang::Fill(Plan::tr("Events and alarms not moved, for no description matches their "
                               "codes: %1"),
                      {lang::Count(leftOut)})
        << "\n";
  if (plan.Errors() > 0 || backup.problem.Found())
    out << (JudgeRun(plan, backup.problem).refusals > 0
                ? Plan::tr("The plan names errors (marked ERROR above): a run does not start, not "
                           "even with --force.")
                : Plan::tr("The plan names errors (marked ERROR above): a run does not start; "
                           "with --force it runs, and those lines do not do their work."))
        << "\n";
}

}  // namespace

void PrintPlan(std::ostream& out, const ConsoleOptions& options, const RunPlan& plan,
               const BackupPlan& backup) {
  // The heading's labels in one column, however long their words are.
  const std::vector<std::pair<QString, std::string>> heading = {
      {Plan::tr("source:"), options.source},
      {Plan::tr("destination:"), options.dest},
      {Plan::tr("folder:"), options.folder},
      {Plan::tr("events:"), !options.events ? lang::Fill(Plan::tr("not moved"))
                            : options.eventsFrom == 0
                                ? lang::Fill(Plan::tr("all"))
                                : lang::Fill(Plan::tr("from %1"), {lang::Day(options.eventsFrom)})},
      {Plan::tr("locations:"),
       lang::Fill(options.keepLocations ? Plan::tr("kept") : Plan::tr("not kept"))},
      {Plan::tr("dest size:"), backup.destSize
                                   ? SizeText(*backup.destSize)
                                   : lang::Fill(Plan::tr("unknown: %1"), {Utf8(backup.sizeError)})},
      {Plan::tr("backup:"),
       options.backup.empty()
           ? lang::Fill(Plan::tr("none (--backup FILE saves the destination before the run)"))
       : !backup.problem.Found()
           ? lang::Fill(Plan::tr("the destination is saved into %1 before the first script"),
                        {options.backup})
           : lang::Fill(Plan::tr("ERROR: %1"), {BackupProblemText(backup.problem)})},
      {Plan::tr("owner photos:"), lang::Fill(Plan::tr("source in %1, destination in %2"),
                                             {plan.sourceHasOwnerPhotos ? "OWNERPHOTOS" : "OWNER",
                                              plan.destHasOwnerPhotos ? "OWNERPHOTOS" : "OWNER"})},
  };
  qsizetype width = 0;
  for (const auto& [label, value] : heading) width = std::max(width, label.size());
  out << Plan::tr(
             "Plan of a transfer: nothing has been written to either database, and the run "
             "log is left as it was.")
      << "\n";
  for (const auto& [label, value] : heading)
    out << "  " << label.leftJustified(width + 1, u' ') << value << "\n";
  PrintFindings(out, plan.findings, "  ");
  PrintLines(out, plan, options.eventsFrom);
  PrintGenerators(out, plan);
  PrintScripts(out, plan);
  PrintTotals(out, plan, backup);
}
