// Whole transfers made by an operator at the keyboard of the real window: both
// source layouts, an interrupted run, the same database typed twice and the date
// picked in the calendar.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <sstream>

#include "tests/e2e/Operator.h"
#include "tests/e2e/ProgramFolder.h"
#include "tests/support/Isql.h"
#include "tests/support/TempDir.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;
using testsupport::QueryInt;
using testsupport::QueryRows;
using testsupport::Variant;

constexpr auto kRunLimit = 600s;  // a whole run on a loaded two-core machine

const std::string kCopyPassLine = "   Обновление БД приемника";
const std::string kClearingPassLine = "   Очистка БД приемника";
const std::string kSecondScriptStart = "-- Второй скрипт";

// Generators whose tables keep the keys they are given: only the generator step
// moves them in a transfer.
const std::vector<std::string> kKeptKeyGenerators = {
    "GEN_OWNER",      "GEN_EVENTS",     "GEN_ALARM",     "GEN_ACR$EVENTS",
    "GEN_ACR$ALARMS", "GEN_STR_EVENTS", "GEN_STR_ALARMS"};
constexpr int kPresetGenerator = 777;

// Tables copied whole from the demo site.
const std::vector<std::string> kWholeTables = {
    "HOSTS",    "CONTROLLERS", "PCN",     "CINPUTS",  "SLAVES",   "OUTPUTS",
    "INPUTS",   "READERS",     "KRONTUR", "CARDSDEF", "DAYSCH",   "TIMERS",
    "AGRIGHTS", "AGSCH",       "PRGDEF",  "OWNER",    "MACROSES", "MAKROS_RIGHT"};

std::string TestName() {
  return testing::UnitTest::GetInstance()->current_test_info()->name();
}

const Accessible& MainFrame(const Accessible& tree) {
  for (const Accessible& window : tree.children)
    if (window.Find("label", kStatusCaption)) return window;
  throw std::runtime_error("the main window is not in the accessible tree");
}

std::string Status(const Accessible& tree) {
  const Accessible* status = MainFrame(tree).After("label", kStatusCaption);
  return status ? status->name : "<no status label>";
}

bool ButtonEnabled(const Accessible& tree, const std::string& caption) {
  const Accessible* button = MainFrame(tree).Find("push button", caption);
  return button && button->Enabled();
}

// The window is idle again: the start button usable, the interrupt button not.
bool Idle(const Accessible& tree) {
  return ButtonEnabled(tree, kStartButton) && !ButtonEnabled(tree, kInterruptButton);
}

std::vector<double> BarValues(const Accessible& tree) {
  std::vector<double> values;
  MainFrame(tree).Find([&](const Accessible& a) {
    if (a.role == "progress bar") values.push_back(a.value);
    return false;
  });
  return values;
}

std::string Text(const testsupport::Row& row) {
  std::string text;
  for (const std::string& value : row) text += (text.empty() ? "" : " | ") + value;
  return text;
}

// Two row sets hold the same rows; a difference reports the rows on one side only.
testing::AssertionResult SameRows(std::vector<testsupport::Row> actual,
                                  std::vector<testsupport::Row> expected) {
  std::sort(actual.begin(), actual.end());
  std::sort(expected.begin(), expected.end());
  if (actual == expected) return testing::AssertionSuccess();
  std::vector<testsupport::Row> missing, extra;
  std::set_difference(expected.begin(), expected.end(), actual.begin(), actual.end(),
                      std::back_inserter(missing));
  std::set_difference(actual.begin(), actual.end(), expected.begin(), expected.end(),
                      std::back_inserter(extra));
  testing::AssertionResult failure = testing::AssertionFailure();
  failure << actual.size() << " rows where " << expected.size() << " were expected";
  for (size_t i = 0; i < missing.size() && i < 10; ++i)
    failure << "\n  missing: " << Text(missing[i]);
  for (size_t i = 0; i < extra.size() && i < 10; ++i) failure << "\n  extra:   " << Text(extra[i]);
  return failure;
}

