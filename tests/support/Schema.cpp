#include "tests/support/Schema.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <stdexcept>

#include "tests/support/Process.h"

namespace testsupport {
namespace {

void RunScript(const std::vector<std::string>& argv, const std::string& what) {
  ProcessResult result = RunProcess(argv);
  if (result.exitCode != 0) {
    throw std::runtime_error(what + " failed (exit code " + std::to_string(result.exitCode) +
                             "):\n" + result.err + result.out);
  }
}

std::string MakeDbScript() {
  return (SchemaDir() / "make-db").string();
}

// Building a database takes seconds and most test processes need the same few, so
// each kind is built once per version of schema/ and copied from there. The folder
// name carries a digest of every file in schema/ (the control files aside), so an
// edited schema gets fresh databases. Worked out once per process.
std::filesystem::path CacheDir() {
  static const std::filesystem::path dir = [] {
    std::string all;
    for (const auto& entry : std::filesystem::directory_iterator(SchemaDir())) {
      if (!entry.is_regular_file()) continue;
      std::ifstream in(entry.path(), std::ios::binary);
      std::ostringstream text;
      text << in.rdbuf();
      all += entry.path().filename().string() + '\0' + text.str() + '\0';
    }
    std::ostringstream name;
    name << "dravik-db-cache-" << std::hex << std::hash<std::string>{}(all);
    return std::filesystem::temp_directory_path() / name.str();
  }();
  return dir;
}

// Copies the cached database `name` to `db`, building it first with `argv` (which
// gets the path to build at appended) when it is not cached yet.
void CopyCached(const std::string& name, std::vector<std::string> argv,
                const std::filesystem::path& db, const std::string& what) {
  const char* off = std::getenv("DRAVIK_NO_DB_CACHE");
  if (off && *off && std::string(off) != "0") {
    argv.push_back(db.string());
    RunScript(argv, what);
    return;
  }
  const std::filesystem::path dir = CacheDir(), cached = dir / name;
  if (!std::filesystem::exists(cached)) {
    std::filesystem::create_directories(dir);
    // Built under a name of this process and renamed, so a parallel test process
    // never copies a half-built file.
    const std::filesystem::path building =
        dir / (name + "." + std::to_string(::getpid()) + ".building");
    argv.push_back(building.string());
    RunScript(argv, what);
    std::filesystem::rename(building, cached);
  }
  std::filesystem::copy_file(cached, db, std::filesystem::copy_options::overwrite_existing);
}

std::string VariantName(Variant variant) {
  return variant == Variant::Older ? "older" : "current";
}

std::vector<std::string> MakeDbArgs(Variant variant) {
  // Test databases need no durability; forced writes off keeps them quick.
  std::vector<std::string> argv{MakeDbScript(), "--replace", "--async"};
  if (variant == Variant::Older) argv.push_back("--older");
  return argv;
}

}  // namespace

std::filesystem::path SchemaDir() {
  return std::filesystem::path(DRAVIK_SOURCE_DIR) / "schema";
}

std::filesystem::path ControlDir() {
  return SchemaDir() / "control";
}

void MakeDatabase(const std::filesystem::path& db, Variant variant) {
  CopyCached(VariantName(variant) + ".fdb", MakeDbArgs(variant), db,
             "making database " + db.string());
}

void MakeDemoDatabase(const std::filesystem::path& db, Variant variant, int size,
                      int eventsPerController) {
  std::vector<std::string> argv = MakeDbArgs(variant);
  std::string name = VariantName(variant) + "-demo-" + std::to_string(size);
  argv.insert(argv.end(), {"--fill", std::to_string(size)});
  if (eventsPerController != kDemoEventsPerController) {
    argv.insert(argv.end(), {"--events", std::to_string(eventsPerController)});
    name += "-events-" + std::to_string(eventsPerController);
  }
  CopyCached(name + ".fdb", argv, db, "making demo database " + db.string());
}

}  // namespace testsupport
