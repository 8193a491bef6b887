#include "tests/e2e/ProgramFolder.h"

#include <fstream>
#include <sstream>

#include "text/Cp1251.h"

namespace e2e {

namespace fs = std::filesystem;

ProgramFolder PrepareProgramFolder(const fs::path& folder, testsupport::Variant variant, int size) {
  ProgramFolder p;
  p.folder = folder;
  fs::create_directories(folder / "SQL");
  p.exe = folder / "DB_Dravik";
  fs::copy_file(DRAVIK_EXECUTABLE, p.exe, fs::copy_options::overwrite_existing);
  const fs::path control = testsupport::ControlDir();
  for (const char* file : {"Conv.txt", "GENERATOR.txt", "SQL/_Upd.sql", "SQL/Upd.sql"})
    fs::copy_file(control / file, folder / file, fs::copy_options::overwrite_existing);
  p.source = folder / "source.fdb";
  p.dest = folder / "dest.fdb";
  p.runLog = folder / "DB_dravik.log";
  testsupport::MakeDemoDatabase(p.source, variant, size);
  testsupport::MakeDatabase(p.dest, testsupport::Variant::Current);
  return p;
}

std::string ReadRunLog(const ProgramFolder& program) {
  std::ifstream in(program.runLog, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return text::Utf8FromCp1251(bytes.str());
}

fs::path OutputFolder(const std::string& testName) {
  const fs::path folder = fs::path(E2E_OUTPUT_DIR) / testName;
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  fs::create_directories(folder);
  return folder;
}

}  // namespace e2e
