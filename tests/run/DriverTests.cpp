// The table list driver through whole runs: the two passes, the markers, the
// special tables, the events section and the generators after them.
#include <algorithm>

#include "tests/run/RunFixture.h"
#include "text/Cp1251.h"
#include "text/RussianTexts.h"

namespace runtest {
namespace {

using Lines = std::vector<std::string>;

// The overall bar's highest position before each restart, and at the end.
Lines BarPeaks(const std::vector<int>& positions) {
  Lines peaks;
  for (size_t i = 0; i < positions.size(); ++i)
    if (i + 1 == positions.size() || positions[i + 1] < positions[i])
      peaks.push_back(std::to_string(positions[i]));
  return peaks;
}

class Driver : public RunTest {
 protected:
  explicit Driver(const std::string& programSubfolder = "") : RunTest(programSubfolder) {
    window_.onPump = [this](FakeWindow& w, int) { positions_.push_back(w.allBar.position); };
  }

  // The log of a run with empty scripts whose copying pass writes `copyLines`.
  static Lines LogWith(const Lines& copyLines) {
    Lines afterPasses = copyLines;
    Add(afterPasses, SecondBlock({}));
    return LogAround(Block({}, true), afterPasses);
  }
  static std::string Extra(const std::string& table) {
    return kStamp + ru::LogExtraClearing() + table;
  }
  static std::string Cleared(const std::string& table) {
    return kStamp + ru::LogClearing() + table;
  }

