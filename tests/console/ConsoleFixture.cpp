#include "tests/console/ConsoleFixture.h"

#include <fstream>
#include <iterator>

#include "tests/support/Schema.h"
#include "text/Cp1251.h"
#include "transfer/RunLog.h"

namespace consoletest {

namespace fs = std::filesystem;

ConsoleTest::ConsoleTest() : folder_(dir_.path().string() + "/") {
  fs::copy(testsupport::ControlDir(), dir_.path(), fs::copy_options::recursive);
  RunLog(folder_).Create();
  source_ = dir_.File("source.fdb");
  dest_ = dir_.File("dest.fdb");
  testsupport::MakeDemoDatabase(source_, testsupport::Variant::Current, kSiteSize);
  testsupport::MakeDatabase(dest_);
}

testsupport::ProcessResult ConsoleTest::Console(std::vector<std::string> arguments) const {
  arguments.insert(arguments.begin(), {kCommand, "--folder", folder_});
  return testsupport::RunProcess(arguments);
}

testsupport::ProcessResult ConsoleTest::InLocale(const std::string& locale,
                                                 std::vector<std::string> arguments) const {
  arguments.insert(arguments.begin(), {"env", "LC_ALL=" + locale, kCommand, "--folder", folder_});
  return testsupport::RunProcess(arguments);
}

void ConsoleTest::WriteControl(const std::string& name,
                               const std::vector<std::string>& lines) const {
  std::ofstream out(dir_ / name, std::ios::binary | std::ios::trunc);
  for (const std::string& line : lines) out << text::Cp1251FromUtf8(line) << "\r\n";
}

std::string ConsoleTest::LogBytes() const {
  std::ifstream in(dir_ / "DB_dravik.log", std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::map<std::string, std::string> ConsoleTest::FolderFiles() const {
  std::map<std::string, std::string> files;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(dir_.path())) {
    if (!entry.is_regular_file() || entry.path().extension() == ".fdb") continue;
    std::ifstream in(entry.path(), std::ios::binary);
    files[entry.path().string()] = std::string(std::istreambuf_iterator<char>(in), {});
  }
  return files;
}

std::vector<std::string> After(const std::string& output, const std::string& label) {
  std::vector<std::string> found;
  for (size_t at = output.find(label); at != std::string::npos; at = output.find(label, at + 1)) {
    const size_t start = at + label.size();
    found.push_back(output.substr(start, output.find('\n', start) - start));
  }
  return found;
}

}  // namespace consoletest
