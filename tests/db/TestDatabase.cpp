#include "TestDatabase.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace dbtest {
namespace {

// The embedded engine's lock files go to a folder of the tests' own, shared
// with the isql-fb runs, so both sides see the same locks.
void EnsureLockFolder() {
  if (std::getenv("FIREBIRD_LOCK") != nullptr) return;
  const char* folder = "/tmp/dravik-fb-lock";
  std::filesystem::create_directories(folder);
  setenv("FIREBIRD_LOCK", folder, 0);
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string RunScript(const std::string& folder, const std::string& script) {
  EnsureLockFolder();
  static int counter = 0;
  std::string base = folder + "/script" + std::to_string(++counter);
  {
    std::ofstream out(base + ".sql", std::ios::binary);
    out << script;
  }
  std::string command = "isql-fb -q -i '" + base + ".sql' > '" + base + ".out' 2>&1";
  int rc = std::system(command.c_str());
  std::string output = ReadAll(base + ".out");
  if (rc != 0 || output.find("Statement failed") != std::string::npos ||
      output.find("SQLSTATE") != std::string::npos)
    throw std::runtime_error("isql-fb failed: " + output);
  return output;
}

}  // namespace

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "dravik-db-XXXXXX").string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (mkdtemp(buffer.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = buffer.data();
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

TempDatabase::TempDatabase(const std::string& ddl, const std::string& name)
    : file_(folder_.Path() + "/" + name) {
  // isql-fb runs once per schema and process; every database after the first
  // is a copy of that file, which is much faster than making it again.
  static TempFolder templates;
  static std::map<std::string, std::string> made;
  auto found = made.find(ddl);
  if (found == made.end()) {
    std::string path = templates.Path() + "/schema" + std::to_string(made.size()) + ".fdb";
    std::string script = "SET SQL DIALECT 1;\nCREATE DATABASE '" + path +
                         "' USER 'SYSDBA' PASSWORD 'x' DEFAULT CHARACTER SET WIN1251;\n" + ddl +
                         "\nCOMMIT;\n";
    RunScript(templates.Path(), script);
    found = made.emplace(ddl, path).first;
  }
  std::filesystem::copy_file(found->second, file_);
}

std::string RunIsql(const std::string& databasePath, const std::string& script) {
  std::string folder = std::filesystem::path(databasePath).parent_path().string();
  return RunScript(folder, "SET SQL DIALECT 1;\nCONNECT '" + databasePath +
                               "' USER 'SYSDBA' PASSWORD 'x';\n" + script + "\nCOMMIT;\n");
}

}  // namespace dbtest