long long Generator(const fs::path& db, const std::string& name) {
  return QueryInt(db, "SELECT GEN_ID(" + name + ", 0) FROM RDB$DATABASE");
}

void PresetGenerators(const fs::path& db) {
  std::string sql;
  for (const std::string& g : kKeptKeyGenerators)
    sql += "SET GENERATOR " + g + " TO " + std::to_string(kPresetGenerator) + ";\n";
  testsupport::RunIsql(db, sql);
}

// GENERATOR.txt entries: generator, table, column.
std::vector<std::array<std::string, 3>> GeneratorList(const ProgramFolder& p) {
  std::ifstream in(p.folder / "GENERATOR.txt");
  std::vector<std::array<std::string, 3>> list;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t eq = line.find('='), slash = line.find('/');
    if (line.empty() || line[0] == '*' || eq == std::string::npos || slash == std::string::npos)
      continue;
    list.push_back(
        {line.substr(0, eq), line.substr(eq + 1, slash - eq - 1), line.substr(slash + 1)});
  }
  return list;
}

class TransferWindow : public testing::Test {
 protected:
  void SetUp() override {
    output_ = OutputFolder(TestName());
    op_ = std::make_unique<Operator>(output_);
  }

  void TearDown() override {
    // Whatever happened, the display, the bus and the program end here; the run log
    // stays beside the screenshots.
    op_.reset();
    if (!program_.folder.empty()) {
      std::error_code ignored;
      fs::copy_file(program_.runLog, output_ / "DB_dravik.log",
                    fs::copy_options::overwrite_existing, ignored);
      // The databases of a failed test stay for a look with isql.
      if (HasFailure())
        for (const fs::path& db : {program_.source, program_.dest})
          fs::copy_file(db, output_ / db.filename(), fs::copy_options::overwrite_existing, ignored);
    }
  }

  void Prepare(Variant variant, int size, const std::string& subfolder = "") {
    program_ = PrepareProgramFolder(folder_.path() / subfolder, variant, size);
    PresetGenerators(program_.dest);
  }

  // Waits for the end of the run: the copying pass began and the window is idle again.
  Accessible WaitRunEnd() {
    std::optional<Accessible> end = op_->WaitTree(
        [&](const Accessible& t) {
          return ReadRunLog(program_).find(kCopyPassLine) != std::string::npos && Idle(t);
        },
        kRunLimit);
    if (!end) {
      op_->desktop().Screenshot(output_ / "run-did-not-end.png");
      throw std::runtime_error("the run did not end within the limit");
    }
    return *end;
  }

  // No box of the program is open: its only window is the main one.
  void ExpectNoBox() {
    const Accessible tree = op_->Tree();
    EXPECT_EQ(tree.children.size(), 1u) << "a box is open; see tree.txt";
    if (tree.children.size() != 1) Dump(tree, output_ / "tree.txt");
  }

  void CloseProgram() { EXPECT_EQ(op_->Close(), 0) << "see " << (output_ / "program.log"); }

  void ExpectCompleteTransfer(const std::string& eventsFrom, bool ownerStates);

  // The run ends done with both bars back at 0 and no box open; the program is closed.
  void ExpectDoneAndClose(const std::string& screenshot) {
    const Accessible end = WaitRunEnd();
    op_->desktop().Screenshot(output_ / screenshot);
    EXPECT_EQ(Status(end), kStatusDone);
    EXPECT_EQ(BarValues(end), (std::vector<double>{0, 0}));
    ExpectNoBox();
    CloseProgram();
  }

  // A started run with events from `eventsFromSql` and the owners' states kept ends
  // done, with a clean run log and a complete destination.
  void ExpectCompleteRun(const std::string& eventsFromSql) {
    ExpectDoneAndClose("3-done.png");

    const std::string log = ReadRunLog(program_);
    EXPECT_NE(log.find(kClearingPassLine), std::string::npos);
    EXPECT_NE(log.find(kSecondScriptStart), std::string::npos);
    EXPECT_EQ(log.find("########"), std::string::npos) << "a statement failed; see the run log";
    EXPECT_EQ(log.find("Ошибка"), std::string::npos) << "a step failed; see the run log";
    ExpectCompleteTransfer(eventsFromSql, true);
  }

