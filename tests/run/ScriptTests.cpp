// The two SQL scripts as a whole run shows them: statement splitting, the
// statement blocks of the run log, and what reaches the destination.
#include <algorithm>

#include "tests/run/RunFixture.h"
#include "text/Cp1251.h"
#include "text/RussianTexts.h"

namespace runtest {
namespace {

using Lines = std::vector<std::string>;

class Scripts : public RunTest {
 protected:
  Lines ZoneNames() { return DestLines("SELECT ZN_ID, ZN_NAME FROM ZONES ORDER BY ZN_ID"); }
};

TEST_F(Scripts, EmptyScriptsWriteOneBlockEach) {
  Run();
  ExpectLog(LogAround(Block({}, true), SecondBlock({})));
  EXPECT_EQ(pauses_, std::vector<std::chrono::milliseconds>{std::chrono::milliseconds(1000)});
  EXPECT_TRUE(window_.errorReports.empty());
}

// The same statements, separated by blank lines in one run and by "{***}" in the
// other, give the same statements and the same log.
TEST_F(Scripts, BlankLinesAndMarkersSeparateAlike) {
  const Lines statement1 = {"INSERT INTO ZONES (ZN_ID, ZN_NAME) VALUES (1, 'one')"};
  const Lines statement2 = {"-- a line comment goes with its statement",
                            "INSERT INTO ZONES (ZN_ID, ZN_NAME) VALUES (2, 'two')"};
  const Lines statement3 = {"INSERT INTO ZONES (ZN_ID, ZN_NAME)", "  VALUES (3, 'three')"};
  const std::string last = "INSERT INTO ZONES (ZN_ID, ZN_NAME) VALUES (4, 'four')";
  auto script = [&](const std::string& separator) {
    Lines lines = statement1;
    lines.push_back(separator);
    Add(lines, statement2);
    lines.push_back("--- a comment line: it ends the statement and is not sent");
    Add(lines, statement3);
    // two separators in a row: an empty statement
    lines.push_back(separator);
    lines.push_back(separator);
    return lines;
  };
  Lines expected;
  for (const Lines& s : {statement1, statement2, statement3, Lines{}, Lines{last}})
    Add(expected, Block(s, true));
  expected = LogAround(expected, SecondBlock({}));

  std::string logs[2];
  const char* separators[] = {"  \t", "{***}"};
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(separators[i]);
    if (i == 1) {
      ResetLog();
      Dest("DELETE FROM ZONES");
    }
    // the last statement is followed directly by the end of the file
    std::string bytes;
    for (const std::string& line : script(separators[i])) bytes += line + "\r\n";
    WriteControlBytes("SQL/_Upd.sql", bytes + last);
    Run();
    ExpectLog(expected);
    EXPECT_EQ(ZoneNames(), (Lines{"1 one", "2 two", "3 three", "4 four"}));
    logs[i] = LogBytes();
  }
  // Only the timestamps may differ.
  EXPECT_EQ(logs[0].size(), logs[1].size());
}

// LF-only line ends read as CR LF ones; the log is written with CR LF all the same.
TEST_F(Scripts, LineFeedOnlyScriptsReadAlike) {
  WriteControlBytes("SQL/_Upd.sql",
                    "INSERT INTO ZONES (ZN_ID, ZN_NAME)\n VALUES (7, 'lf')\n\n"
                    "INSERT INTO ZONES (ZN_ID, ZN_NAME) VALUES (8, 'lf')\n");
  Run();
  Lines first = Block({"INSERT INTO ZONES (ZN_ID, ZN_NAME)", " VALUES (7, 'lf')"}, true);
  Add(first, Block({"INSERT INTO ZONES (ZN_ID, ZN_NAME) VALUES (8, 'lf')"}, true));
  ExpectLog(LogAround(first, SecondBlock({})));
  EXPECT_EQ(ZoneNames(), (Lines{"7 lf", "8 lf"}));
}

// The second script logs every failure and goes on; an empty statement has no
// outcome lines; every block is followed by the one-second pause.
TEST_F(Scripts, SecondScriptGoesOnAfterFailures) {
  SecondScript({"INSERT INTO ZONES (ZN_ID, ZN_NAME) VALUES (1, 'one')", "",
                "INSERT INTO NO_SUCH_TABLE (A) VALUES (1)", "",
                "INSERT INTO ZONES (ZN_ID, ZN_NAME) VALUES (1, 'again')", "{***}", "",
                "INSERT INTO ZONES (ZN_ID, ZN_NAME) VALUES (2, 'two')"});
  Run();
  const Lines lines = LogLines();
  // statement, blank, number signs, blank, then the message up to the blank and end lines
  auto failureAt = [&](const std::string& statement) {
    std::string message;
    for (size_t i = 0; i + 4 < lines.size(); ++i)
      if (lines[i] == statement) {
        EXPECT_EQ(lines[i + 1], "");
        EXPECT_EQ(lines[i + 2], ru::LogStatementFailure());
        EXPECT_EQ(lines[i + 3], "");
        for (size_t j = i + 4; j + 1 < lines.size() && lines[j + 1] != ru::LogStatementEnd(); ++j)
          message += lines[j] + "\n";
        return message;
      }
    ADD_FAILURE() << "no block for " << statement;
    return message;
  };
  EXPECT_NE(failureAt("INSERT INTO NO_SUCH_TABLE (A) VALUES (1)").find("NO_SUCH_TABLE"),
            std::string::npos);
  EXPECT_NE(failureAt("INSERT INTO ZONES (ZN_ID, ZN_NAME) VALUES (1, 'again')").find("PK_ZONES"),
            std::string::npos);
  EXPECT_EQ(ZoneNames(), (Lines{"1 one", "2 two"}));
  EXPECT_EQ(pauses_, std::vector<std::chrono::milliseconds>(5, std::chrono::milliseconds(1000)));
  // the empty statement between "{***}" and the blank line
  const Lines empty = SecondBlock({});
  EXPECT_NE(std::search(lines.begin(), lines.end(), empty.begin(), empty.end()), lines.end());
  EXPECT_EQ(window_.StatusText(), ru::StatusDone());
  EXPECT_TRUE(window_.errorReports.empty());
}

// A first-script statement the database refuses while executing is logged and the
// script goes on; its colon words are parameters that get no value.
TEST_F(Scripts, FirstScriptLogsExecutionFailures) {
  FirstScript({"INSERT INTO ZONES (ZN_ID, ZN_NAME) VALUES (1, 'one')", "",
               "INSERT INTO ZONES (ZN_ID, ZN_NAME) VALUES (1, 'twice')", "",
               "UPDATE ZONES SET ZN_NAME = 'by parameter' WHERE ZN_ID = :ID OR ZN_ID = 1"});
  Run();
  const Lines lines = LogLines();
  ASSERT_GE(lines.size(), 17u);
  EXPECT_EQ(lines[9],
            text::Cp1251FromUtf8("INSERT INTO ZONES (ZN_ID, ZN_NAME) VALUES (1, 'twice')"));
  EXPECT_EQ(lines[10], "");
  EXPECT_EQ(lines[11], ru::LogStatementFailure());
  EXPECT_EQ(lines[12], "");
  EXPECT_NE(lines[13].find("PK_ZONES"), std::string::npos);
  EXPECT_EQ(ZoneNames(), (Lines{"1 by parameter"}));
  EXPECT_EQ(window_.StatusText(), ru::StatusDone());
}

// Colons reach the database unchanged only in the second script: a block with a
// local variable runs there, and ends the run when the first script prepares it.
TEST_F(Scripts, ColonsRunOnlyInTheSecondScript) {
  const Lines block = {"EXECUTE BLOCK AS DECLARE X INTEGER; BEGIN X = 5;",
                       "INSERT INTO ZONES (ZN_ID, ZN_NAME) VALUES (:X, 'block'); END"};
  SecondScript(block);
  Run();
  EXPECT_EQ(ZoneNames(), (Lines{"5 block"}));
  ExpectLog(LogAround(Block({}, true), SecondBlock(block)));

  ResetLog();
  Dest("DELETE FROM ZONES");
  FirstScript(block);
  SecondScript({});
  Run();
  // The block ends after the statement lines; nothing after the first script runs.
  Lines expected = {ru::LogStatementStart(), ""};
  Add(expected, block);
  ExpectLog(expected);
  ASSERT_EQ(window_.errorReports.size(), 1u);
  EXPECT_EQ(window_.errorReports[0].back(), '.');
  EXPECT_FALSE(window_.running);
  EXPECT_FALSE(window_.busy);
  EXPECT_FALSE(Connected());
  EXPECT_TRUE(ZoneNames().empty());
}

}  // namespace
}  // namespace runtest
