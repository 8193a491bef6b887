#include "bench/Steps.h"

#include "text/TextFile.h"
#include "transfer/KeyMap.h"

namespace {

TableKind KindOf(const std::string& table) {
  if (IsUpdateTable(table)) return TableKind::Update;
  return KeyMapPairNumber(table) != 0 ? TableKind::KeyMapped : TableKind::Plain;
}

}  // namespace

Step StepOf(const TableListLine& line) {
  Step step;
  step.table = line.table;
  step.keyColumn = line.keyColumn;
  step.condition = line.argument;
  step.kind = KindOf(line.table);
  return step;
}

std::vector<RunLine> LinesOfRun(const std::filesystem::path& tableList) {
  std::vector<RunLine> lines;
  text::TextFileReader reader(tableList.string());
  while (!reader.Eof()) {
    const TableListLine line = ParseTableListLine(reader.ReadLine(), TableListPass::Copying);
    if (line.comment) continue;
    const bool copies = line.table == "MACROSES" || (!line.table.empty() && !line.clearOnly &&
                                                     !line.update && !IsEventTable(line.table));
    lines.push_back({line, copies});
  }
  for (const EventTable& events : EventSectionTables()) {
    TableListLine line;
    line.table = events.table;
    line.keyColumn = events.keyColumn;
    lines.push_back({line, true});
  }
  return lines;
}

std::vector<TableListLine> CopiedLines(const std::filesystem::path& tableList) {
  std::vector<TableListLine> copied;
  for (const RunLine& run : LinesOfRun(tableList))
    if (run.copies) copied.push_back(run.line);
  return copied;
}