  testsupport::TempDir folder_{"dravik-e2e"};
  fs::path output_;
  ProgramFolder program_;
  std::unique_ptr<Operator> op_;
};

// What a finished transfer of a demo site leaves in the destination.
void TransferWindow::ExpectCompleteTransfer(const std::string& eventsFromSql, bool ownerStates) {
  const fs::path& src = program_.source;
  const fs::path& dst = program_.dest;
  for (const std::string& table : kWholeTables)
    EXPECT_EQ(QueryInt(dst, "SELECT COUNT(*) FROM " + table),
              QueryInt(src, "SELECT COUNT(*) FROM " + table))
        << table;
  EXPECT_EQ(QueryInt(dst, "SELECT COUNT(*) FROM CARDGROUPS"),
            QueryInt(src, "SELECT COUNT(*) FROM CARDGROUPS WHERE CG_CT_ID IS NOT NULL"));
  // The second script rebuilt the zones from the working readers.
  EXPECT_EQ(QueryInt(dst, "SELECT COUNT(*) FROM ZONES"),
            QueryInt(src, "SELECT COUNT(*) FROM READERS WHERE RD_ARCHIVE = 0"));

  // References rewritten to the new keys: every device sits where it sat, by name.
  const std::string devices =
      "SELECT R.RD_NAME, S.SL_NAME, C.CT_NAME, H.HS_NAME, I.IN_NAME, O.OU_NAME "
      "FROM READERS R JOIN SLAVES S ON S.SL_ID = R.RD_SL_ID "
      "JOIN CONTROLLERS C ON C.CT_ID = S.SL_CT_ID JOIN HOSTS H ON H.HS_ID = C.CT_HS_ID "
      "LEFT JOIN INPUTS I ON I.IN_ID = R.RD_IN_1 LEFT JOIN OUTPUTS O ON O.OU_ID = R.RD_OUT_OPEN";
  const auto srcDevices = QueryRows(src, devices);
  EXPECT_FALSE(srcDevices.empty());
  EXPECT_TRUE(SameRows(QueryRows(dst, devices), srcDevices));

  // Events and alarms from the typed date on, those with a description only.
  const std::string events =
      "SELECT COUNT(*) FROM EVENTS E WHERE E.EV_DATE >= '" + eventsFromSql + "'";
  const std::string described =
      " AND EXISTS (SELECT 1 FROM EVDESC D WHERE D.ED_CODE = E.EV_CODE AND "
      "(D.ED_ADDCODE = E.EV_ADDCODE OR D.ED_ADDCODE = E.EV_ADDCODE - 256))";
  const long long srcEvents = QueryInt(src, events + described);
  EXPECT_GT(srcEvents, 0);
  EXPECT_LT(srcEvents, QueryInt(src, "SELECT COUNT(*) FROM EVENTS"));
  EXPECT_EQ(QueryInt(dst, "SELECT COUNT(*) FROM EVENTS"), srcEvents);
  EXPECT_EQ(QueryInt(dst, events), srcEvents);
  const std::string alarms = "SELECT COUNT(*) FROM ALARM E WHERE E.AL_DATE >= '" + eventsFromSql +
                             "' AND EXISTS (SELECT 1 FROM EVDESC D WHERE D.ED_CODE = E.AL_CODE AND "
                             "(D.ED_ADDCODE = E.AL_ADDCODE OR D.ED_ADDCODE = E.AL_ADDCODE - 256))";
  EXPECT_EQ(QueryInt(dst, "SELECT COUNT(*) FROM ALARM"), QueryInt(src, alarms));

  // Every generator continues after the largest key now in its table.
  const auto generators = GeneratorList(program_);
  EXPECT_EQ(generators.size(), 18u) << "GENERATOR.txt read wrongly";
  for (const auto& [generator, table, column] : generators)
    EXPECT_EQ(Generator(dst, generator),
              QueryInt(dst, "SELECT COALESCE(MAX(" + column + ") + 1, 0) FROM " + table))
        << generator;

  // The run-time state of the rows in use follows them to their new keys (as many
  // states as each kind keeps); the owners' only when the operator asked to keep
  // where the users are.
  struct StateTable {
    std::string table, key, name, archive;
    int states;
  };
  const std::vector<StateTable> stateTables = {{"HOSTS", "HS_ID", "HS_NAME", "HS_ARCHIVE", 14},
                                               {"CONTROLLERS", "CT_ID", "CT_NAME", "CT_ARCHIVE", 6},
                                               {"SLAVES", "SL_ID", "SL_NAME", "SL_ARCHIVE", 6},
                                               {"READERS", "RD_ID", "RD_NAME", "RD_ARCHIVE", 7},
                                               {"OWNER", "OW_ID", "OW_NAME", "OW_ARCHIVE", 4}};
  for (const StateTable& t : stateTables) {
    const std::string states = "SELECT X." + t.name +
                               ", V.SV_NUM, V.SV_VALUE FROM STATE_VALUES V "
                               "JOIN " +
                               t.table + " X ON X." + t.key +
                               " = V.SV_KEY "
                               "WHERE V.SV_TABLE = '" +
                               t.table + "' AND V.SV_VALUE <> 0";
    const auto dstStates = QueryRows(dst, states);
    if (t.table == "OWNER" && !ownerStates) {
      EXPECT_TRUE(dstStates.empty()) << t.table;
      continue;
    }
    const auto kept = QueryRows(
        src, states + " AND X." + t.archive + " = 0 AND V.SV_NUM <= " + std::to_string(t.states));
    EXPECT_FALSE(kept.empty()) << t.table;
    EXPECT_TRUE(SameRows(dstStates, kept)) << t.table;
  }
}

