// The way back: the destination saved before a run and put back after it, so
// that it holds exactly what it held before.
#include <filesystem>

#include "tests/console/ConsoleFixture.h"
#include "tests/support/Contents.h"
#include "tests/support/Process.h"

namespace consoletest {
namespace {

namespace fs = std::filesystem;

TEST_F(ConsoleTest, BackupBeforeARunAndRestoreAfterItBringTheDestinationBack) {
  // A destination with a site of its own (without its events), which the run
  // with the events replaces.
  const testsupport::ProcessResult filled = Console(Databases());
  ASSERT_EQ(filled.exitCode, 0) << filled.out << filled.err;
  const std::string before = testsupport::DatabaseContents(dest_);
  // A name a shell would split and unquote: the hint must survive pasting.
  const std::string backup = dir_.File("Копия 'приемника' (1).fbk");
  std::vector<std::string> run = Databases();
  run.insert(run.end(), {"--events", "--keep-locations", "--backup", backup});

  std::vector<std::string> plan = run;
  plan.push_back("--plan");
  const testsupport::ProcessResult planned = Console(plan);
  ASSERT_EQ(planned.exitCode, 0) << planned.out << planned.err;
  EXPECT_NE(planned.out.find(" (" + std::to_string(fs::file_size(dest_)) + " bytes)"),
            std::string::npos)
      << planned.out;
  EXPECT_NE(planned.out.find("saved into " + backup + " before the first script"),
            std::string::npos)
      << planned.out;
  EXPECT_FALSE(fs::exists(backup));

  const testsupport::ProcessResult ran = Console(run);
  ASSERT_EQ(ran.exitCode, 0) << ran.out << ran.err;
  EXPECT_NE(ran.out.find("backup of the destination into " + backup + ": "), std::string::npos)
      << ran.out;
  EXPECT_NE(ran.out.find("Backup: " + backup + ", "), std::string::npos) << ran.out;
  EXPECT_NE(ran.out.find(" (" + std::to_string(fs::file_size(backup)) + " bytes)"),
            std::string::npos)
      << ran.out;
  ASSERT_NE(testsupport::DatabaseContents(dest_), before);

  // The summary's hint, pasted into a shell as it stands.
  const std::vector<std::string> hint = After(ran.out, "puts the destination back:\n  ");
  ASSERT_EQ(hint.size(), 1u) << ran.out;
  const std::string bin = fs::path(kCommand).parent_path().string();
  const testsupport::ProcessResult restored =
      testsupport::RunProcess({"sh", "-c", "PATH='" + bin + "':$PATH " + hint[0] + " --yes"});
  ASSERT_EQ(restored.exitCode, 0) << hint[0] << restored.out << restored.err;
  EXPECT_EQ(testsupport::DatabaseContents(dest_), before);
}

}  // namespace
}  // namespace consoletest
