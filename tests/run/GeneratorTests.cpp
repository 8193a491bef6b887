// The generator list after the copy: entries set in file order, failures that are
// logged, and entries that end the run.
#include <algorithm>
#include <filesystem>

#include "tests/run/RunFixture.h"
#include "text/RussianTexts.h"

namespace runtest {
namespace {

using Lines = std::vector<std::string>;
using GeneratorList = RunTest;

bool StartsWith(const std::string& line, const std::string& prefix) {
  return line.rfind(prefix, 0) == 0;
}

// Statements the database refuses while executing are logged; the next entry is
// still set and the run ends normally.
TEST_F(GeneratorList, RefusedStatementsAreLoggedAndTheNextEntryIsSet) {
  SeedSite();
  Generators(
      {"GEN_HOSTS=HOSTS/HS_NAME", "NO_SUCH_GENERATOR=KRONTUR/KT_ID", "GEN_READERS=READERS/RD_ID"});
  Run();
  const Lines lines = LogLines();
  auto has = [&](const std::string& prefix) {
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& line) { return StartsWith(line, prefix); });
  };
  EXPECT_TRUE(has(ru::LogMaxError() + "HOSTS :  "));
  EXPECT_TRUE(has(ru::LogGeneratorError() + "NO_SUCH_GENERATOR :  "));
  EXPECT_EQ(Generator("GEN_HOSTS"), 500);
  EXPECT_EQ(Generator("GEN_READERS"), 12);
  EXPECT_EQ(window_.StatusText(), ru::StatusDone());
  EXPECT_TRUE(window_.errorReports.empty());
}

// The list is found whatever the letter case of its name.
TEST_F(GeneratorList, ListNameIgnoresLetterCase) {
  SeedSite();
  std::filesystem::remove(dir_ / "Generator.txt");
  WriteControl("GENERATOR.txt", {"GEN_READERS=READERS/RD_ID"});
  Run();
  EXPECT_EQ(Generator("GEN_READERS"), 12);
  EXPECT_TRUE(window_.errorReports.empty());
}

// An entry the database cannot prepare, or a list that is gone, ends the run:
// the entries after it are not set and the dynamic state is not restored.
TEST_F(GeneratorList, BrokenEntriesEndTheRun) {
  struct Case {
    const char* name;
    std::string bytes;
    bool removed;
  };
  const Case cases[] = {
      {"no slash", "GEN_KRONTUR=KRONTUR/KT_ID\r\nGEN_HOSTS=HOSTS\r\nGEN_READERS=READERS/RD_ID\r\n",
       false},
      {"blank line", "GEN_KRONTUR=KRONTUR/KT_ID\r\n\r\nGEN_READERS=READERS/RD_ID\r\n", false},
      {"unknown table",
       "GEN_KRONTUR=KRONTUR/KT_ID\r\nGEN_X=NO_SUCH_TABLE/ID\r\n"
       "GEN_READERS=READERS/RD_ID",
       false},
      {"empty file", "", false},
      {"removed", "", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FreshDatabases();
    SeedSite();
    ResetLog();
    window_.statusTexts.clear();
    window_.errorReports.clear();
    if (c.removed)
      std::filesystem::remove(dir_ / "Generator.txt");
    else
      WriteControlBytes("Generator.txt", c.bytes);
    Run();
    ASSERT_EQ(window_.errorReports.size(), 1u);
    EXPECT_EQ(window_.StatusText(), ru::StatusRestoringGenerators());
    EXPECT_FALSE(window_.running);
    EXPECT_FALSE(window_.busy);
    EXPECT_FALSE(Connected());
    EXPECT_EQ(Generator("GEN_READERS"), 500);
    if (c.bytes.empty()) continue;
    EXPECT_EQ(Generator("GEN_KRONTUR"), 0);
  }
}

}  // namespace
}  // namespace runtest