TEST_F(TransferWindow, CurrentLayoutSourceTransferredFromTheKeyboard) {
  Prepare(Variant::Current, 3);
  op_->Launch(program_.exe);
  op_->desktop().Screenshot(output_ / "1-started.png");
  op_->FillForm({program_.source.string(), program_.dest.string(), true, "01.03.2026", true});
  const Accessible filled = op_->Tree();
  EXPECT_TRUE(MainFrame(filled).Find("check box", kEventsBox)->Checked());
  EXPECT_TRUE(MainFrame(filled).Find("check box", kKeepLocationsBox)->Checked());
  op_->desktop().Screenshot(output_ / "2-filled.png");

  op_->PressSpace();
  ExpectCompleteRun("2026-03-01");
}

TEST_F(TransferWindow, CyrillicFoldersTransferAsPlainOnes) {
  // A Russian desktop keeps downloads in ~/Загрузки: the program folder and both
  // databases lie in a folder named with Cyrillic letters and a blank.
  Prepare(Variant::Current, 3, "Загрузки старые");
  op_->Launch(program_.exe);
  op_->FillForm({program_.source.string(), program_.dest.string(), true, "01.03.2026", true});
  op_->PressSpace();
  ExpectCompleteRun("2026-03-01");
}

TEST_F(TransferWindow, OlderLayoutSourceTransferredFromTheKeyboard) {
  Prepare(Variant::Older, 3);
  op_->Launch(program_.exe);
  // Events from February on; where the users are is not kept this time.
  op_->FillForm({program_.source.string(), program_.dest.string(), true, "01.02.2026", false});
  const Accessible filled = op_->Tree();
  EXPECT_TRUE(MainFrame(filled).Find("check box", kEventsBox)->Checked());
  EXPECT_FALSE(MainFrame(filled).Find("check box", kKeepLocationsBox)->Checked());

  op_->PressSpace();
  ExpectDoneAndClose("done.png");

  const std::string log = ReadRunLog(program_);
  EXPECT_NE(log.find(kSecondScriptStart), std::string::npos);
  EXPECT_EQ(log.find("########"), std::string::npos) << "a statement failed; see the run log";
  EXPECT_EQ(log.find("Ошибка"), std::string::npos) << "a step failed; see the run log";
  ExpectCompleteTransfer("2026-02-01", false);
  // The older layout keeps photos in OWNER; the destination keeps them apart.
  EXPECT_EQ(QueryInt(program_.dest, "SELECT COUNT(*) FROM OWNERPHOTOS WHERE OW_PHOTO IS NOT NULL"),
            QueryInt(program_.source, "SELECT COUNT(*) FROM OWNER WHERE OW_PHOTO IS NOT NULL"));
}

