// The plan as the command prints it: a table of the lines, what each line does
// in detail, the generators, the scripts and the totals.
#include <map>
#include <optional>

#include "console/Report.h"
#include "transfer/RunPlan.h"

namespace {

std::string Number(const std::optional<long long>& value) {
  return value ? std::to_string(*value) : "?";
}

std::string Joined(const std::vector<std::string>& names) {
  if (names.empty()) return "-";
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ", ") + Utf8(name);
  return text;
}

// An event table a database lacks: the run's copy stops at its first statement.
bool Skipped(const TablePlan& line) {
  for (const PlanFinding& finding : line.findings)
    if (finding.kind == FindingKind::EventTableInNeither ||
        finding.kind == FindingKind::EventTableNotInSource ||
        finding.kind == FindingKind::EventTableNotInDest)
      return true;
  return false;
}

std::string ActionName(const TablePlan& line) {
  if (Skipped(line)) return "skipped";
  switch (line.action) {
    case LineAction::Comment:
      return "comment";
    case LineAction::Blank:
      return line.errors.empty() ? "nothing" : "broken";
    case LineAction::Copy:
      return "copy";
    case LineAction::UpdateInPlace:
      return "update rows";
    case LineAction::UpdateColumn:
      return "update column";
    case LineAction::ClearOnly:
      return "clear";
    case LineAction::Macros:
      return "macros";
    case LineAction::EventsSectionOnly:
      return "events only";
  }
  return "?";
}

std::string KeysName(const TablePlan& line) {
  switch (line.keys) {
    case KeyHandling::New:
      return "new (map " + std::to_string(line.pair) + ")";
    case KeyHandling::Kept:
      return line.pair != 0 ? "kept (map " + std::to_string(line.pair) + ")" : "kept";
    case KeyHandling::None:
      return "-";
  }
  return "-";
}

bool Copies(const TablePlan& line) {
  if (Skipped(line)) return false;
  return line.action == LineAction::Copy || line.action == LineAction::UpdateInPlace ||
         line.action == LineAction::UpdateColumn || line.action == LineAction::Macros;
}

std::string LineLabel(const TablePlan& line) {
  return line.line == 0 ? "ev" : std::to_string(line.line);
}

std::string Referenced(const ReferencePlan& reference) {
  std::string text = Utf8(reference.referencedTable);
  if (!reference.referencedKey.empty()) text += "." + Utf8(reference.referencedKey);
  return text + " (map " + std::to_string(reference.pair) + ")";
}

// Typed references of one column are shown on one line, type by type.
void PrintReferences(std::ostream& out, const TablePlan& line) {
  std::map<std::string, std::string> typed;
  std::vector<std::string> order;
  for (const ReferencePlan& reference : line.references) {
    if (!reference.type) {
      const std::string what = reference.column.empty() ? reference.what : Utf8(reference.what);
      out << "    reference: " << what << " -> " << Referenced(reference) << "\n";
      continue;
    }
    std::string& types = typed[reference.column];
    if (types.empty()) order.push_back(reference.column);
    types +=
        (types.empty() ? "" : ", ") + std::to_string(*reference.type) + " " + Referenced(reference);
  }
  for (const std::string& column : order)
    out << "    reference: " << Utf8(column) << " by type: " << typed[column] << "\n";
}

void PrintFindings(std::ostream& out, const std::vector<PlanFinding>& findings,
                   const std::string& indent) {
  for (const PlanFinding& finding : findings) {
    const char* mark = finding.severity == Severity::Error     ? "ERROR: "
                       : finding.severity == Severity::Warning ? "WARNING: "
                                                               : "note: ";
    out << indent << mark << FindingText(finding) << "\n";
  }
}

void PrintLine(std::ostream& out, const TablePlan& line) {
  out << "  " << (line.line == 0 ? "events section" : "line " + std::to_string(line.line)) << ": "
      << Utf8(line.line == 0 ? line.table + "=" + line.keyColumn : line.text) << "\n";
  if (line.deletes)
    out << "    deletes in the destination: " << Number(line.destRowsDeleted) << " rows"
        << (line.deleteCondition.empty() ? " (every row)" : " where " + Utf8(line.deleteCondition))
        << "\n";
  if (Copies(line)) {
    out << "    reads from the source: " << Number(line.sourceRows) << " rows";
    if (!line.sourceRowsNote.empty()) out << " (" << Utf8(line.sourceRowsNote) << ")";
    out << "\n";
    if (line.sourceRowsLeftOut)
      out << "    not moved: " << *line.sourceRowsLeftOut
          << " rows no description matches (their code and additional code)\n";
  }
  if (line.keys != KeyHandling::None) out << "    keys: " << KeysName(line) << "\n";
  if (line.destRowsAfter)
    out << "    the destination then holds " << *line.destRowsAfter << " rows\n";
  if (Copies(line)) {
    out << "    columns copied (" << line.copied.size() << "): " << Joined(line.copied) << "\n";
    if (!line.sourceOnly.empty())
      out << "    only in the source, dropped: " << Joined(line.sourceOnly) << "\n";
    if (!line.destOnly.empty())
      out << "    only in the destination, left to their defaults: " << Joined(line.destOnly)
          << "\n";
  }
  PrintReferences(out, line);
  for (const std::string& note : line.notes) out << "    note: " << Utf8(note) << "\n";
  for (const std::string& warning : line.warnings) out << "    WARNING: " << Utf8(warning) << "\n";
  for (const std::string& error : line.errors) out << "    ERROR: " << Utf8(error) << "\n";
  PrintFindings(out, line.findings, "    ");
}

