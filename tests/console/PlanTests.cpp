// The plan reads only, and what it foretells is what the run then does; a
// table list or generator list the databases cannot follow is named as an
// error before anything is emptied.
#include <QRegularExpression>
#include <algorithm>
#include <map>
#include <sstream>

#include "tests/console/ConsoleFixture.h"
#include "tests/support/Contents.h"
#include "tests/support/RunLogLines.h"

namespace consoletest {
namespace {

using testsupport::DatabaseContents;

// The plan's "the destination then holds N rows", by table; the last line of a table counts.
std::map<std::string, long long> RowsAfter(const std::string& plan) {
  std::map<std::string, long long> rows;
  // std::regex trips GCC 12's maybe-uninitialized warning in optimised sanitizer builds.
  const QRegularExpression heading(R"(^  (line \d+|events section): ([^=]+)=)");
  const QRegularExpression holds(R"(^    the destination then holds (\d+) rows?)");
  std::istringstream lines(plan);
  std::string table;
  for (std::string line; std::getline(lines, line);) {
    const QString text = QString::fromStdString(line);
    if (const auto match = heading.match(text); match.hasMatch())
      table = match.captured(2).toStdString();
    if (const auto match = holds.match(text); match.hasMatch())
      rows[table] = match.captured(1).toLongLong();
  }
  return rows;
}

// The generator table of the plan, as NAME=value like testsupport::GeneratorValues.
std::vector<std::string> GeneratorsFore(const std::string& plan) {
  std::vector<std::string> values;
  const QRegularExpression row(R"(^\s+\d+\s+(\S+)\s+\S+/\S+\s+(\d+)\s)");
  std::istringstream lines(plan);
  for (std::string line; std::getline(lines, line);) {
    if (const auto match = row.match(QString::fromStdString(line)); match.hasMatch())
      values.push_back((match.captured(1) + "=" + match.captured(2)).toStdString());
  }
  return values;
}

TEST_F(ConsoleTest, PlanChangesNothingAndForetellsTheRun) {
  WriteControl("DB_dravik.log", {"a line of an earlier run"});
  const std::string log = LogBytes();
  const std::string source = DatabaseContents(source_), dest = DatabaseContents(dest_);

  std::vector<std::string> arguments = Databases();
  arguments.insert(arguments.end(), {"--events", "--keep-locations"});
  std::vector<std::string> planArguments = arguments;
  planArguments.push_back("--plan");
  const testsupport::ProcessResult plan = Console(planArguments);
  ASSERT_EQ(plan.exitCode, 0) << plan.out << plan.err;
  EXPECT_EQ(DatabaseContents(source_), source);
  EXPECT_EQ(DatabaseContents(dest_), dest);
  EXPECT_EQ(LogBytes(), log);
  EXPECT_NE(plan.out.find("warnings, 0 errors\n"), std::string::npos) << plan.out;

  const testsupport::ProcessResult run = Console(arguments);
  ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
  const std::map<std::string, long long> rows = RowsAfter(plan.out);
  ASSERT_GE(rows.size(), 20u) << plan.out;
  for (const auto& [table, count] : rows)
    EXPECT_EQ(testsupport::QueryInt(dest_, "SELECT COUNT(*) FROM " + table), count) << table;
  const std::vector<std::string> generators = GeneratorsFore(plan.out);
  const testsupport::Row actual = testsupport::GeneratorValues(dest_);
  ASSERT_EQ(generators.size(), 18u) << plan.out;
  for (const std::string& generator : generators)
    EXPECT_NE(std::find(actual.begin(), actual.end(), generator), actual.end()) << generator;
}

struct BrokenList {
  const char* name;
  std::vector<std::string> tableList;
  std::vector<std::string> generatorList;
  const char* named;    // what the plan says about it
  const char* russian;  // the same under a Russian locale
};

TEST_F(ConsoleTest, PlanNamesWhatARunCouldNotDo) {
  const std::vector<std::string> generators = {"GEN_HOSTS=HOSTS/HS_ID"};
  const BrokenList cases[] = {
      {"a table the destination lacks",
       {"HOSTS=HS_ID", "NO_SUCH=NS_ID"},
       generators,
       "ERROR: the destination: ",
       "ОШИБКА: приемник: "},
      {"a line without TABLE=KEY",
       {"HOSTS HS_ID"},
       generators,
       "ERROR: the line cannot be parsed",
       "ОШИБКА: строку не удается разобрать"},
      {"a condition the source cannot take",
       {"HOSTS=HS_ID@NO_SUCH_COLUMN = 1"},
       generators,
       "ERROR: the source: ",
       "ОШИБКА: источник: "},
      {"a generator of a table nobody has",
       {"HOSTS=HS_ID"},
       {"GEN_HOSTS=NO_SUCH/HS_ID"},
       "ERROR: the run would end at this entry",
       "ОШИБКА: перенос закончился бы на этой строке"},
  };
  const std::string dest = DatabaseContents(dest_);
  for (const BrokenList& broken : cases) {
    SCOPED_TRACE(broken.name);
    WriteControl("Conv.txt", broken.tableList);
    WriteControl("GENERATOR.txt", broken.generatorList);
    std::vector<std::string> arguments = Databases();
    arguments.push_back("--plan");
    const testsupport::ProcessResult plan = Console(arguments);
    EXPECT_EQ(plan.exitCode, 2) << plan.out;
    EXPECT_NE(plan.out.find(broken.named), std::string::npos) << plan.out;
    // The same error in Russian, the engine's own words after it.
    const testsupport::ProcessResult russian = InLocale("ru_RU.UTF-8", arguments);
    EXPECT_EQ(russian.exitCode, 2) << russian.out;
    EXPECT_NE(russian.out.find(broken.russian), std::string::npos) << russian.out;
  }
  EXPECT_EQ(DatabaseContents(dest_), dest);
}

}  // namespace
}  // namespace consoletest
