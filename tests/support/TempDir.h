#pragma once
// A folder of its own for one test, removed with everything in it when the test is
// done.
#include <filesystem>
#include <set>
#include <string>
#include <string_view>

namespace testsupport {

class TempDir {
 public:
  // Creates a fresh folder under $TMPDIR (or /tmp); throws std::runtime_error.
  explicit TempDir(std::string_view prefix = "dravik-test");
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The path of `name` inside the folder (nothing is created).
  std::filesystem::path operator/(std::string_view name) const { return path_ / name; }
  // The same as text, for APIs that take strings.
  std::string File(std::string_view name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// The names of the entries of `folder`, to see that an operation left nothing behind.
std::set<std::string> FileNames(const std::filesystem::path& folder);

}  // namespace testsupport
