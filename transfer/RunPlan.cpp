// A run's plan as a whole: its parts in order, and its counts of errors and
// warnings.
#include "transfer/Operations.h"
#include "transfer/PlanParts.h"
#include "transfer/ReadOnlySession.h"
#include "transfer/TablePlanner.h"

namespace {

int CountOf(const std::vector<PlanFinding>& findings, Severity severity) {
  int count = 0;
  for (const PlanFinding& finding : findings) count += finding.severity == severity ? 1 : 0;
  return count;
}

}  // namespace

namespace runplan {

std::string KeptRowsWhere(const std::vector<std::string>& conditions) {
  if (conditions.empty()) return std::string();
  std::string any;
  for (const std::string& condition : conditions)
    any += (any.empty() ? "(" : " OR (") + condition + ")";
  // A row whose condition is NULL is not deleted, so it stays.
  return "WHERE (" + any + ") IS NOT TRUE";
}

}  // namespace runplan

int TablePlan::Count(Severity severity) const {
  return CountOf(findings, severity);
}

bool TablePlan::Skipped() const {
  for (const PlanFinding& finding : findings)
    if (finding.kind == FindingKind::EventTableInNeither ||
        finding.kind == FindingKind::EventTableNotInSource ||
        finding.kind == FindingKind::EventTableNotInDest)
      return true;
  return false;
}

int RunPlan::Errors() const {
  int count = CountOf(findings, Severity::Error);
  for (const TablePlan& line : lines) count += line.Count(Severity::Error);
  for (const GeneratorPlan& generator : generators)
    count += generator.problem == GeneratorPlan::Problem::None ? 0 : 1;
  for (const ScriptPlan* script : {&firstScript, &secondScript})
    count += script->error.empty() ? 0 : 1;
  return count;
}

int RunPlan::Warnings() const {
  int count = CountOf(findings, Severity::Warning);
  for (const TablePlan& line : lines) count += line.Count(Severity::Warning);
  return count;
}

RunPlan MakeRunPlan(ReadOnlySession& session, const PlanOptions& options) {
  RunPlan plan;
  ReadOnlySession::Side& dest = session.Dest();
  ReadOnlySession::Side& source = session.Source();
  plan.destHasOwnerPhotos = UstNalOwnerPhoto(dest.statement, dest.transaction, dest.database);
  plan.sourceHasOwnerPhotos =
      UstNalOwnerPhoto(source.statement, source.transaction, source.database);
  runplan::TablePlanner(session, options, plan).Run();
  runplan::PlanRunGuards(session, plan);
  runplan::PlanGenerators(session, plan, options);
  runplan::PlanScripts(options, plan);
  return plan;
}