TEST_F(TransferWindow, InterruptedFromTheInterruptButton) {
  // A site whose events (400,000) are still being copied when the operator has
  // tabbed to the interrupt button: during a run the window answers the
  // accessibility bus, and so each step of the tabbing, only at its pumps.
  Prepare(Variant::Current, 500);
  op_->Launch(program_.exe);
  op_->FillForm({program_.source.string(), program_.dest.string(), true, "", true});
  op_->PressSpace();

  // The operator tabs to the interrupt button once the copying pass begins, and
  // presses it while the events are copied.
  ASSERT_TRUE(WaitUntil(
      [&] { return ReadRunLog(program_).find(kCopyPassLine) != std::string::npos; }, kRunLimit));
  op_->desktop().Focus(op_->MainWindow());
  ASSERT_TRUE(op_->TabTo("push button", kInterruptButton))
      << "the interrupt button cannot be reached by the keyboard during a run";
  ASSERT_TRUE(op_->WaitTree([](const Accessible& t) { return Status(t) == "EVENTS"; }, kRunLimit))
      << "the events were never copied";
  op_->desktop().Screenshot(output_ / "1-running.png");
  op_->PressSpace();

  // While the question is open the run waits in it: the table bar shows the rows
  // counted so far.
  const std::string question = "Вы действительно хотите прервать перенос данных?";
  const std::optional<Accessible> asked = op_->WaitTree(
      [&](const Accessible& t) { return WindowWithLabel(t, question) != nullptr; }, 120s);
  ASSERT_TRUE(asked.has_value()) << "the interrupt question did not appear";
  ASSERT_EQ(Status(*asked), "EVENTS") << "the answer came after the events";
  const long long counted = static_cast<long long>(BarValues(*asked).at(0));
  op_->AnswerBox(kAppTitle, question, kYes, 120s, output_ / "2-question.png");
  const std::vector<std::string> warning =
      op_->AnswerBox(kAppTitle, "Внимание!!!", kYes, kRunLimit, output_ / "3-warning.png");
  const std::string expectedWarning =
      std::string(39, ' ') + "Внимание!!!\n" + std::string(17, ' ') +
      "Перенос данных был прерван пользователем.\n" +
      " Перед врозобновлением переноса данных обновите Базу - приемник данных.";
  EXPECT_NE(std::find(warning.begin(), warning.end(), expectedWarning), warning.end())
      << "the warning box's texts differ";

  const std::optional<Accessible> end = op_->WaitTree(Idle, 120s);
  ASSERT_TRUE(end.has_value()) << "the window did not return to idle";
  op_->desktop().Screenshot(output_ / "4-interrupted.png");
  EXPECT_EQ(Status(*end), kStatusInterrupted);
  EXPECT_EQ(BarValues(*end), (std::vector<double>{0, 0}));
  ExpectNoBox();
  CloseProgram();

  // The run stopped inside the copying pass: the second script, the generators and
  // the state restore never ran, and what was written stays.
  const std::string log = ReadRunLog(program_);
  EXPECT_EQ(log.find(kSecondScriptStart), std::string::npos) << "the run went past the copy";
  for (const std::string& generator : kKeptKeyGenerators)
    EXPECT_EQ(Generator(program_.dest, generator), kPresetGenerator) << generator;
  EXPECT_EQ(QueryInt(program_.dest, "SELECT COUNT(*) FROM STATE_VALUES"), 0);
  // The events stopped within one row of the answer: the rows counted are written,
  // in batches or not, and the rows after them are not.
  const long long events = QueryInt(program_.dest, "SELECT COUNT(*) FROM EVENTS");
  EXPECT_GT(counted, 0);
  EXPECT_GE(events, counted);
  EXPECT_LE(events, counted + 1);
  EXPECT_LT(events, QueryInt(program_.source, "SELECT COUNT(*) FROM EVENTS"));
}