  std::vector<int> positions_;
};

TEST_F(Driver, CommentsAndBlankLinesChangeNothing) {
  SeedSite();
  TableList({"* HOSTS=HS_ID", " \t*READERS=RD_ID@RD_NUM > 2", "", "HOSTS", "   "});
  const auto before = Snapshot(dst_);
  Run();
  ExpectLog(LogWith({}));
  EXPECT_EQ(Snapshot(dst_), before);
  EXPECT_EQ(window_.allBarMaxSet, 5);
  // each pass walks every line; the run resets the bar after the driver
  EXPECT_EQ(BarPeaks(positions_), (Lines{"5", "5", "0"}));
  EXPECT_EQ(window_.StatusText(), ru::StatusDone());
  EXPECT_TRUE(window_.errorReports.empty());
}

// The same run from a program folder under a plain name and under a Cyrillic one
// with a blank, as on a Russian desktop's downloads folder.
class DriverInFolder : public Driver, public ::testing::WithParamInterface<const char*> {
 protected:
  DriverInFolder() : Driver(GetParam()) {}
};

INSTANTIATE_TEST_SUITE_P(ProgramFolder, DriverInFolder,
                         ::testing::Values("plain", "Загрузки старые"),
                         [](const auto& info) { return info.index == 0 ? "Plain" : "Cyrillic"; });

TEST_P(DriverInFolder, EveryMarkerClearsCopiesAndUpdatesAsListed) {
  SeedSite();
  TableList({
      "* devices before what refers to them",
      "HOSTS=HS_ID",
      "CONTROLLERS=CT_ID#",
      "READERS=RD_ID@RD_NUM > 2",
      "CARDGROUPS=CG_ID%",
      "OWNER=OW_ID",
      "OWNER=OW_ID&OW_REGDATE",
      "EVDESC=ED_ID#",
      "EVENTS=EV_ID",
  });
  Generators({"* generators of the copied tables", "GEN_OWNER=OWNER/OW_ID",
              "  * GEN_NONE=NO_SUCH/ID", "GEN_HOSTS=HOSTS/HS_ID", "GEN_KRONTUR=KRONTUR/KT_ID"});
  const std::string sourceBefore = Snapshot(src_);
  ASSERT_NE(sourceBefore.find("o7"), std::string::npos);
  Run();

  ExpectLog(LogWith({Extra("CONTROLLERS"), Cleared("CARDGROUPS"), Extra("EVDESC")}));
  EXPECT_EQ(
      window_.statusTexts,
      (Lines{ru::StatusSavingStates(), ru::StatusClearing(), "HOSTS", "CONTROLLERS", "READERS",
             "CARDGROUPS", "OWNER", "OWNER", "EVDESC", "EVENTS", ru::StatusProcessing(),
             ru::StatusRestoringGenerators(), ru::StatusRestoringStates(), ru::StatusDone()}));
  EXPECT_TRUE(window_.errorReports.empty());
  EXPECT_TRUE(window_.interruptWarnings.empty());
  EXPECT_FALSE(window_.running);
  EXPECT_EQ(window_.allBar.position, 0);
  EXPECT_EQ(window_.tableBar.position, 0);

  EXPECT_EQ(DestLines("SELECT HS_ID, HS_NAME FROM HOSTS ORDER BY HS_ID"),
            (Lines{"501 h1", "502 h2"}));
  EXPECT_EQ(DestLines("SELECT CT_ID, CT_HS_ID, CT_NAME FROM CONTROLLERS ORDER BY CT_ID"),
            (Lines{"501 501 c1", "502 502 c2"}));
  // the condition limits both the deletion and the copy; zones all go with readers
  EXPECT_EQ(DestLines("SELECT RD_ID, RD_NUM, RD_NAME FROM READERS ORDER BY RD_ID"),
            (Lines{"10 1 keep me", "501 3 r3", "502 5 r5"}));
  EXPECT_TRUE(DestRows("SELECT * FROM ZONES").empty());
  EXPECT_TRUE(DestRows("SELECT * FROM CARDGROUPS").empty());
  // owners keep their keys, so the update finds them and brings the dates back
  const std::string owners = "SELECT OW_ID, OW_NAME, OW_REGDATE FROM OWNER ORDER BY OW_ID";
  EXPECT_EQ(DestLines(owners), SourceLines(owners));
  EXPECT_EQ(DestInt("SELECT COUNT(*) FROM EVDESC"), 21);
  EXPECT_EQ(DestLines("SELECT EV_ID FROM EVENTS"), (Lines{"100"}));

  EXPECT_EQ(Generator("GEN_OWNER"), 8);
  EXPECT_EQ(Generator("GEN_HOSTS"), 503);
  EXPECT_EQ(Generator("GEN_KRONTUR"), 0);
  EXPECT_EQ(Snapshot(src_), sourceBefore);
}

// Lines naming the special tables, or missing them by a blank, a letter case or
// an unknown name: what each one deletes and logs.
TEST_F(Driver, SpecialAndUnknownTables) {
  struct Case {
    Lines list;
    std::string query;
    Lines rows;
    Lines copyLog;
  };
  const std::string events = "SELECT EV_ID FROM EVENTS ORDER BY EV_ID";
  const std::string descriptions = "SELECT COUNT(*) FROM EVDESC";
  const std::string hosts = "SELECT HS_ID, HS_NAME FROM HOSTS";
  const std::string dates = "SELECT OW_ID FROM OWNER WHERE OW_REGDATE = '2020-01-02'";
  const Case cases[] = {
      {{"EVENTS=EV_ID"}, events, {"100"}, {}},
      {{"EVENTS=EV_ID%"}, events, {"100"}, {Cleared("EVENTS")}},
      {{"EVENTS=EV_ID#"}, events, {"100"}, {Extra("EVENTS")}},
      {{"ACR$EVDESC=AED_ID%", "EVDESC=ED_ID%"},
       descriptions,
       {"21"},
       {Cleared("ACR$EVDESC"), Cleared("EVDESC")}},
      // a leading blank no longer names a special table: the rows go
      {{" EVENTS=EV_ID%"}, events, {}, {Cleared(" EVENTS")}},
      // names compare exactly, but SQL does not mind the letter case
      {{"events=EV_ID%"}, events, {}, {Cleared("events")}},
      // broken lines change nothing and stop nothing
      {{"NO_SUCH_TABLE=ID", "HOSTS=HS_ID@this is not sql", "HOSTS", "=HS_ID"},
       hosts,
       {"10 dest host"},
       {}},
      // "&" empties the table in the clearing pass; a missing key column stops the update
      {{"HOSTS=NO_SUCH_COLUMN&HS_NAME"}, hosts, {}, {}},
      // the update finds no column of that exact name
      {{"OWNER=OW_ID", "OWNER=OW_ID&ow_regdate"}, dates, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.list.front());
    FreshDatabases();
    SeedSite();
    ResetLog();
    TableList(c.list);
    Run();
    ExpectLog(LogWith(c.copyLog));
    EXPECT_EQ(DestLines(c.query), c.rows);
    EXPECT_EQ(window_.StatusText(), ru::StatusDone());
    EXPECT_TRUE(window_.errorReports.empty());
  }
}

TEST_F(Driver, EventsSectionCopiesTheEventTablesInOrder) {
  SeedSite();
  TableList({"HOSTS=HS_ID", "EVENTS=EV_ID"});
  window_.events = true;
  const std::string sourceBefore = Snapshot(src_);
  Run();
  EXPECT_EQ(Snapshot(src_), sourceBefore);
  EXPECT_EQ(window_.allBarMaxSet, 6);
  EXPECT_EQ(
      window_.statusTexts,
      (Lines{ru::StatusSavingStates(), ru::StatusClearing(), "HOSTS", "EVENTS", "EVENTS", "ALARM",
             "ACR$EVENTS", "STR_EVENTS", "STR_ALARMS", "ACR$ALARMS", ru::StatusProcessing(),
             ru::StatusRestoringGenerators(), ru::StatusRestoringStates(), ru::StatusDone()}));
  // the destination's own events stay; the source's arrive with their keys
  EXPECT_EQ(DestLines("SELECT EV_ID FROM EVENTS ORDER BY EV_ID"), (Lines{"1", "100"}));
  // two lines and six event tables: the bar stops at its maximum
  EXPECT_EQ(BarPeaks(positions_), (Lines{"2", "6", "0"}));
}

// A deletion the destination refuses is logged in both passes; the rows stay.
TEST_F(Driver, RefusedDeletionIsLoggedAndTheRunGoesOn) {
  SeedSite();
  Dest(
      "CREATE EXCEPTION E_KEEP_ZONES 'zones stay';"
      "SET TERM ^ ;"
      "CREATE TRIGGER ZONES_BD FOR ZONES BEFORE DELETE AS BEGIN EXCEPTION E_KEEP_ZONES; END^"
      "SET TERM ; ^");
  TableList({"ZONES=ZN_ID%", "HOSTS=HS_ID"});
  Run();
  const Lines lines = LogLines();
  const std::string refused = ru::LogClearError() + "ZONES :  ";
  int refusals = 0;
  bool copyPassSeen = false, clearedLogged = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].rfind(refused, 0) == 0) {
      ++refusals;
      // the engine's message follows on the same and the next lines
      std::string message;
      for (size_t j = i; j < lines.size() && j < i + 6; ++j) message += lines[j];
      EXPECT_NE(message.find("zones stay"), std::string::npos) << message;
    }
    if (lines[i].find(ru::LogCopyPass()) != std::string::npos) copyPassSeen = true;
    if (copyPassSeen && lines[i].find(ru::LogClearing() + "ZONES") != std::string::npos)
      clearedLogged = true;
  }
  EXPECT_EQ(refusals, 2);
  EXPECT_TRUE(clearedLogged);
  EXPECT_EQ(DestLines("SELECT ZN_ID FROM ZONES"), (Lines{"10"}));
  EXPECT_EQ(DestLines("SELECT HS_NAME FROM HOSTS ORDER BY HS_ID"), (Lines{"h1", "h2"}));
  EXPECT_EQ(window_.StatusText(), ru::StatusDone());
}

