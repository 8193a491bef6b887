#include "tests/server/ServerFixture.h"

#include <fstream>
#include <iterator>
#include <string_view>

#include "tests/support/Schema.h"
#include "text/TextFile.h"
#include "transfer/RunLog.h"

namespace servertest {

namespace fs = std::filesystem;
using testsupport::Row;

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

namespace {

// True when `text` has the digits of `shape` where it has '9' and its other
// characters exactly.
bool Shaped(std::string_view text, std::string_view shape) {
  if (text.size() < shape.size()) return false;
  for (size_t i = 0; i < shape.size(); ++i) {
    const bool digit = text[i] >= '0' && text[i] <= '9';
    if (shape[i] == '9' ? !digit : text[i] != shape[i]) return false;
  }
  return true;
}

// A run log line with its leading timestamp (Russian date, time unless midnight)
// replaced, so logs of two runs compare.
std::string WithoutTimestamp(const std::string& line) {
  if (!Shaped(line, "99.99.9999")) return line;
  const size_t length = Shaped(line, "99.99.9999 99:99:99") ? 19 : 10;
  return "<TIME>" + line.substr(length);
}

}  // namespace

std::vector<std::string> ProgramFolder::LogLines() const {
  std::ifstream in(folder_ + "DB_dravik.log", std::ios::binary);
  const std::string bytes(std::istreambuf_iterator<char>(in), {});
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) end = bytes.size();
    lines.push_back(WithoutTimestamp(bytes.substr(start, end - start)));
    start = end + 2;
  }
  return lines;
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
