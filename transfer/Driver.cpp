// The table list driver: a clearing pass and a copying pass over the table list,
// then, on request, the event tables.
#include <exception>
#include <utility>

#include "text/RussianTexts.h"
#include "text/TextFile.h"
#include "transfer/Operations.h"
#include "transfer/TableList.h"
#include "transfer/TransferContext.h"

namespace {

enum class PassEnd { Completed, Interrupted };

// The record of a line (0: the events section), made when first needed.
LineRecord& Record(TransferContext& context, int line, const std::string& table) {
  for (LineRecord& record : context.lines)
    if (record.line == line && record.table == table) return record;
  context.lines.push_back(LineRecord{line, table, {}, false, 0, 0});
  return context.lines.back();
}

// Every call made for a line is guarded: the called operation has logged what it
// could, and one table must not stop the others. The error is recorded for the
// check, which reports a line that could not do its work.
template <typename Call>
void Guarded(TransferContext& context, int line, const std::string& table, Call&& call) {
  try {
    std::forward<Call>(call)();
  } catch (const std::exception& e) {
    Record(context, line, table).errors.push_back(e.what());
  }
}

// A copy, with the key-map entries its rows get; key-mapped tables append one
// entry a row, in the order the copy reads them.
template <typename Copy>
void RecordedCopy(TransferContext& context, int line, const std::string& table, int pair,
                  Copy&& copy) {
  const size_t first = pair != 0 ? context.keyMap.Pair(pair).OldCount() : 0;
  auto done = [&] {
    LineRecord& record = Record(context, line, table);
    record.copied = true;
    record.firstKeyEntry = first;
    record.keyEntries = pair != 0 ? context.keyMap.Pair(pair).OldCount() - first : 0;
  };
  try {
    std::forward<Copy>(copy)();
  } catch (...) {
    done();
    throw;
  }
  done();
}

bool NeverCleared(const std::string& table) {
  return IsEventTable(table) || IsDescriptionTable(table);
}

std::string TableListPath(const TransferContext& context) {
  return text::ResolveInFolder(context.programFolder, "Conv.txt");
}

void ClearDestination(TransferContext& context, const std::string& table,
                      const std::string& condition) {
  TDM1& dm = context.dm;
  ClearTable(context, dm.IBSQL3, dm.IBTransaction1, dm.IBDatabase1, table, condition);
}

void CopyTable(TransferContext& context, int line, const std::string& table,
               const std::string& keyColumn, const std::string& condition) {
  TDM1& dm = context.dm;
  RecordedCopy(context, line, table, KeyMapPairNumber(table), [&] {
    Perepis(context, dm.IBSQL4, dm.IBSQL3, dm.IBTransaction, dm.IBTransaction1, dm.IBDatabase3,
            dm.IBDatabase1, table, keyColumn, condition);
  });
}

// After every line, comments included: one step of the overall bar and a pump.
bool StepAndCheck(TransferWindow& window) {
  window.StepAllBar();
  window.ProcessMessages();
  return !window.Interrupted();
}

PassEnd ClearingPass(TransferContext& context) {
  TransferWindow& window = context.window;
  try {
    context.log.Append({"", RunLog::Timestamp() + ru::LogClearingPass()});
    text::TextFileReader list(TableListPath(context));
    window.SetStatusText(ru::StatusClearing());
    int number = 0;
    do {
      if (window.Interrupted()) return PassEnd::Interrupted;
      TableListLine line = ParseTableListLine(list.ReadLine(), TableListPass::Clearing);
      ++number;
      if (!line.comment && !NeverCleared(line.table)) {
        Guarded(context, number, line.table, [&] {
          ClearDestination(context, line.table, line.argument);
          // Zones belong to readers: they go whenever readers are deleted.
          if (line.table == "READERS") ClearDestination(context, "ZONES", "");
        });
      }
      if (!StepAndCheck(window)) return PassEnd::Interrupted;
    } while (!list.Eof());
  } catch (const std::exception&) {
    // No list or no log: the pass ends quietly and the run goes on.
  }
  return PassEnd::Completed;
}

void CopyLine(TransferContext& context, int number, const TableListLine& line) {
  TransferWindow& window = context.window;
  TDM1& dm = context.dm;
  window.SetStatusText(line.table);
  if (line.extraClearing || line.clearOnly) {
    Guarded(context, number, line.table, [&] {
      const std::string& words = line.extraClearing ? ru::LogExtraClearing() : ru::LogClearing();
      context.log.Append(RunLog::Timestamp() + words + line.table);
      if (!NeverCleared(line.table)) ClearDestination(context, line.table, "");
    });
  }
  window.ProcessMessages();
  Guarded(context, number, line.table, [&] {
    if (line.table == "MACROSES")
      RecordedCopy(context, number, line.table, keymap::kMacroses, [&] {
        PerepisMacros(context, dm.IBSQL4, dm.IBSQL3, dm.IBTransaction, dm.IBTransaction1,
                      dm.IBDatabase3, dm.IBDatabase1);
      });
    else if (!IsEventTable(line.table) && !line.clearOnly && !line.update)
      CopyTable(context, number, line.table, line.keyColumn, line.argument);
  });
  if (line.update) {
    Guarded(context, number, line.table, [&] {
      UpdPer(context, dm.IBSQL4, dm.IBSQL3, dm.IBTransaction, dm.IBTransaction1, dm.IBDatabase3,
             dm.IBDatabase1, line.table, line.keyColumn, line.argument);
    });
  }
}

void EventsSection(TransferContext& context) {
  TransferWindow& window = context.window;
  for (const EventTable& events : EventSectionTables()) {
    if (window.Interrupted()) return;
    window.SetStatusText(events.table);
    window.ProcessMessages();
    Guarded(context, 0, events.table,
            [&] { CopyTable(context, 0, events.table, events.keyColumn, ""); });
    window.StepAllBar();
  }
}

void CopyingPass(TransferContext& context) {
  TransferWindow& window = context.window;
  try {
    {
      text::TextFileReader list(TableListPath(context));
      context.log.Append({"", RunLog::Timestamp() + ru::LogCopyPass()});
      int number = 0;
      do {
        if (window.Interrupted()) return;
        std::string text = list.ReadLine();
        ++number;
        window.ProcessMessages();
        TableListLine line = ParseTableListLine(text, TableListPass::Copying);
        if (!line.comment) CopyLine(context, number, line);
        if (!StepAndCheck(window)) return;
      } while (!list.Eof());
    }
    if (window.EventsTicked()) EventsSection(context);
  } catch (const std::exception&) {
    // No list or no log: the pass and the events section end quietly.
  }
}

void RestartAllBar(TransferContext& context) {
  context.window.SetAllBarPosition(0);
  context.window.SetAllBarMax(context.stepCount);
}

}  // namespace

void ProcessTableList(TransferContext& context) {
  TDM1& dm = context.dm;
  RestartAllBar(context);
  context.destHasOwnerPhotos = UstNalOwnerPhoto(dm.IBSQL3, dm.IBTransaction1, dm.IBDatabase1);
  context.sourceHasOwnerPhotos = UstNalOwnerPhoto(dm.IBSQL4, dm.IBTransaction, dm.IBDatabase3);
  if (ClearingPass(context) == PassEnd::Interrupted) return;
  RestartAllBar(context);
  CopyingPass(context);
}
