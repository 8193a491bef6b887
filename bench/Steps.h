#pragma once
// One measured table of a run, and the tables a run copies.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "bench/Ceiling.h"
#include "transfer/TableList.h"

enum class TableKind { KeyMapped, Plain, Update };

struct Step {
  std::string table;
  std::string keyColumn, condition;  // as the table list gives them
  TableKind kind = TableKind::Plain;
  long rows = 0;
  double seconds = 0;
  double cpuSeconds = 0;  // this process's, engine included: steadier on a shared machine
  // Through the window: the passes through its event loop and the time they
  // took, and the time the bars and the label took.
  long pumps = 0;
  double pumpSeconds = 0;
  double drawSeconds = 0;
  std::optional<CeilingResult> ceiling;
};

Step StepOf(const TableListLine& line);

// A line of a run's copying pass or of its events section.
struct RunLine {
  TableListLine line;
  bool copies = false;  // rows are copied (not only cleared or updated)
};

// What a run with the events box ticked walks after the clearing pass, in
// order: every line of the table list but its comments, then the events
// section's tables. The status line shows each of them.
std::vector<RunLine> LinesOfRun(const std::filesystem::path& tableList);
// Only the lines that copy rows.
std::vector<TableListLine> CopiedLines(const std::filesystem::path& tableList);
