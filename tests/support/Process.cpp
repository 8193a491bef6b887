#include "tests/support/Process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "tests/support/TempDir.h"

extern char** environ;

namespace testsupport {
namespace {

std::string ReadAll(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// posix_spawn file actions, released on every path.
class FileActions {
 public:
  FileActions() { posix_spawn_file_actions_init(&actions_); }
  ~FileActions() { posix_spawn_file_actions_destroy(&actions_); }
  FileActions(const FileActions&) = delete;
  FileActions& operator=(const FileActions&) = delete;
  void Open(int fd, const std::string& path, int flags) {
    posix_spawn_file_actions_addopen(&actions_, fd, path.c_str(), flags, 0600);
  }
  const posix_spawn_file_actions_t* get() const { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_;
};

}  // namespace

ProcessResult RunProcess(const std::vector<std::string>& argv) {
  if (argv.empty()) throw std::runtime_error("RunProcess: no program given");
  // Output goes to files rather than pipes, so a talkative program can never block
  // on a pipe that nobody reads.
  TempDir work("dravik-run");
  const std::string outFile = work.File("out"), errFile = work.File("err");
  FileActions actions;
  actions.Open(0, "/dev/null", O_RDONLY);
  actions.Open(1, outFile, O_WRONLY | O_CREAT | O_TRUNC);
  actions.Open(2, errFile, O_WRONLY | O_CREAT | O_TRUNC);

  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);

  pid_t pid = 0;
  int rc = posix_spawnp(&pid, args[0], actions.get(), nullptr, args.data(), environ);
  if (rc != 0) {
    throw std::runtime_error("cannot start " + argv[0] + ": " + std::strerror(rc));
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) throw std::runtime_error("waiting for " + argv[0] + " failed");
  }
  ProcessResult result;
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.out = ReadAll(outFile);
  result.err = ReadAll(errFile);
  return result;
}

void LeakCheckOffInChildren() {
  const char* options = std::getenv("ASAN_OPTIONS");
  if (options == nullptr) return;
  setenv("ASAN_OPTIONS", (std::string(options) + ":detect_leaks=0").c_str(), 1);
}

}  // namespace testsupport
