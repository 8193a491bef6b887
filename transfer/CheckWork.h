#pragma once
// What leaves each table the run writes as it is: the lines naming it, and
// the copies and updates since the run last emptied it of the rows it copied,
// in the run's order.
#include <string>
#include <vector>

#include "transfer/RunPlan.h"

namespace check {

struct Step {
  enum class Kind { Insert, Macros, InPlace, Column };
  Kind kind;
  const TablePlan* line;
  std::string argument;  // an insert's condition; an update's column
  bool Inserts() const { return kind == Kind::Insert || kind == Kind::Macros; }
};

struct TableWork {
  std::string table;
  std::vector<const TablePlan*> lines;
  std::vector<Step> steps;
};

// The tables in the order the table list first names them, then the events
// section's; the lines point into `plan`.
std::vector<TableWork> WorkOf(const RunPlan& plan);

}  // namespace check
