// Inputs a transfer should not meet, one case each in a table: files the run
// cannot or must not write, files another program holds open, files made by an older or a newer
// engine, a destination of the older layout, an empty table list, a broken first script and
// interrupts confirmed in the second script and the generator step. Every case ends with the window
// idle and the source's rows as they were.
#include <filesystem>
#include <functional>
#include <optional>

#include "tests/run/RunFixture.h"
#include "tests/support/DatabaseHeader.h"
#include "tests/support/HeldDatabase.h"
#include "tests/support/Schema.h"
#include "text/Cp1251.h"
#include "text/RussianTexts.h"

namespace runtest {
namespace {

using Lines = std::vector<std::string>;

class BadInputTable : public RunTest {
 protected:
  // What stands in the run's way while it runs, set after the case's preparation.
  enum class Obstacle {
    None,
    ReadOnlySource,
    SourceHeld,
    DestinationHeld,
    SourceOfOlderEngine,       // on-disk structure 11 (Firebird 2.x) in the header
    DestinationOfNewerEngine,  // structure 13: no remedy of ours applies
  };
  struct Case {
    const char* name;
    Obstacle obstacle;
    std::function<void()> prepare;
    std::function<void()> check;
  };

  // A fresh site, default control files and a window that has shown nothing.
  void Reset() {
    std::filesystem::permissions(
        src_, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    FreshDatabases();
    SeedSite();
    ResetLog();
    TableList({"* nothing"});
    Generators({"* nothing"});
    FirstScript({});
    SecondScript({});
    pauses_.clear();
    window_ = FakeWindow{};
    window_.source = src_.string();
    window_.dest = dst_.string();
  }

  void ExpectSamePathsRefusal() {
    EXPECT_EQ(window_.errorReports, Lines{TransferRun::ErrorReportText(ru::SamePathsMessage())});
    EXPECT_TRUE(window_.statusTexts.empty());
    EXPECT_EQ(LogBytes(), "");
    EXPECT_FALSE(Connected());
  }

  // The engine refuses to attach a file another process holds, or one it cannot
  // read: the run ends with a report that holds `words` before its first step,
  // nothing written anywhere.
  void ExpectRefusedAttach(const std::string& destBefore, const std::string& words = "lock") {
    ASSERT_EQ(window_.errorReports.size(), 1u);
    EXPECT_NE(window_.errorReports[0].find(words), std::string::npos) << window_.errorReports[0];
    EXPECT_TRUE(window_.statusTexts.empty());
    EXPECT_EQ(LogBytes(), "");
    EXPECT_TRUE(window_.interruptWarnings.empty());
    EXPECT_FALSE(window_.busy);
    EXPECT_FALSE(Connected());
    EXPECT_EQ(Snapshot(dst_), destBefore);
  }

  static std::string OlderEngineReport(const std::filesystem::path& db) {
    return ru::OlderEngineDatabase() + text::Cp1251FromFileName(db.string()) +
           ru::OlderEngineStructure() + "11, Firebird 2.x" + ru::OlderEngineCannotOpen() + "\r\n" +
           ru::OlderEngineAdvice();
  }

  void ExpectInterrupted() {
    EXPECT_EQ(window_.interruptWarnings, Lines{ru::InterruptWarning()});
    EXPECT_TRUE(window_.errorReports.empty());
    EXPECT_FALSE(window_.busy);
    EXPECT_FALSE(Connected());
  }

  Lines Zones() { return DestLines("SELECT ZN_ID FROM ZONES ORDER BY ZN_ID"); }
};

TEST_F(BadInputTable, EachCaseEndsIdleWithTheSourceUnchanged) {
  const std::filesystem::path link = dir_ / "link.fdb";
  const std::string zone1 = "INSERT INTO ZONES (ZN_ID, ZN_NAME) VALUES (1, 'first')";
  const std::string zone2 = "INSERT INTO ZONES (ZN_ID, ZN_NAME) VALUES (2, 'second')";
  const std::string zone3 = "INSERT INTO ZONES (ZN_ID, ZN_NAME) VALUES (3, 'third')";
  const std::string zone4 = "INSERT INTO ZONES (ZN_ID, ZN_NAME) VALUES (4, 'fourth')";
  std::string destBefore;

  const Case cases[] = {
      {"read-only source", Obstacle::ReadOnlySource, [&] { TableList({"HOSTS=HS_ID"}); },
       [&] {
         // the engine will not attach a file without write permission, not
         // even for the superuser: the run ends before its first step
         ASSERT_EQ(window_.errorReports.size(), 1u);
         EXPECT_EQ(window_.errorReports[0].back(), '.');
         EXPECT_TRUE(window_.statusTexts.empty());
         EXPECT_EQ(LogBytes(), "");
         EXPECT_EQ(DestLines("SELECT HS_NAME FROM HOSTS ORDER BY HS_ID"), Lines{"dest host"});
         EXPECT_TRUE(window_.interruptWarnings.empty());
         EXPECT_FALSE(Connected());
       }},
      {"source held open by another program", Obstacle::SourceHeld,
       [&] {
         TableList({"HOSTS=HS_ID"});
         destBefore = Snapshot(dst_);
       },
       [&] { ExpectRefusedAttach(destBefore); }},
      {"destination held open by another program", Obstacle::DestinationHeld,
       [&] {
         TableList({"HOSTS=HS_ID"});
         destBefore = Snapshot(dst_);
       },
       [&] { ExpectRefusedAttach(destBefore); }},
      {"source made by an older engine", Obstacle::SourceOfOlderEngine,
       [&] { destBefore = Snapshot(dst_); },
       [&] { ExpectRefusedAttach(destBefore, OlderEngineReport(src_)); }},
      {"destination made by a newer engine", Obstacle::DestinationOfNewerEngine,
       [&] { destBefore = Snapshot(dst_); },
       [&] { ExpectRefusedAttach(destBefore, "unsupported on-disk structure for file"); }},
      {"destination is a link to the source", Obstacle::None,
       [&] {
         std::filesystem::remove(link);
         std::filesystem::create_symlink(src_, link);
         window_.dest = link.string();
         destBefore = Snapshot(dst_);
       },
       [&] {
         ExpectSamePathsRefusal();
         EXPECT_EQ(Snapshot(dst_), destBefore);
       }},
      {"source is a link to the destination", Obstacle::None,
       [&] {
         std::filesystem::remove(link);
         std::filesystem::create_symlink(dst_, link);
         window_.source = link.string();
         destBefore = Snapshot(dst_);
       },
       [&] {
         ExpectSamePathsRefusal();
         EXPECT_EQ(Snapshot(dst_), destBefore);
       }},
      {"destination of the older layout", Obstacle::None,
       [&] {
         testsupport::MakeDatabase(dst_, testsupport::Variant::Older);
         Dest(
             "SET GENERATOR GEN_HOSTS TO 500; SET GENERATOR GEN_CONTROLLERS TO 500;"
             "INSERT INTO HOSTS (HS_ID, HS_NAME) VALUES (10, 'dest host');"
             "INSERT INTO CONTROLLERS (CT_ID, CT_HS_ID, CT_NAME, CT_PHONE) "
             "VALUES (10, 10, 'dest c', '555');");
         Source(
             "UPDATE HOSTS SET HS_PORT = 3050 + HS_ID;"
             "UPDATE CONTROLLERS SET CT_FIRMWARE = 'fw' || CT_ID;");
         TableList({"HOSTS=HS_ID", "CONTROLLERS=CT_ID", "OWNER=OW_ID"});
       },
       [&] {
         EXPECT_TRUE(window_.errorReports.empty());
         EXPECT_EQ(window_.StatusText(), ru::StatusDone());
         ExpectLog(LogAround(Block({}, true), SecondBlock({})));
         EXPECT_EQ(DestLines("SELECT HS_ID, HS_NAME FROM HOSTS ORDER BY HS_ID"),
                   (Lines{"501 h1", "502 h2"}));
         EXPECT_EQ(DestLines("SELECT CT_ID, CT_HS_ID, CT_NAME FROM CONTROLLERS ORDER BY CT_ID"),
                   (Lines{"501 501 c1", "502 502 c2"}));
         EXPECT_EQ(DestLines("SELECT OW_NAME FROM OWNER ORDER BY OW_NAME"),
                   (Lines{"o1", "o2", "o7"}));
       }},
      {"empty table list", Obstacle::None,
       [&] {
         WriteControlBytes("Conv.txt", "");
         destBefore = Snapshot(dst_);
       },
       [&] {
         EXPECT_TRUE(window_.errorReports.empty());
         EXPECT_EQ(window_.allBarMaxSet, 1);
         EXPECT_EQ(window_.StatusText(), ru::StatusDone());
         ExpectLog(LogAround(Block({}, true), SecondBlock({})));
         EXPECT_EQ(Snapshot(dst_), destBefore);
       }},
      {"unterminated comment in the first script", Obstacle::None,
       [&] {
         TableList({"HOSTS=HS_ID"});
         FirstScript({zone1, "", zone2 + " /* never closed"});
         SecondScript({zone3});
       },
       [&] {
         ASSERT_EQ(window_.errorReports.size(), 1u);
         EXPECT_EQ(window_.errorReports[0].rfind("SQL Parse Error:", 0), 0u)
             << window_.errorReports[0];
         EXPECT_NE(window_.errorReports[0].find("EOF in comment detected"), std::string::npos);
         Lines log = Block({zone1}, true);
         Add(log, {ru::LogStatementStart(), "", zone2 + " /* never closed"});
         ExpectLog(log);
         EXPECT_EQ(window_.statusTexts, Lines{ru::StatusSavingStates()});
         EXPECT_TRUE(window_.interruptWarnings.empty());
         EXPECT_FALSE(window_.busy);
         EXPECT_FALSE(Connected());
         EXPECT_EQ(Zones(), (Lines{"1", "10"}));
         EXPECT_EQ(DestLines("SELECT HS_ID FROM HOSTS"), Lines{"10"});
       }},
      {"interrupt during the second script", Obstacle::None,
       [&] {
         TableList({"HOSTS=HS_ID"});
         Generators({"GEN_HOSTS=HOSTS/HS_ID"});
         SecondScript({zone3, "", zone4});
         // the first pump after the first statement, not the announcement's
         InterruptWhen([seen = 0](const FakeWindow& w) mutable {
           return w.StatusText() == ru::StatusProcessing() && ++seen == 2;
         });
       },
       [&] {
         ExpectInterrupted();
         ASSERT_GE(window_.statusTexts.size(), 2u);
         EXPECT_EQ(Lines(window_.statusTexts.end() - 2, window_.statusTexts.end()),
                   (Lines{ru::StatusProcessing(), ru::StatusInterrupted()}));
         Lines second = SecondBlock({zone3});
         Add(second, SecondBlock({zone4}));
         ExpectLog(LogAround(Block({}, true), second));
         EXPECT_EQ(Zones(), (Lines{"3", "4", "10"}));
         EXPECT_EQ(DestLines("SELECT HS_NAME FROM HOSTS ORDER BY HS_ID"), (Lines{"h1", "h2"}));
         // the generators are not restored: the copy's own two steps only
         EXPECT_EQ(Generator("GEN_HOSTS"), 502);
         EXPECT_EQ(pauses_.size(), 2u);
       }},
      {"interrupt during the generator step", Obstacle::None,
       [&] {
         TableList({"HOSTS=HS_ID"});
         Generators({"GEN_HOSTS=HOSTS/HS_ID"});
         InterruptWhen(
             [](const FakeWindow& w) { return w.StatusText() == ru::StatusRestoringGenerators(); });
       },
       [&] {
         ExpectInterrupted();
         ASSERT_GE(window_.statusTexts.size(), 2u);
         EXPECT_EQ(Lines(window_.statusTexts.end() - 2, window_.statusTexts.end()),
                   (Lines{ru::StatusRestoringGenerators(), ru::StatusInterrupted()}));
         for (const std::string& status : window_.statusTexts)
           EXPECT_NE(status, ru::StatusRestoringStates());
         ExpectLog(LogAround(Block({}, true), SecondBlock({})));
         EXPECT_EQ(Generator("GEN_HOSTS"), 503);
       }},
  };

  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Reset();
    c.prepare();
    const std::string sourceBefore = Snapshot(src_);
    if (c.obstacle == Obstacle::ReadOnlySource)
      std::filesystem::permissions(src_, std::filesystem::perms::owner_read |
                                             std::filesystem::perms::group_read |
                                             std::filesystem::perms::others_read);
    std::optional<testsupport::DatabaseHeldElsewhere> held;
    if (c.obstacle == Obstacle::SourceHeld) held.emplace(src_);
    if (c.obstacle == Obstacle::DestinationHeld) held.emplace(dst_);
    const bool older = c.obstacle == Obstacle::SourceOfOlderEngine;
    const std::filesystem::path* relabelled = older ? &src_
                                              : c.obstacle == Obstacle::DestinationOfNewerEngine
                                                  ? &dst_
                                                  : nullptr;
    const int structure =
        relabelled ? testsupport::SetOnDiskStructureMajor(*relabelled, older ? 11 : 13) : 0;
    Run();
    held.reset();
    if (relabelled) testsupport::SetOnDiskStructureMajor(*relabelled, structure);
    EXPECT_FALSE(window_.running);
    c.check();
    std::filesystem::permissions(
        src_, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(Snapshot(src_), sourceBefore);
  }
}

}  // namespace
}  // namespace runtest
