// The command line through a Firebird server: the plan, the run and the check
// reach both databases by their "host/port:/path" names.
#include <cstdlib>

#include "tests/server/ServerFixture.h"
#include "tests/support/Contents.h"
#include "tests/support/Process.h"

namespace servertest {
namespace {

TEST_F(ServerRun, CommandLinePlansRunsAndChecksThroughTheServer) {
  testsupport::LeakCheckOffInChildren();
  // The command's English words are read below, whatever the test's locale.
  setenv("LC_ALL", "C.UTF-8", 1);
  const std::string before = testsupport::DatabaseContents(dest_);
  ProgramFolder folder;
  // A file of this machine, though the destination is the server's.
  const std::string backup = folder.Path() + "dest.fbk";
  const std::vector<std::string> command = {DRAVIK_CONSOLE,
                                            "--folder",
                                            folder.Path(),
                                            "--source",
                                            server_->RemoteName(source_, "127.0.0.1"),
                                            "--dest",
                                            server_->RemoteName(dest_, "localhost"),
                                            "--events",
                                            "--keep-locations"};
  std::vector<std::string> plan = command;
  plan.push_back("--plan");
  const testsupport::ProcessResult planned = testsupport::RunProcess(plan);
  EXPECT_EQ(planned.exitCode, 0) << planned.out << planned.err;
  EXPECT_NE(planned.out.find("warnings, 0 errors\n"), std::string::npos) << planned.out;

  // The backup named as the destination's own file: the server would go on
  // writing into a file the rename had replaced.
  std::vector<std::string> overDest = command;
  overDest.insert(overDest.end(), {"--backup", dest_.string()});
  const testsupport::ProcessResult refused = testsupport::RunProcess(overDest);
  EXPECT_EQ(refused.exitCode, 2) << refused.out << refused.err;
  EXPECT_NE(refused.err.find("would be renamed over the destination database"), std::string::npos)
      << refused.err;

  std::vector<std::string> run = command;
  run.insert(run.end(), {"--check", "--backup", backup});
  const testsupport::ProcessResult checked = testsupport::RunProcess(run);
  EXPECT_EQ(checked.exitCode, 0) << checked.out << checked.err;
  EXPECT_NE(checked.out.find("Verdict: no difference"), std::string::npos) << checked.out;
  EXPECT_NE(checked.out.find("Backup: " + backup), std::string::npos) << checked.out;

  const testsupport::ProcessResult restored =
      testsupport::RunProcess({DRAVIK_CONSOLE, "--restore", backup, "--dest", command[6], "--yes"});
  EXPECT_EQ(restored.exitCode, 0) << restored.out << restored.err;
  server_->Stop();
  EXPECT_EQ(testsupport::DatabaseContents(dest_), before);
}

}  // namespace
}  // namespace servertest
