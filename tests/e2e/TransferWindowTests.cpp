// Whole transfers made by an operator at the keyboard of the real window: both
// source layouts, an interrupted run, the same database typed twice and the date
// picked in the calendar.
#include <algorithm>

#include "tests/e2e/TransferFixture.h"

namespace e2e {
namespace {

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
  // A site whose events (3,000,000) are still being copied when the operator has
  // tabbed to the interrupt button and seen the table's name: during a run the
  // window answers the accessibility bus, and so each step of the tabbing and each
  // look, only at its pumps, while the events are copied at well over 100,000 a
  // second.
  Prepare(Variant::Current, 500);
  testsupport::MakeDemoDatabase(program_.source, Variant::Current, 500, 6000);
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
  // The events stopped at the row the bar showed: the rows counted are written,
  // in batches or not, and the rows read ahead of them are not.
  const long long events = QueryInt(program_.dest, "SELECT COUNT(*) FROM EVENTS");
  EXPECT_GT(counted, 0);
  EXPECT_EQ(events, counted);
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