// One row whose update the destination refuses: its line, and the others updated.
TEST_F(Driver, RefusedUpdateIsLoggedPerRow) {
  SeedSite();
  Dest(
      "CREATE EXCEPTION E_NO_UPDATE 'owner two is locked';"
      "SET TERM ^ ;"
      "CREATE TRIGGER OWNER_BU FOR OWNER BEFORE UPDATE AS BEGIN "
      "IF (NEW.OW_ID = 2) THEN EXCEPTION E_NO_UPDATE; END^"
      "SET TERM ; ^");
  TableList({"OWNER=OW_ID", "OWNER=OW_ID&OW_REGDATE"});
  Run();
  const std::string refused = ru::LogUpdateError() + "OWNER OW_ID =  2 :  ";
  const Lines lines = LogLines();
  const auto found = std::find_if(lines.begin(), lines.end(), [&](const std::string& line) {
    return line.rfind(refused, 0) == 0;
  });
  ASSERT_NE(found, lines.end());
  EXPECT_EQ(DestLines("SELECT OW_ID FROM OWNER WHERE OW_REGDATE = '2020-01-02' ORDER BY OW_ID"),
            (Lines{"1", "7"}));
  // Kept for the check, which counts the row as failed rather than different.
  EXPECT_EQ(run_.LastOutcome().record.failedUpdates, (FailedKeys{{"OWNER", {{"2", 1}}}}));
  EXPECT_TRUE(run_.LastOutcome().record.failedRows.empty());
}

