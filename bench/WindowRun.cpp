#include "bench/WindowRun.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <cstdlib>
#include <iostream>

#include "app/Inputs.h"
#include "app/QtText.h"
#include "bench/Memory.h"
#include "bench/TimedForm.h"
#include "state/DynamicStates.h"
#include "state/TableSts.h"
#include "tests/window/RecordingServices.h"
#include "text/RussianTexts.h"
#include "transfer/SourceReader.h"

namespace fs = std::filesystem;

namespace {

using Clock = TimedForm::Clock;
using Interval = TimedForm::Interval;

[[noreturn]] void Fail(const std::string& what, const RecordingServices& services) {
  std::cerr << "bench_transfer: " << what << "\n";
  for (const ShownMessage& box : services.messages)
    std::cerr << "  box: " << text::Utf8FromCp1251(box.text) << "\n";
  std::exit(1);
}

double Between(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double>(to - from).count();
}

template <typename W>
W& Control(TDbDravikForm& form, const char* name, const RecordingServices& services) {
  W* control = form.findChild<W*>(QLatin1String(name));
  if (!control) Fail(std::string("the window has no ") + name, services);
  return *control;
}

void Tick(QCheckBox& box, bool ticked) {
  // Clicked as the operator clicks it: the window follows the box's click.
  if (box.isChecked() != ticked) box.click();
}

// The first interval at or after `from` with the status text; fails when none.
size_t Find(const std::vector<Interval>& intervals, size_t from, const std::string& status,
            const RecordingServices& services) {
  for (size_t i = from; i < intervals.size(); ++i)
    if (intervals[i].status == status) return i;
  Fail("the status line never showed " + text::Utf8FromCp1251(status), services);
}

// The first row of `select`, integers, read on an attachment of its own.
std::vector<long> SelectRow(const fs::path& db, const std::string& select) {
  TDM1 dm;
  dm.IBDatabase1.SetDatabaseName(db.string());
  dm.IBDatabase1.Open();
  std::vector<long> row;
  {
    TIBSQL& sql = dm.IBSQL3;
    StatementBracket bracket(sql);
    sql.SetSQL({select});
    sql.Execute();
    for (int c = 0; !sql.AtEnd() && c < sql.ColumnCount(); ++c)
      row.push_back(sql.Column(c).GetInteger());
    sql.Close();
  }
  dm.IBDatabase1.Close();
  return row;
}

long Count(const fs::path& db, const std::string& select) {
  return SelectRow(db, "SELECT COUNT(*) FROM " + select).at(0);
}

// The steps of the copying pass and the events section: every status text
// after the clearing pass's names one line of the run, and the next text ends it.
std::vector<Step> StepsOf(const std::vector<Interval>& intervals, size_t clearing,
                          const fs::path& dest, const RecordingServices& services) {
  const std::vector<RunLine> lines =
      LinesOfRun(fs::path(DRAVIK_SOURCE_DIR) / "schema" / "control" / "Conv.txt");
  if (intervals.size() < clearing + lines.size() + 2)
    Fail("the run showed fewer tables than its table list has", services);
  std::vector<Step> steps;
  for (size_t k = 0; k < lines.size(); ++k) {
    const Interval& at = intervals[clearing + 1 + k];
    const Interval& next = intervals[clearing + 2 + k];
    if (at.status != lines[k].line.table)
      Fail("the status line showed " + text::Utf8FromCp1251(at.status) + " for " +
               lines[k].line.table,
           services);
    if (!lines[k].copies) continue;
    Step step = StepOf(lines[k].line);
    step.seconds = Between(at.start, next.start);
    step.cpuSeconds = next.cpuStart - at.cpuStart;
    step.pumps = at.pumps;
    step.pumpSeconds = at.pumpSeconds;
    step.drawSeconds = at.drawSeconds;
    step.rows = at.tableBarMax;
    // The macro transfer sets no table bar; the destination holds what it wrote.
    if (step.table == "MACROSES") step.rows = Count(dest, "MACROSES");
    steps.push_back(step);
  }
  if (intervals[clearing + 1 + lines.size()].status != ru::StatusProcessing())
    Fail("the run showed more tables than its table list has", services);
  return steps;
}

}  // namespace

