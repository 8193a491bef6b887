// The run around the steps: interrupts at their checks, the end steps on every
// path, the error report, and inputs that are not what they should be.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "tests/run/RunFixture.h"
#include "text/RussianTexts.h"

namespace runtest {
namespace {

using Lines = std::vector<std::string>;

std::string FileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(ErrorReport, FullStopFollowsLettersAndDigits) {
  const std::pair<std::string, std::string> cases[] = {
      {"file not found", "file not found."},
      {"error 42", "error 42."},
      {"already.", "already."},
      {"what?", "what?."},
      {"what!", "what!"},
      {"a/b", "a/b."},  // "/" sorts after "."
      {"a-b-", "a-b-"},
      {"two\r\nlines\r\n", "two\r\nlines\r\n"},
      {"\xCE\xF8\xE8\xE1\xEA\xE0", "\xCE\xF8\xE8\xE1\xEA\xE0."},  // windows-1251 letters
      {"", ""},
  };
  for (const auto& [message, shown] : cases)
    EXPECT_EQ(TransferRun::ErrorReportText(message), shown) << message;
}

TEST(QuoteRemoval, CutsEveryQuoteAndNothingElse) {
  const std::pair<std::string, std::string> cases[] = {
      {"\"/data/my base/db.fdb\"", "/data/my base/db.fdb"},
      {"'/data/db.fdb'", "/data/db.fdb"},
      {"a\"b'c\"d'", "abcd"},
      {" /data/db.fdb ", " /data/db.fdb "},
      {"\"\"''", ""},
      {"host:/data/db.fdb", "host:/data/db.fdb"},
  };
  for (const auto& [text, path] : cases) EXPECT_EQ(TransferRun::RemoveQuotes(text), path) << text;
}

class Interrupts : public RunTest {
 protected:
  void SetUp() override {
    SeedSite();
    FirstScript({"INSERT INTO ZONES (ZN_ID, ZN_NAME) VALUES (1, 'first')", "",
                 "INSERT INTO ZONES (ZN_ID, ZN_NAME) VALUES (2, 'second')"});
    SecondScript({"INSERT INTO ZONES (ZN_ID, ZN_NAME) VALUES (3, 'third')"});
    TableList({"HOSTS=HS_ID", "CONTROLLERS=CT_ID", "CARDGROUPS=CG_ID"});
    Generators({"GEN_HOSTS=HOSTS/HS_ID"});
  }
  void ExpectIdleAfterInterrupt() {
    EXPECT_EQ(window_.interruptWarnings, Lines{ru::InterruptWarning()});
    EXPECT_TRUE(window_.errorReports.empty());
    EXPECT_FALSE(window_.running);
    EXPECT_FALSE(window_.busy);
    EXPECT_FALSE(Connected());
  }
  Lines Zones() { return DestLines("SELECT ZN_ID FROM ZONES ORDER BY ZN_ID"); }
};

// Confirmed while the state is saved: the first script still runs to its end,
// then the run stops with the saving text still shown.
TEST_F(Interrupts, DuringTheStateSave) {
  InterruptWhen([](const FakeWindow& w) { return w.pumps == 1; });
  Run();
  ExpectIdleAfterInterrupt();
  EXPECT_EQ(window_.statusTexts, Lines{ru::StatusSavingStates()});
  Lines log = Block({"INSERT INTO ZONES (ZN_ID, ZN_NAME) VALUES (1, 'first')"}, true);
  Add(log, Block({"INSERT INTO ZONES (ZN_ID, ZN_NAME) VALUES (2, 'second')"}, true));
  ExpectLog(log);
  EXPECT_EQ(Zones(), (Lines{"1", "2", "10"}));
  EXPECT_EQ(DestLines("SELECT HS_ID FROM HOSTS"), Lines{"10"});
  EXPECT_EQ(Generator("GEN_HOSTS"), 500);
}

// Confirmed in the clearing pass: the first line is cleared, nothing is copied.
TEST_F(Interrupts, DuringTheClearingPass) {
  InterruptWhen([](const FakeWindow& w) {
    return w.StatusText() == ru::StatusClearing() && w.allBar.position == 1;
  });
  Run();
  ExpectIdleAfterInterrupt();
  EXPECT_EQ(window_.StatusText(), ru::StatusInterrupted());
  EXPECT_EQ(window_.allBar.position, 0);
  EXPECT_EQ(window_.tableBar.position, 0);
  Lines log = Block({"INSERT INTO ZONES (ZN_ID, ZN_NAME) VALUES (1, 'first')"}, true);
  Add(log, Block({"INSERT INTO ZONES (ZN_ID, ZN_NAME) VALUES (2, 'second')"}, true));
  Add(log, {"", kStamp + ru::LogClearingPass()});
  ExpectLog(log);
  EXPECT_TRUE(DestRows("SELECT * FROM HOSTS").empty());
  EXPECT_EQ(DestLines("SELECT CG_ID FROM CARDGROUPS"), Lines{"10"});
  EXPECT_EQ(Zones(), (Lines{"1", "2", "10"}));
}

// Confirmed while the copying pass is at its second table: that table and the
// ones after it are not copied; the second script, the generators and the state
// restore do not run.
TEST_F(Interrupts, DuringTheCopyingPass) {
  InterruptWhen([](const FakeWindow& w) { return w.StatusText() == "CONTROLLERS"; });
  Run();
  ExpectIdleAfterInterrupt();
  EXPECT_EQ(window_.statusTexts, (Lines{ru::StatusSavingStates(), ru::StatusClearing(), "HOSTS",
                                        "CONTROLLERS", ru::StatusInterrupted()}));
  EXPECT_EQ(window_.allBar.position, 0);
  EXPECT_EQ(DestLines("SELECT HS_NAME FROM HOSTS ORDER BY HS_ID"), (Lines{"h1", "h2"}));
  EXPECT_TRUE(DestRows("SELECT * FROM CONTROLLERS").empty());
  EXPECT_EQ(Zones(), (Lines{"1", "2", "10"}));
  EXPECT_EQ(Generator("GEN_HOSTS"), 502);
  EXPECT_TRUE(run_.LastOutcome().begun);
  EXPECT_FALSE(run_.LastOutcome().completed);
}

// What a front end does once the databases are open (its plan, its backup)
// may stop the run there, or take an interrupt meanwhile: either way the run
// ends before the first script, and only an interrupt is told.
TEST_F(Interrupts, BeforeTheFirstWrite) {
  for (const bool interrupt : {false, true}) {
    SCOPED_TRACE(interrupt ? "interrupted" : "stopped");
    ResetLog();
    window_ = FakeWindow{};
    window_.source = src_.string();
    window_.dest = dst_.string();
    int calls = 0;
    run_.SetOnBegin([&] {
      ++calls;
      EXPECT_TRUE(Connected());
      window_.interrupted = interrupt;
      return interrupt;
    });
    Run();
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(run_.LastOutcome().begun);
    EXPECT_FALSE(run_.LastOutcome().completed);
    EXPECT_TRUE(LogBytes().empty());
    EXPECT_EQ(Zones(), Lines{"10"});
    EXPECT_EQ(Generator("GEN_HOSTS"), 500);
    EXPECT_TRUE(window_.errorReports.empty());
    EXPECT_FALSE(window_.running);
    EXPECT_FALSE(Connected());
    if (interrupt) {
      ExpectIdleAfterInterrupt();
      EXPECT_EQ(window_.statusTexts, Lines{ru::StatusInterrupted()});
    } else {
      EXPECT_TRUE(window_.interruptWarnings.empty());
      EXPECT_TRUE(window_.statusTexts.empty());
    }
  }
}

// Pumps without a confirmation leave the run going to its end.
TEST_F(Interrupts, PumpsWithoutConfirmationChangeNothing) {
  InterruptWhen([](const FakeWindow&) { return false; });
  Run();
  EXPECT_GT(window_.pumps, 10);
  EXPECT_TRUE(window_.interruptWarnings.empty());
  EXPECT_TRUE(run_.LastOutcome().completed);
  EXPECT_EQ(window_.StatusText(), ru::StatusDone());
  EXPECT_EQ(Zones(), (Lines{"1", "2", "3", "10"}));
  EXPECT_EQ(Generator("GEN_HOSTS"), 503);
}

// A window whose first end step fails: the connections are still detached, the
// window given back and the failure reported; an earlier error wins.
class FailingWindow : public FakeWindow {
 public:
  explicit FailingWindow(std::string failAtStatus) : failAtStatus_(std::move(failAtStatus)) {}
  void SetBusyCursor(bool on) override {
    FakeWindow::SetBusyCursor(on);
    if (!on && StatusText() == failAtStatus_) throw std::runtime_error("cursor refused");
  }

