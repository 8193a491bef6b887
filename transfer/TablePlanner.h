#pragma once
// The plan of the table list, shared by its two files: the passes over the
// list, the deletions and what each table then holds (PlanTables.cpp), and
// what each copy, macro transfer and column update would do (PlanCopies.cpp).
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "db/IB.h"
#include "transfer/RunPlan.h"
#include "transfer/TableCopyPlan.h"

class ReadOnlySession;

namespace runplan {

class TablePlanner {
 public:
  TablePlanner(ReadOnlySession& session, const PlanOptions& options, RunPlan& plan);

  // Plans every line, then the events section, then the rows each table
  // should hold after the run.
  void Run();

 private:
  // PlanTables.cpp
  void ReadTableList();
  bool EventTableThere(TablePlan& line);
  void PlanClearing(TablePlan& line);
  void PlanCopying(TablePlan& line);
  void ClearAgain(TablePlan& line);
  void FillReferenced(ReferencePlan& reference) const;
  void RowsAfter(TablePlan& line);
  TableFate& Fate(const std::string& table) { return plan_.fates[table]; }
  long long Delete(const std::string& table, const std::string& condition);
  std::optional<long long> KeptNow(const std::string& table);

  // PlanCopies.cpp
  void PlanCopy(TablePlan& line, const std::string& condition);
  void PlanInsert(TablePlan& line, const tablecopy::RowStatement& row,
                  const std::vector<std::string>& common,
                  const std::vector<std::string>& sourceColumns,
                  const std::vector<std::string>& query);
  void PlanMacros(TablePlan& line);
  void PlanUpdateColumn(TablePlan& line, const std::string& column);
  void CountLeftOut(TablePlan& line);
  void ChooseSourceRows(TablePlan& line, const std::string& condition) const;

  TIBSQL& source_;
  TIBSQL& dest_;
  const PlanOptions& options_;
  RunPlan& plan_;
  std::map<int, std::string> filled_;  // pairs filled by the lines so far, with their key
};

}  // namespace runplan
