#include "tests/server/ServerFixture.h"

#include "tests/support/RunLogLines.h"
#include "tests/support/Schema.h"
#include "text/TextFile.h"
#include "transfer/RunLog.h"

namespace servertest {

namespace fs = std::filesystem;

Program::Program() : states(dm, [this] { return window.locationFlag; }), run(dm, states, window) {
  // The second script's one-second waits are counted elsewhere; here they would
  // only make the test slow.
  run.SetScriptPause([](std::chrono::milliseconds) {});
}

bool Program::Connected() const {
  return dm.IBDatabase3.Connected() || dm.IBDatabase1.Connected() || dm.IBDatabase2.Connected();
}

ProgramFolder::ProgramFolder() : folder_(dir_.path().string() + "/") {
  fs::copy(testsupport::ControlDir(), dir_.path(), fs::copy_options::recursive);
  RunLog(folder_).Create();
}

std::vector<std::string> ProgramFolder::LogLines() const {
  return testsupport::LogLinesWithoutTimes(folder_ + "DB_dravik.log");
}

void ServerRun::SetUp() {
  try {
    server_.emplace();
  } catch (const std::exception& e) {
    FAIL() << e.what();
  }
  // The server's databases lie under a Cyrillic folder name with a blank, as on
  // a Russian installation.
  const std::filesystem::path folder = server_->DataDir() / "Базы объекта";
  std::filesystem::create_directories(folder);
  source_ = folder / "source.fdb";
  dest_ = folder / "dest.fdb";
  testsupport::MakeDemoDatabase(source_, testsupport::Variant::Current, kSiteSize);
  testsupport::MakeDatabase(dest_);
}

void ServerRun::Run(Program& program, const ProgramFolder& folder, const std::string& source,
                    const std::string& dest) {
  program.window.source = source;
  program.window.dest = dest;
  program.window.events = true;
  program.window.locationFlag = true;
  program.run.MoveBitBtnClick(folder.Path(), text::CountLines(folder.Path() + "Conv.txt"));
}

long long ServerRun::Count(const fs::path& db, const std::string& table) {
  return testsupport::QueryInt(db, "SELECT COUNT(*) FROM " + table);
}

}  // namespace servertest