 private:
  std::string failAtStatus_;
};

TEST(EndSteps, AFailingStepStopsNoOther) {
  TDM1 dm;
  FailingWindow window("");
  DynamicStates states(dm, [] { return false; });
  TransferRun run(dm, states, window);
  testsupport::TempDir dir("dravik-end");
  window.source = dir.File("missing-source.fdb");
  window.dest = dir.File("missing-dest.fdb");
  run.MoveBitBtnClick(dir.path().string() + "/", 1);
  // the attach failed first: its message is the one reported
  ASSERT_EQ(window.errorReports.size(), 1u);
  EXPECT_EQ(window.errorReports[0].find("cursor refused"), std::string::npos);
  EXPECT_FALSE(window.running);
  EXPECT_EQ(window.runningChanges, 2);

  std::optional<std::string> error;
  int ran = 0;
  TransferRun::RunEndStep([] { throw std::runtime_error("first"); }, error);
  TransferRun::RunEndStep([&] { ++ran; }, error);
  TransferRun::RunEndStep([] { throw std::logic_error("second"); }, error);
  TransferRun::RunEndStep([] { throw 42; }, error);
  EXPECT_EQ(ran, 1);
  EXPECT_EQ(error, "first");
}

class EndOfRun : public RunTest {};

TEST_F(EndOfRun, FailingEndStepIsReportedAfterACompleteRun) {
  FailingWindow window(ru::StatusDone());
  window.source = src_.string();
  window.dest = dst_.string();
  TransferRun run(dm_, states_, window);
  run.SetScriptPause([](std::chrono::milliseconds) {});
  run.MoveBitBtnClick(folder_, 1);
  EXPECT_EQ(window.StatusText(), ru::StatusDone());
  EXPECT_EQ(window.errorReports, Lines{"cursor refused."});
  EXPECT_FALSE(window.running);
  EXPECT_FALSE(Connected());
}

class BadInput : public RunTest {
 protected:
  void Forget() {
    ResetLog();
    window_.statusTexts.clear();
    window_.errorReports.clear();
    window_.interruptWarnings.clear();
  }
  void ExpectIdleWithOneReport() {
    ASSERT_EQ(window_.errorReports.size(), 1u);
    EXPECT_EQ(window_.errorReports[0].back(), '.');
    EXPECT_TRUE(window_.interruptWarnings.empty());
    EXPECT_FALSE(window_.running);
    EXPECT_FALSE(window_.busy);
    EXPECT_FALSE(Connected());
  }
};

// Paths that name no database: one report, nothing attached, nothing written,
// and no file created or changed.
TEST_F(BadInput, PathsThatNameNoDatabase) {
  SeedSite();
  const std::string text = dir_.File("notes.fdb");
  const std::string textBytes = "not a database\r\n";
  WriteControlBytes("notes.fdb", textBytes);
  const std::string missing = dir_.File("missing.fdb");
  struct Case {
    const char* name;
    std::string source, dest;
  };
  const Case cases[] = {
      {"source missing", missing, dst_.string()},
      {"source is a text file", text, dst_.string()},
      {"destination missing", src_.string(), missing},
      {"destination is a text file", src_.string(), text},
      {"one file by two names", folder_ + "./source.fdb", src_.string()},
  };
  const auto sourceBefore = Snapshot(src_);
  const auto destBefore = Snapshot(dst_);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Forget();
    window_.source = c.source;
    window_.dest = c.dest;
    Run();
    ExpectIdleWithOneReport();
    EXPECT_TRUE(window_.statusTexts.empty());
    EXPECT_EQ(LogBytes(), "");
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_EQ(FileBytes(text), textBytes);
  }
  EXPECT_EQ(window_.errorReports[0], TransferRun::ErrorReportText(ru::SamePathsMessage()));
  EXPECT_EQ(Snapshot(src_), sourceBefore);
  EXPECT_EQ(Snapshot(dst_), destBefore);
}

TEST_F(BadInput, MissingSourceLeavesTheDestinationUnopened) {
  window_.source = dir_.File("missing.fdb");
  Run();
  ExpectIdleWithOneReport();
  EXPECT_TRUE(dm_.IBDatabase1.DatabaseName().empty());
  EXPECT_TRUE(dm_.IBDatabase2.DatabaseName().empty());
}

TEST_F(BadInput, QuotedPathsAreOpenedWithoutTheQuotes) {
  window_.source = "\"" + src_.string() + "\"";
  window_.dest = "'" + dst_.string() + "'";
  Run();
  EXPECT_TRUE(window_.errorReports.empty());
  EXPECT_EQ(window_.StatusText(), ru::StatusDone());
}

// Control files removed while the program runs: a table list that is gone only
// ends the driver's passes; a script or the run log that is gone ends the run.
TEST_F(BadInput, ControlFilesRemovedWhileTheProgramRuns) {
  std::filesystem::remove(dir_ / "Conv.txt");
  Run(3);
  EXPECT_TRUE(window_.errorReports.empty());
  EXPECT_EQ(window_.StatusText(), ru::StatusDone());
  Lines log = Block({}, true);
  Add(log, {"", kStamp + ru::LogClearingPass()});
  Add(log, SecondBlock({}));
  ExpectLog(log);
  TableList({"* nothing"});

  Forget();
  std::filesystem::remove(dir_ / "SQL/Upd.sql");
  Run();
  ExpectIdleWithOneReport();
  EXPECT_EQ(window_.StatusText(), ru::StatusProcessing());
  SecondScript({});

  Forget();
  std::filesystem::remove(dir_ / "SQL/_Upd.sql");
  Run();
  ExpectIdleWithOneReport();
  EXPECT_EQ(window_.statusTexts, Lines{ru::StatusSavingStates()});
  EXPECT_EQ(LogBytes(), "");
  FirstScript({});

  Forget();
  std::filesystem::remove(dir_ / "DB_dravik.log");
  Run();
  ExpectIdleWithOneReport();
  EXPECT_EQ(window_.statusTexts, Lines{ru::StatusSavingStates()});
  EXPECT_FALSE(std::filesystem::exists(dir_ / "DB_dravik.log"));
}

}  // namespace
}  // namespace runtest
