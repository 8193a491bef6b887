// The check after a run finds the references that point nowhere (one the copy
// turned into -1, one a script broke on purpose after the copy) and the rows
// that did not arrive; everything else checks out.
#include <iterator>
#include <sstream>

#include "tests/console/ConsoleFixture.h"
#include "tests/support/Isql.h"

namespace consoletest {
namespace {

std::vector<std::string> Words(const std::string& line) {
  std::istringstream words(line);
  return {std::istream_iterator<std::string>(words), std::istream_iterator<std::string>()};
}

TEST_F(ConsoleTest, CheckFindsBrokenReferencesAndRowsThatFailed) {
  // A reader program whose reader the source does not have: the copy finds no
  // new key for it.
  testsupport::RunIsql(source_,
                       "INSERT INTO PRGDEF (PD_ID, PD_NUM, PD_CT_ID, PD_TYPE, PD_DEV_ID) "
                       "VALUES (990001, 1, 101, 4, 999999)");
  const std::string input =
      testsupport::QueryValue(source_, "SELECT MIN(PD_ID) FROM PRGDEF WHERE PD_TYPE = 7");
  // The second script runs after the copy: an input program then names an input nobody has.
  WriteControl("SQL/Upd.sql", {"UPDATE PRGDEF SET PD_DEV_ID = 888888 WHERE PD_ID = " + input});
  // Events keep their keys and the destination keeps its own: one of the
  // source's collides with it and fails.
  const std::string event = testsupport::QueryValue(source_, "SELECT MIN(EV_ID) FROM EVENTS");
  testsupport::RunIsql(
      dest_, "INSERT INTO EVENTS (EV_ID, EV_CODE, EV_ADDCODE) VALUES (" + event + ", 1, 0)");
  const long long events = testsupport::QueryInt(
      source_,
      "SELECT COUNT(*) FROM EVENTS E WHERE EXISTS (SELECT 1 FROM EVDESC ED WHERE "
      "E.EV_CODE = ED.ED_CODE AND (E.EV_ADDCODE = ED.ED_ADDCODE OR E.EV_ADDCODE - 256 = "
      "ED.ED_ADDCODE))");

  std::vector<std::string> arguments = Databases();
  arguments.insert(arguments.end(), {"--events", "--check"});
  const testsupport::ProcessResult result = Console(arguments);
  EXPECT_EQ(result.exitCode, 1) << result.out << result.err;
  EXPECT_EQ(testsupport::QueryInt(dest_, "SELECT PD_DEV_ID FROM PRGDEF WHERE PD_ID = 990001"), -1);

  const std::vector<std::string> readers = After(result.out, "PD_DEV_ID where PD_TYPE = 4");
  const std::vector<std::string> inputs = After(result.out, "PD_DEV_ID where PD_TYPE = 7");
  ASSERT_EQ(readers.size(), 1u) << result.out;
  ASSERT_EQ(inputs.size(), 1u) << result.out;
  // The referenced table, one row pointing nowhere, that row's key, the result.
  EXPECT_EQ(Words(readers[0]), (std::vector<std::string>{"READERS", "1", "990001", "DIFFERENT"}));
  EXPECT_EQ(Words(inputs[0]), (std::vector<std::string>{"INPUTS", "1", input, "DIFFERENT"}));
  // Kept, copied, expected, there now, failed.
  const std::vector<std::string> eventRows = After(result.out, "\n  EVENTS ");
  ASSERT_FALSE(eventRows.empty()) << result.out;
  EXPECT_EQ(Words(eventRows[0]),
            (std::vector<std::string>{"1", std::to_string(events), std::to_string(events + 1),
                                      std::to_string(events), "1", "DIFFERENT"}));
  EXPECT_EQ(After(result.out, "DIFFERENT").size(), 3u) << result.out;
  EXPECT_NE(result.out.find("Verdict: 3 differences"), std::string::npos) << result.out;
}

}  // namespace
}  // namespace consoletest