void PrintLines(std::ostream& out, const RunPlan& plan) {
  out << "\nTable list (Conv.txt), then the events section (ev):\n";
  TextTable table({"line", "table", "markers", "action", "deleted", "source rows", "keys",
                   "rows after", "references"},
                  "rlllrrlrr");
  for (const TablePlan& line : plan.lines) {
    if (line.action == LineAction::Comment) continue;
    table.Add({LineLabel(line), Utf8(line.table), line.markers, ActionName(line),
               line.deletes ? Number(line.destRowsDeleted) : "-",
               Copies(line) ? Number(line.sourceRows) : "-", KeysName(line),
               line.destRowsAfter ? std::to_string(*line.destRowsAfter) : "-",
               std::to_string(line.references.size())});
  }
  table.Print(out);
  out << "  deleted: the destination's own rows of the table that the line's deletions take "
         "(rows a foreign key takes with an earlier deletion count there too); source rows: "
         "the rows the line copies or updates from; rows after: what the table then holds\n";

  out << "\nWhat each line does:\n";
  for (const TablePlan& line : plan.lines) {
    if (line.action == LineAction::Comment) continue;
    if (line.action == LineAction::Blank && line.errors.empty() && line.findings.empty()) continue;
    PrintLine(out, line);
  }
}

void PrintGenerators(std::ostream& out, const RunPlan& plan) {
  out << "\nGenerators (GENERATOR.txt): each is set to 1 + the largest value its column would "
         "hold if every source row arrived (0 for an empty table); new keys are counted on "
         "from the generator's present value, which a first script that resets it changes:\n";
  TextTable table({"line", "generator", "table/column", "value", "worked out from"}, "rllrl");
  for (const GeneratorPlan& generator : plan.generators)
    table.Add(
        {std::to_string(generator.line), Utf8(generator.generator),
         Utf8(generator.table + "/" + generator.column),
         generator.value ? std::to_string(*generator.value) : "-",
         generator.error.empty() ? Utf8(generator.basis) : "ERROR: " + Utf8(generator.error)});
  table.Print(out);
}

void PrintScripts(std::ostream& out, const RunPlan& plan) {
  out << "\nScripts:\n";
  for (const ScriptPlan* script : {&plan.firstScript, &plan.secondScript}) {
    const bool first = script == &plan.firstScript;
    out << "  " << script->file
        << (first ? " (before the tables are emptied): " : " (after the copy): ");
    if (!script->error.empty()) {
      out << "ERROR: " << Utf8(script->error) << "\n";
      continue;
    }
    out << script->statements << " statements in " << script->blocks << " blocks of the log";
    if (!first) out << ", a one-second pause after each block";
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
  out << "\nTotals: " << lines << " lines, " << copied << " table copies, " << deleted
      << " destination rows deleted, " << read << " source rows read, " << plan.generators.size()
      << " generators, " << plan.Warnings() << " warnings, " << plan.Errors() << " errors\n";
  if (leftOut > 0)
    out << "Events and alarms not moved, for no description matches their codes: " << leftOut
        << "\n";
  if (plan.Errors() > 0 || backup.problem.Found())
    out << "The plan names errors (marked ERROR above): a run does not start"
        << (JudgeRun(plan, backup.problem).refusals > 0
                ? ", not even with --force.\n"
                : "; with --force it runs, and those lines do not do their work.\n");
}

}  // namespace

void PrintPlan(std::ostream& out, const ConsoleOptions& options, const RunPlan& plan,
               const BackupPlan& backup) {
  out << "Plan of a transfer: nothing has been written to either database, and the run log is "
         "left as it was.\n"
      << "  source:       " << options.source << "\n"
      << "  destination:  " << options.dest << "\n"
      << "  folder:       " << options.folder << "\n"
      << "  events:       "
      << (!options.events                  ? "not moved"
          : options.eventsFromText.empty() ? "all"
                                           : "from " + options.eventsFromText)
      << "\n"
      << "  locations:    " << (options.keepLocations ? "kept" : "not kept") << "\n"
      << "  dest size:    "
      << (backup.destSize ? SizeText(*backup.destSize) : "unknown: " + Utf8(backup.sizeError))
      << "\n"
      << "  backup:       "
      << (options.backup.empty() ? "none (--backup FILE saves the destination before the run)"
          : !backup.problem.Found()
              ? "the destination is saved into " + options.backup + " before the first script"
              : "ERROR: " + BackupProblemText(backup.problem))
      << "\n"
      << "  owner photos: source in " << (plan.sourceHasOwnerPhotos ? "OWNERPHOTOS" : "OWNER")
      << ", destination in " << (plan.destHasOwnerPhotos ? "OWNERPHOTOS" : "OWNER") << "\n";
  PrintFindings(out, plan.findings, "  ");
  PrintLines(out, plan);
  PrintGenerators(out, plan);
  PrintScripts(out, plan);
  PrintTotals(out, plan, backup);
}
