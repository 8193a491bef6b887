#include "tests/support/Schema.h"

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

}  // namespace

std::filesystem::path SchemaDir() {
  return std::filesystem::path(DRAVIK_SOURCE_DIR) / "schema";
}

std::filesystem::path ControlDir() {
  return SchemaDir() / "control";
}

void MakeDatabase(const std::filesystem::path& db, Variant variant) {
  // Test databases need no durability; forced writes off keeps them quick to make.
  std::vector<std::string> argv{(SchemaDir() / "make-db").string(), "--replace", "--async"};
  if (variant == Variant::Older) argv.push_back("--older");
  argv.push_back(db.string());
  RunScript(argv, "making database " + db.string());
}

void FillDemo(const std::filesystem::path& db, int size) {
  RunScript({(SchemaDir() / "fill-demo").string(), db.string(), std::to_string(size)},
            "filling demo site into " + db.string());
}

void MakeDemoDatabase(const std::filesystem::path& db, Variant variant, int size) {
  MakeDatabase(db, variant);
  FillDemo(db, size);
}

}  // namespace testsupport
