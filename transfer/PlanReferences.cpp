// The references a table's copy rewrites, as the plan names them: by position
// among the inserted values, the readers' devices by name, and device keys whose
// table a type gives.
#include "transfer/KeyMap.h"
#include "transfer/PlanParts.h"
#include "transfer/ReferenceRewrites.h"
#include "transfer/TableCopyPlan.h"

namespace {

// The destination rows of one type, as SQL on the row alias X.
std::string TypeCondition(const std::string& table, const rewrites::TypedRewrite& rewrite,
                          int type) {
  const std::string number = std::to_string(type);
  if (table == "PRGDEF") return std::string("X.") + rewrite.typeColumn + " = " + number;
  // Events and alarms take their type from the description their codes match.
  const std::string prefix = table == "EVENTS" ? "X.EV_" : "X.AL_";
  return "EXISTS (SELECT 1 FROM EVDESC D WHERE D.ED_CODE = " + prefix + "CODE AND (" + prefix +
         "ADDCODE = D.ED_ADDCODE OR " + prefix + "ADDCODE - 256 = D.ED_ADDCODE) AND D." +
         rewrite.typeColumn + " = " + number + ")";
}

}  // namespace

namespace runplan {

std::vector<ReferencePlan> PlanReferences(const std::string& table,
                                          const std::vector<std::string>& values,
                                          const std::vector<std::string>& sourceColumns,
                                          std::vector<PlanFinding>& findings) {
  std::vector<ReferencePlan> references;
  auto valueAt = [&](int param) -> const std::string* {
    if (param < static_cast<int>(values.size())) return &values[static_cast<size_t>(param)];
    findings.push_back(Finding(FindingKind::NoValueForReference, Severity::Error, param + 1));
    return nullptr;
  };

  for (const rewrites::PositionRewrite& rewrite : rewrites::PositionRewritesOf(table)) {
    if (const std::string* column = valueAt(rewrite.param)) {
      ReferencePlan reference;
      reference.column = *column;
      reference.pair = rewrite.pair;
      references.push_back(reference);
    }
  }
  if (table == rewrites::kNamedRewriteTable) {
    for (const rewrites::NamedRewrite& rewrite : rewrites::ReaderDeviceColumns()) {
      if (!tablecopy::HasColumn(values, rewrite.param)) continue;
      ReferencePlan reference;
      reference.column = rewrite.param;
      reference.pair = rewrite.pair;
      references.push_back(reference);
    }
  }
  if (const rewrites::TypedRewrite* typed = rewrites::TypedRewriteOf(table)) {
    for (const char* needed : {typed->typeColumn, typed->sourceValueColumn}) {
      if (needed != nullptr && !tablecopy::HasColumn(sourceColumns, needed))
        findings.push_back(Named(FindingKind::SourceLacksColumn, Severity::Error, needed));
    }
    if (const std::string* column = valueAt(typed->param)) {
      for (const auto& [type, pair] : typed->pairOfType) {
        ReferencePlan reference;
        reference.column = *column;
        reference.type = type;
        reference.typeCondition = TypeCondition(table, *typed, type);
        reference.pair = pair;
        references.push_back(reference);
      }
    }
  }
  return references;
}

}  // namespace runplan
