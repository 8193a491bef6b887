#include "transfer/CheckWork.h"

#include <map>

#include "transfer/TableList.h"

namespace check {

namespace {

bool NeverCleared(const std::string& table) {
  return IsEventTable(table) || IsDescriptionTable(table);
}

}  // namespace

std::vector<TableWork> WorkOf(const RunPlan& plan) {
  std::vector<TableWork> works;
  std::map<std::string, size_t> index;
  for (const TablePlan& line : plan.lines) {
    if (line.action == LineAction::Comment || line.action == LineAction::EventsSectionOnly)
      continue;
    if (line.action == LineAction::Blank && !line.Fails()) continue;
    auto [found, added] = index.try_emplace(line.table, works.size());
    if (added) works.push_back(TableWork{line.table, {}, {}});
    TableWork& work = works[found->second];
    work.lines.push_back(&line);
    const TableListLine parsed =
        line.line == 0 ? TableListLine{} : ParseTableListLine(line.text, TableListPass::Copying);
    if ((parsed.extraClearing || parsed.clearOnly) && !NeverCleared(line.table)) work.steps.clear();
    switch (line.action) {
      case LineAction::Copy:
        work.steps.push_back({Step::Kind::Insert, &line, parsed.argument});
        break;
      case LineAction::UpdateInPlace:
        work.steps.push_back({Step::Kind::InPlace, &line, ""});
        break;
      case LineAction::Macros:
        // The macro transfer empties the table itself.
        work.steps.assign({{Step::Kind::Macros, &line, ""}});
        if (parsed.update) work.steps.push_back({Step::Kind::Column, &line, parsed.argument});
        break;
      case LineAction::UpdateColumn:
        work.steps.push_back({Step::Kind::Column, &line, parsed.argument});
        break;
      default:
        break;
    }
  }
  return works;
}

}  // namespace check