// What the check needs beyond the log: each copy's entries in its table's key
// map, in order, and the error that ended a line the driver went past.
TEST_F(Driver, RecordsWhatEachLineDid) {
  SeedSite();
  TableList({"HOSTS=HS_ID", "* a comment", "HOSTS=HS_ID", "CARDSDEF=CD_IDX", "CARDGROUPS=CG_ID"});
  window_.events = true;
  Run();
  const RunRecord& record = run_.LastOutcome().record;
  ASSERT_EQ(record.lines.size(), 10u);  // the events section's six tables too
  auto expect = [&](const LineRecord& line, int number, const std::string& table, size_t first,
                    size_t entries) {
    SCOPED_TRACE(std::to_string(number) + " " + table);
    EXPECT_EQ(line.line, number);
    EXPECT_EQ(line.table, table);
    EXPECT_TRUE(line.copied);
    EXPECT_EQ(line.firstKeyEntry, first);
    EXPECT_EQ(line.keyEntries, entries);
  };
  expect(record.lines[0], 1, "HOSTS", 0, 2);
  expect(record.lines[1], 3, "HOSTS", 2, 2);
  EXPECT_TRUE(record.lines[0].errors.empty());
  expect(record.lines[2], 4, "CARDSDEF", 0, 0);
  ASSERT_EQ(record.lines[2].errors.size(), 1u);
  EXPECT_NE(record.lines[2].errors[0].find("CD_IDX"), std::string::npos);
  expect(record.lines[3], 5, "CARDGROUPS", 0, 1);
  expect(record.lines[4], 0, "EVENTS", 0, 0);
  EXPECT_EQ(record.keyMap.Pair(keymap::kHosts).OldKeys(), (Lines{"1", "2", "1", "2"}));
  // The destination's own event keeps its key; the source's arrives.
  EXPECT_TRUE(record.failedRows.empty());
}

// Two runs in one process: each counts its own steps, and the second one's key
// map starts empty, so its references point at the second run's new keys.
TEST_F(Driver, SecondRunStartsWithAnEmptyKeyMap) {
  SeedSite();
  TableList({"HOSTS=HS_ID", "CONTROLLERS=CT_ID"});
  Generators({"GEN_HOSTS=HOSTS/HS_ID", "GEN_CONTROLLERS=CONTROLLERS/CT_ID"});
  window_.events = true;
  const std::string join =
      "SELECT C.CT_ID, C.CT_NAME, H.HS_NAME FROM CONTROLLERS C JOIN HOSTS H ON H.HS_ID = "
      "C.CT_HS_ID ORDER BY C.CT_ID";
  Run();
  EXPECT_EQ(window_.allBarMaxSet, 6);
  EXPECT_EQ(DestLines(join), (Lines{"501 c1 h1", "502 c2 h2"}));
  const Lines firstLog = LogLines();

  window_.allBarMaxSet = 0;
  Run();
  EXPECT_EQ(window_.allBarMaxSet, 6);
  EXPECT_EQ(DestLines(join), (Lines{"504 c1 h1", "505 c2 h2"}));
  EXPECT_EQ(DestLines("SELECT HS_ID FROM HOSTS ORDER BY HS_ID"), (Lines{"504", "505"}));
  // The log keeps the first run's lines and adds the same shape again; the one
  // difference is the event copied twice, which the destination refuses.
  const Lines lines = LogLines();
  ASSERT_GT(lines.size(), firstLog.size());
  EXPECT_TRUE(std::equal(firstLog.begin(), firstLog.end(), lines.begin()));
  Lines second(lines.begin() + static_cast<long>(firstLog.size()), lines.end());
  const auto refused = std::find_if(second.begin(), second.end(), [](const std::string& line) {
    return line.rfind(ru::LogInsertError() + "EVENTS EV_ID =  1 :  ", 0) == 0;
  });
  ASSERT_NE(refused, second.end());
  EXPECT_EQ(run_.LastOutcome().record.failedRows, (FailedKeys{{"EVENTS", {{"1", 1}}}}));
  second.erase(refused, std::find(refused, second.end(), ru::LogStatementStart()));
  auto withoutStamps = [](Lines log) {
    for (std::string& line : log)
      if (line.find(ru::LogClearingPass()) != std::string::npos ||
          line.find(ru::LogCopyPass()) != std::string::npos)
        line = line.substr(line.find("   "));
    return log;
  };
  EXPECT_EQ(withoutStamps(second), withoutStamps(firstLog));
  EXPECT_TRUE(window_.errorReports.empty());
}

}  // namespace
}  // namespace runtest