fs::path MakeProgramFolder(const fs::path& folder) {
  const fs::path control = fs::path(DRAVIK_SOURCE_DIR) / "schema" / "control";
  fs::create_directories(folder);
  fs::copy(control, folder, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  return folder;
}

WindowRun RunThroughWindow(TDM1& dm, const fs::path& programFolder, const fs::path& source,
                           const fs::path& dest, const WindowRunOptions& options) {
  RecordingServices services;
  const std::string folder = programFolder.string() + "/";
  TimedForm form(dm, services, folder + "DB_Dravik", folder + "DB_dravik.hlp", options.eventLoop);
  form.show();
  QDeadlineTimer opened(30000);
  while (!form.StartupChecksMade() && !opened.hasExpired())
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  if (!form.StartupChecksMade() || !services.messages.empty())
    Fail("the window did not pass its start-up checks", services);

  Control<FileNameEdit>(form, "SourceFE", services).setText(QFile::decodeName(source.c_str()));
  Control<FileNameEdit>(form, "DestFE", services).setText(QFile::decodeName(dest.c_str()));
  Tick(Control<QCheckBox>(form, "EventsCB", services), true);
  Tick(Control<QCheckBox>(form, "SaveUserPlaceCB", services), options.keepLocations);
  QPushButton& start = Control<QPushButton>(form, "MoveBitBtn", services);
  if (!start.isEnabled()) Fail("the start button stayed disabled", services);

  SourceReader::SetReadAhead(options.readAhead);
  struct ReadAheadAgain {
    ~ReadAheadAgain() { SourceReader::SetReadAhead(true); }
  } readAheadAgain;
  WindowRun run;
  run.peakOfRunOnly = ResetPeakRss();
  SourceReader::ResetTotalWaits();
  run.rssBeforeKb = CurrentRssKb();
  const Clock::time_point pressed = Clock::now();
  start.click();
  const QString done = ToQt(ru::StatusDone());
  const QLabel& status = Control<QLabel>(form, "TabLabel", services);
  // The large site takes minutes through a busy machine's window.
  QDeadlineTimer ended(60 * 60 * 1000);
  while (status.text() != done && !ended.hasExpired())
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  if (status.text() != done) Fail("the run never said it was done", services);
  if (!services.messages.empty()) Fail("the run showed a box", services);
  run.peakKb = PeakRssKb();
  run.waits = SourceReader::TotalWaits();

  const std::vector<Interval>& intervals = form.Intervals();
  const size_t saving = Find(intervals, 0, ru::StatusSavingStates(), services);
  const size_t clearing = Find(intervals, saving, ru::StatusClearing(), services);
  const size_t processing = Find(intervals, clearing, ru::StatusProcessing(), services);
  const size_t restoring = Find(intervals, processing, ru::StatusRestoringStates(), services);
  const size_t finished = Find(intervals, restoring, ru::StatusDone(), services);
  const Interval& save = intervals[saving];
  const Interval& restore = intervals[restoring];
  if (!save.secondPumpStart || !restore.firstPumpEnd)
    Fail("the state passes ran without their pumps", services);

  run.steps = StepsOf(intervals, clearing, dest, services);
  const Clock::time_point copyStart = intervals[clearing + 1].start;
  const Clock::time_point end = intervals[finished].start;
  run.wallSeconds = Between(pressed, end);
  run.beforeCopySeconds = Between(pressed, copyStart);
  run.copySeconds = Between(copyStart, intervals[processing].start);
  run.afterCopySeconds = Between(intervals[processing].start, end);
  run.saveSeconds = Between(*save.firstPumpEnd, *save.secondPumpStart);
  run.restoreSeconds = Between(*restore.firstPumpEnd, end);
  run.saveCpuSeconds = save.secondPumpStartCpu - save.firstPumpEndCpu;
  run.restoreCpuSeconds = intervals[finished].cpuStart - restore.firstPumpEndCpu;
  run.heap = {save.heapKb, intervals[clearing].heapKb, intervals[processing].heapKb};
  return run;
}

std::vector<StateRecords> CountStateRecords(const fs::path& source, const fs::path& dest) {
  std::vector<StateRecords> records;
  for (const PreservedTable& t : PreservedTables()) {
    const TTableSts table(t.table, t.key, t.archive, t.stateCount);
    std::string listing;
    for (const std::string& line : table.ListingText()) listing += line + " ";
    StateRecords r;
    r.table = t.table;
    r.saved = Count(source, "(" + listing + ")");
    r.restored =
        Count(dest, "STATE_VALUES WHERE SV_TABLE = '" + std::string(t.table) + "'") / t.stateCount;
    records.push_back(r);
  }
  return records;
}

long PageCachesKb(const fs::path& source, const fs::path& dest) {
  long kb = 0;
  for (const fs::path& db : {source, dest}) {
    const std::vector<long> row =
        SelectRow(db, "SELECT MON$PAGE_BUFFERS, MON$PAGE_SIZE FROM MON$DATABASE");
    kb += row.at(0) * row.at(1) / 1024;
  }
  return kb;
}