TEST_F(TransferWindow, SamePathInBothBoxes) {
  Prepare(Variant::Current, 3);
  op_->Launch(program_.exe);
  op_->TypePaths(program_.source.string(), program_.source.string());
  const std::vector<std::string> box =
      op_->AnswerBox(kErrorTitle, "БД источника и приемника должны быть разными.", "", 60s,
                     output_ / "1-same-database-box.png");
  EXPECT_NE(std::find(box.begin(), box.end(), "БД источника и приемника должны быть разными."),
            box.end());

  // The start command stays disabled: the button and the menu item alike, and a
  // click on the button starts nothing.
  const Accessible after = op_->Tree();
  const Accessible* start = MainFrame(after).Find("push button", kStartButton);
  ASSERT_NE(start, nullptr);
  EXPECT_FALSE(start->Enabled());
  const Accessible* menuStart = MainFrame(after).Find("menu item", kStartButton);
  ASSERT_NE(menuStart, nullptr);
  EXPECT_FALSE(menuStart->Enabled());
  op_->desktop().Click(start->x + start->width / 2, start->y + start->height / 2);
  // Nothing may happen; a run would at once write its first script into the log.
  EXPECT_FALSE(WaitUntil([&] { return fs::file_size(program_.runLog) > 0; }, 5s));
  const Accessible clicked = op_->Tree();
  EXPECT_FALSE(ButtonEnabled(clicked, kInterruptButton));
  EXPECT_EQ(Status(clicked), "");
  op_->desktop().Screenshot(output_ / "2-after-click.png");
  ExpectNoBox();
  CloseProgram();
  EXPECT_EQ(fs::file_size(program_.runLog), 0u);
}

TEST_F(TransferWindow, DateChosenInTheCalendarFromTheKeyboard) {
  Prepare(Variant::Current, 1);
  op_->Launch(program_.exe);
  op_->desktop().Focus(op_->MainWindow());
  ASSERT_TRUE(op_->TabToText(2)) << "the date box cannot be reached by Tab";
  op_->desktop().Type("31.01.2026");

  // The drop-down opens from the keyboard as a combo box's does, on the typed date:
  // a second window of the program, without a title.
  const auto windows = [&] { return op_->desktop().WindowsOfClass("DB_Dravik").size(); };
  ASSERT_EQ(windows(), 1u);
  op_->desktop().Keys({"alt+Down"});
  const bool opened = WaitUntil([&] { return windows() == 2; }, 30s);
  op_->desktop().Screenshot(output_ / "1-calendar.png");
  ASSERT_TRUE(opened) << "alt+Down in the date box opens no calendar";

  // One day on, taken with Return.
  op_->desktop().Keys({"Right", "Return"});
  EXPECT_TRUE(WaitUntil([&] { return windows() == 1; }, 30s)) << "Return leaves the calendar open";
  const std::optional<Accessible> picked = op_->WaitTree(
      [](const Accessible& t) {
        int seen = 0;
        return t.Find([&](const Accessible& a) {
          return a.role == "text" && seen++ == 2 && a.text == "01.02.2026";
        }) != nullptr;
      },
      30s);
  op_->desktop().Screenshot(output_ / "2-picked.png");
  EXPECT_TRUE(picked.has_value()) << "the date box does not show the day picked in the calendar";
  CloseProgram();
}

}  // namespace
}  // namespace e2e
