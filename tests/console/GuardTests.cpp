// A run trusts its own plan: what would wreck it is refused before anything is
// touched (both databases, the control files and the last run's log stay as
// they were), what the run merely skips is only noted, and rows bound to fail
// are counted beforehand.
#include <sys/stat.h>

#include <QRegularExpression>
#include <fstream>
#include <iterator>

#include "tests/console/ConsoleFixture.h"
#include "tests/support/Contents.h"
#include "tests/support/Isql.h"
#include "tests/support/Schema.h"

namespace consoletest {
namespace {

namespace fs = std::filesystem;
using testsupport::DatabaseContents;
using testsupport::QueryInt;

std::string SampleBytes(const std::string& name) {
  std::ifstream in(testsupport::ControlDir() / name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The sample table list with the card definitions keyed by a column the
// table does not have: that line's copy fails as a whole.
std::string TableListWithBrokenLine() {
  std::string list = SampleBytes("Conv.txt");
  const size_t at = list.find("CARDSDEF=CD_ID\r\n");
  EXPECT_NE(at, std::string::npos);
  return list.replace(at, 14, "CARDSDEF=CD_IDX");
}

void Gfix(const std::string& db, const std::string& mode) {
  const testsupport::ProcessResult fixed =
      testsupport::RunProcess({"gfix", "-user", "SYSDBA", "-mode", mode, db});
  ASSERT_EQ(fixed.exitCode, 0) << fixed.out << fixed.err;
}

class Guards : public ConsoleTest {
 protected:
  Guards() {
    WriteControl("DB_dravik.log", {"a line of the last run"});
    std::ofstream(dir_ / "tool") << "#!/bin/sh\n";
    fs::permissions(dir_ / "tool", fs::perms::owner_exec, fs::perm_options::add);
  }

  void WriteBytes(const std::string& name, const std::string& bytes) const {
    std::ofstream(dir_ / name, std::ios::binary | std::ios::trunc) << bytes;
  }

  std::vector<std::string> Run(std::vector<std::string> more) const {
    std::vector<std::string> arguments = Databases();
    for (std::string& argument : more)
      if (argument.rfind("@/", 0) == 0) argument = folder_ + argument.substr(2);
    arguments.insert(arguments.end(), more.begin(), more.end());
    return arguments;
  }
};

struct Refused {
  const char* name;
  std::vector<std::string> arguments;  // "@/" for the program folder
  std::string tableList;               // the sample when empty
  bool readOnlyDestination;
  std::vector<std::string> says;  // on standard error
};

TEST_F(Guards, ARefusedRunTouchesNothing) {
  const std::string force = "[--force does not run over this]";
  const Refused cases[] = {
      {"a backup onto the table list",
       {"--backup", "@/Conv.txt"},
       "",
       false,
       {"Conv.txt would overwrite the table list", force}},
      {"a backup onto a script, in other letters",
       {"--backup", "@/sql/UPD.sql"},
       "",
       false,
       {"would overwrite a script of the run"}},
      {"a backup onto the run log", {"--backup", "@/DB_dravik.log"}, "", false, {"the run log"}},
      {"a backup onto a program", {"--backup", "@/tool"}, "", false, {"would overwrite a program"}},
      {"a table list without a table, forced",
       {"--events", "--force"},
       "* only a comment\r\n\r\n",
       false,
       {"the table list names no table", force}},
      {"a destination in read-only mode",
       {"--force"},
       "",
       true,
       {"the destination is in read-only mode", force}},
      {"a line whose copy fails as a whole",
       {},
       TableListWithBrokenLine(),
       false,
       {"(CARDSDEF=CD_IDX): the destination: ", "--force runs over these errors"}},
  };
  const std::string source = DatabaseContents(source_), dest = DatabaseContents(dest_);
  for (const Refused& refused : cases) {
    SCOPED_TRACE(refused.name);
    WriteBytes("Conv.txt", refused.tableList.empty() ? SampleBytes("Conv.txt") : refused.tableList);
    if (refused.readOnlyDestination) Gfix(dest_, "read_only");
    const std::map<std::string, std::string> files = FolderFiles();
    const testsupport::ProcessResult result = Console(Run(refused.arguments));
    EXPECT_EQ(result.exitCode, 2) << result.out << result.err;
    for (const std::string& said : refused.says)
      EXPECT_NE(result.err.find(said), std::string::npos) << result.err;
    EXPECT_TRUE(FolderFiles() == files) << "the program folder changed";
    if (refused.readOnlyDestination) Gfix(dest_, "read_write");
    EXPECT_EQ(DatabaseContents(dest_), dest);
  }
  EXPECT_EQ(DatabaseContents(source_), source);
}

// A file this process may not write is one the engine will not open: the
// command names the destination and leaves everything as it was.
TEST_F(Guards, ADestinationFileThatCannotBeWrittenIsNamed) {
  struct Immutable {
    explicit Immutable(const std::string& file) : file(file) {
      locked = testsupport::RunProcess({"chattr", "+i", file}).exitCode == 0;
    }
    ~Immutable() {
      if (locked) testsupport::RunProcess({"chattr", "-i", file});
    }
    std::string file;
    bool locked = false;
  } immutable(dest_);
  if (!immutable.locked) GTEST_SKIP() << "chattr +i is not allowed on this file system";
  const std::map<std::string, std::string> files = FolderFiles();
  const testsupport::ProcessResult result = Console(Run({"--force"}));
  EXPECT_EQ(result.exitCode, 2) << result.out << result.err;
  EXPECT_EQ(result.err.rfind("destination: no permission for read-write access", 0), 0u)
      << result.err;
  EXPECT_TRUE(FolderFiles() == files) << "the program folder changed";
}

TEST_F(Guards, ForceRunsOverALineThatCannotBeCopied) {
  WriteBytes("Conv.txt", TableListWithBrokenLine());
  const testsupport::ProcessResult result = Console(Run({"--force"}));
  EXPECT_EQ(result.exitCode, 1) << result.out << result.err;
  EXPECT_NE(result.out.find("Plan: 1 error, run over with --force"), std::string::npos)
      << result.out;
  EXPECT_EQ(LogBytes().find("a line of the last run"), std::string::npos);
  EXPECT_EQ(QueryInt(dest_, "SELECT COUNT(*) FROM CONTROLLERS"), kSiteSize);
  EXPECT_EQ(QueryInt(dest_, "SELECT COUNT(*) FROM CARDSDEF"), 0);
}

// The journals an installation lacks are skipped by the run; the plan says so
// and lets it run, unless rows of the source could not arrive.
TEST_F(Guards, EventTablesADatabaseLacks) {
  for (const std::string& db : {source_, dest_})
    testsupport::RunIsql(db, "DROP TABLE ACR$EVENTS; DROP TABLE STR_ALARMS;");
  testsupport::RunIsql(source_, "DROP TABLE ACR$ALARMS;");
  std::string generators;
  std::istringstream lines(SampleBytes("GENERATOR.txt"));
  for (std::string line; std::getline(lines, line);)
    if (line.find("ACR$") == std::string::npos && line.find("STR_") == std::string::npos)
      generators += line + "\n";
  WriteBytes("GENERATOR.txt", generators);

  const testsupport::ProcessResult plan = Console(Run({"--events", "--plan"}));
  EXPECT_EQ(plan.exitCode, 0) << plan.out << plan.err;
  EXPECT_EQ(After(plan.out, "note: neither database has this table").size(), 2u) << plan.out;
  EXPECT_EQ(After(plan.out, "note: the source has no such table").size(), 1u) << plan.out;

  const testsupport::ProcessResult run = Console(Run({"--events"}));
  EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
  const long long strEvents = QueryInt(source_, "SELECT COUNT(*) FROM STR_EVENTS");
  EXPECT_GT(strEvents, 0);
  EXPECT_EQ(QueryInt(dest_, "SELECT COUNT(*) FROM STR_EVENTS"), strEvents);
  EXPECT_GT(QueryInt(dest_, "SELECT COUNT(*) FROM ALARM"), 0);

  testsupport::RunIsql(dest_, "DROP TABLE STR_EVENTS;");
  const testsupport::ProcessResult lacking = Console(Run({"--events", "--plan"}));
  EXPECT_EQ(lacking.exitCode, 2) << lacking.out << lacking.err;
  EXPECT_EQ(After(lacking.out, "ERROR: the destination has no such table: "),
            std::vector<std::string>{std::to_string(strEvents) + " source rows could not arrive"})
      << lacking.out;
}

// Events keep their keys and are never deleted: a second run over them fails
// every one, and the plan counts exactly those beforehand.
TEST_F(Guards, PlanCountsTheKeptKeysTheDestinationAlreadyHolds) {
  const testsupport::ProcessResult first = Console(Run({"--events"}));
  ASSERT_EQ(first.exitCode, 0) << first.out << first.err;
  const testsupport::ProcessResult plan = Console(Run({"--events", "--plan"}));
  EXPECT_EQ(plan.exitCode, 0) << plan.out << plan.err;
  const QRegularExpression held(R"(^(\d+) source rows bring keys the destination already holds)");
  const std::vector<std::string> warnings = After(plan.out, "WARNING: ");
  ASSERT_EQ(warnings.size(), 6u) << plan.out;  // the six event tables, EVENTS first
  long long failing = 0;
  for (const std::string& warning : warnings) {
    const QRegularExpressionMatch match = held.match(QString::fromStdString(warning));
    ASSERT_TRUE(match.hasMatch()) << warning;
    failing += match.captured(1).toLongLong();
  }
  EXPECT_EQ(warnings[0].substr(0, warnings[0].find(' ')),
            std::to_string(QueryInt(dest_, "SELECT COUNT(*) FROM EVENTS")));

  const testsupport::ProcessResult second = Console(Run({"--events"}));
  EXPECT_EQ(second.exitCode, 1) << second.out << second.err;
  EXPECT_EQ(After(second.out, "failed statements: "),
            std::vector<std::string>{std::to_string(failing)})
      << second.out;
}

}  // namespace
}  // namespace consoletest
