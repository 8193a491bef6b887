// Whole runs between databases on a Firebird server: the "host/port:/path" names
// reach the server unchanged, the result is the one the embedded engine gives,
// and a server that goes away in the middle of a run ends it with the error
// report and leaves the program able to run again.
#include <algorithm>

#include "tests/server/ServerFixture.h"
#include "tests/support/Contents.h"
#include "tests/support/Schema.h"
#include "text/Cp1251.h"
#include "text/RussianTexts.h"

namespace servertest {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

bool HasLineStartingWith(const Lines& lines, const std::string& start) {
  return std::any_of(lines.begin(), lines.end(),
                     [&](const std::string& line) { return line.rfind(start, 0) == 0; });
}

std::string Joined(const Lines& lines) {
  std::string all;
  for (const std::string& line : lines) all += text::Utf8FromCp1251(line) + "\n";
  return all;
}

// The server checks logins: the program's fixed credentials are let in and
// another password is refused, so the runs below really went through it.
TEST_F(ServerRun, OnlyTheProgramsCredentialsLogIn) {
  const std::string name = server_->RemoteName(source_, "localhost");
  TDM1 dm;
  dm.IBDatabase3.SetDatabaseName(name);
  EXPECT_NO_THROW(dm.IBDatabase3.Open());
  EXPECT_TRUE(dm.IBDatabase3.Connected());
  EXPECT_NO_THROW(dm.IBDatabase3.Close());

  TIBDatabase other("Other");
  other.SetParams({"user_name=sysdba", "password=masterkey", "lc_ctype=WIN1251"});
  other.SetDatabaseName(name);
  try {
    other.Open();
    ADD_FAILURE() << "a wrong password was let in";
  } catch (const EIBInterBaseError& e) {
    EXPECT_NE(std::string(e.what()).find("user name and password"), std::string::npos) << e.what();
  }
  EXPECT_FALSE(other.Connected());
}

// The same site moved once through the embedded engine and once through the
// server, one database named by address and the other by host name: both
// destinations and both run logs must come out the same.
TEST_F(ServerRun, WholeRunGivesTheEmbeddedResult) {
  testsupport::TempDir reference("dravik-server-reference");
  const fs::path refSource = reference / "source.fdb", refDest = reference / "dest.fdb";
  fs::copy_file(source_, refSource);
  fs::copy_file(dest_, refDest);
  ProgramFolder refFolder;
  {
    Program embedded;
    Run(embedded, refFolder, refSource.string(), refDest.string());
    ASSERT_TRUE(embedded.window.errorReports.empty())
        << text::Utf8FromCp1251(embedded.window.errorReports.front());
    ASSERT_EQ(embedded.window.StatusText(), ru::StatusDone());
  }

  ProgramFolder folder;
  Program served;
  Run(served, folder, server_->RemoteName(source_, "127.0.0.1"),
      server_->RemoteName(dest_, "localhost"));
  EXPECT_TRUE(served.window.errorReports.empty())
      << text::Utf8FromCp1251(served.window.errorReports.front());
  EXPECT_EQ(served.window.StatusText(), ru::StatusDone());
  EXPECT_FALSE(served.window.running);
  EXPECT_FALSE(served.window.busy);
  EXPECT_FALSE(served.Connected());
  EXPECT_TRUE(served.window.interruptWarnings.empty());

  // The files are read directly once the server has let go of them.
  server_->Stop();
  const Lines log = folder.LogLines();
  EXPECT_TRUE(HasLineStartingWith(log, "<TIME>" + ru::LogCopyPass())) << Joined(log);
  EXPECT_EQ(log, refFolder.LogLines()) << "through the server:\n" << Joined(log);
  EXPECT_EQ(Count(dest_, "OWNER"), 80 * kSiteSize);
  EXPECT_EQ(Count(dest_, "CONTROLLERS"), kSiteSize);
  const long long events = Count(dest_, "EVENTS");
  EXPECT_EQ(events, Count(refDest, "EVENTS"));
  EXPECT_GT(events, 0);
  EXPECT_EQ(testsupport::GeneratorValues(dest_), testsupport::GeneratorValues(refDest));
  const std::string contents = testsupport::DatabaseContents(dest_);
  EXPECT_EQ(contents, testsupport::DatabaseContents(refDest));
}

// The server dies while owners are being copied: the run still ends on its own
// with the error report, the window idle and every connection let go of, so the
// next run, once the server is back, works from the same program.
TEST_F(ServerRun, ServerGoneMidRunEndsWithTheErrorReport) {
  ProgramFolder folder;
  Program program;
  int killedAtPump = 0;
  int ownerPumps = 0;
  // The driver pumps once as it names the table; the copy's row loop pumps next.
  program.window.onPump = [&](FakeWindow& window, int pump) {
    if (window.StatusText() == "OWNER" && ++ownerPumps == 2) {
      server_->Kill();
      killedAtPump = pump;
    }
  };
  Run(program, folder, server_->RemoteName(source_, "127.0.0.1"),
      server_->RemoteName(dest_, "127.0.0.1"));
  ASSERT_GT(killedAtPump, 0) << "the run never reached the owners";

  ASSERT_EQ(program.window.errorReports.size(), 1u);
  EXPECT_FALSE(program.window.errorReports.front().empty());
  EXPECT_FALSE(program.window.running);
  EXPECT_FALSE(program.window.busy);
  EXPECT_FALSE(program.Connected());
  EXPECT_TRUE(program.window.interruptWarnings.empty());
  EXPECT_NE(program.window.StatusText(), ru::StatusDone());
  const Lines log = folder.LogLines();
  EXPECT_TRUE(HasLineStartingWith(log, ru::LogInsertError() + "OWNER")) << Joined(log);

  // Tables finished before the loss stay committed; the owners' transaction
  // never was.
  EXPECT_EQ(Count(dest_, "READERS"), Count(source_, "READERS"));
  EXPECT_EQ(Count(dest_, "OWNER"), 0);

  server_->Start();
  program.window.onPump = nullptr;
  Run(program, folder, server_->RemoteName(source_, "127.0.0.1"),
      server_->RemoteName(dest_, "127.0.0.1"));
  EXPECT_EQ(program.window.errorReports.size(), 1u)
      << text::Utf8FromCp1251(program.window.errorReports.back());
  EXPECT_EQ(program.window.StatusText(), ru::StatusDone());
  EXPECT_FALSE(program.Connected());
  server_->Stop();
  EXPECT_EQ(Count(dest_, "OWNER"), 80 * kSiteSize);
}

}  // namespace
}  // namespace servertest
