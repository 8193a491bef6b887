#pragma once
// The parts of a run's plan, each worked out in a file of its own.
#include <exception>
#include <map>
#include <string>
#include <vector>

#include "db/IB.h"
#include "transfer/RunPlan.h"

namespace runplan {

inline PlanFinding Finding(FindingKind kind, Severity severity, long long count = 0) {
  return PlanFinding{kind, severity, count, {}, {}, {}};
}
inline PlanFinding Named(FindingKind kind, Severity severity, std::string name,
                         std::string other = std::string()) {
  return PlanFinding{kind, severity, 0, std::move(name), std::move(other), {}};
}
// An error of the line with the engine's words.
inline PlanFinding Failure(FindingKind kind, const std::exception& error) {
  return PlanFinding{kind, Severity::Error, 0, {}, {}, error.what()};
}

// The references the copy of `table` rewrites (their referenced table is left
// to the caller). `values` are the insert's value columns, `sourceColumns` the
// columns the source query reads. Problems that fail every row go to `findings`.
std::vector<ReferencePlan> PlanReferences(const std::string& table,
                                          const std::vector<std::string>& values,
                                          const std::vector<std::string>& sourceColumns,
                                          std::vector<PlanFinding>& findings);

// The generators, once the table lines are planned, and the two scripts.
void PlanGenerators(ReadOnlySession& session, RunPlan& plan, const PlanOptions& options);
void PlanScripts(const PlanOptions& options, RunPlan& plan);

// The findings of the run as a whole: a table list that names no table, a
// destination in read-only mode. (A file this process cannot write the engine
// refuses to open at all.)
void PlanRunGuards(ReadOnlySession& session, RunPlan& plan);

// An event table of the events section that either database lacks: a note,
// or an error when the source has rows for it. False when the run skips it.
bool PlanEventTable(TIBSQL& source, TIBSQL& dest, const PlanOptions& options, TablePlan& line);

// A kept-key copy: the rows whose keys the destination holds and keeps as the
// table stands before the line (`fate`), counted without loading either side.
void PlanKeptKeys(TIBSQL& source, TIBSQL& dest, const PlanOptions& options, TablePlan& line,
                  const std::vector<std::string>& sourceQuery, const TableFate& fate);

// "WHERE ((a) OR (b)) IS NOT TRUE": the rows a table keeps when the rows meeting
// those conditions go; empty when there is none.
std::string KeptRowsWhere(const std::vector<std::string>& conditions);

}  // namespace runplan
