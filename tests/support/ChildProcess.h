#pragma once
// Child processes a test starts and watches while they run: the X server, the
// session bus and the desktop tools of the real-window tests, the command line
// program, the Firebird server. Every wait is bounded, and every child dies with the test process
// even when the test runner kills it.
#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Environment changes for a child: a name with a value sets it, a name with
// std::nullopt removes it; everything else is inherited.
using EnvChanges = std::vector<std::pair<std::string, std::optional<std::string>>>;

class Child {
 public:
  // Starts argv (argv[0] searched in PATH) in a process group of its own, with
  // standard input from /dev/null and its output appended to `log`. `passFd`,
  // when not -1, becomes the child's descriptor 3. Throws std::runtime_error.
  Child(const std::vector<std::string>& argv, const EnvChanges& env,
        const std::filesystem::path& log, int passFd = -1);
  // A child still running is ended (with its process group).
  ~Child();
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  pid_t pid() const { return pid_; }
  bool Running();
  // Waits up to `limit` for the child to end; its exit code (128 + signal when a
  // signal ended it), or nothing when it is still running.
  std::optional<int> Wait(std::chrono::milliseconds limit);
  // Sends `signal` to the child alone.
  void Signal(int signal);
  // SIGTERM to the process group, then SIGKILL when it has not ended within `grace`.
  void Stop(std::chrono::milliseconds grace = 5s);

 private:
  pid_t pid_ = -1;
  std::optional<int> exitCode_;
};

struct ToolResult {
  int exitCode = -1;
  std::string out;  // standard output and standard error together
};

// Runs a tool to its end, killing it when it takes longer than `limit`; throws
// std::runtime_error then.
ToolResult RunTool(const std::vector<std::string>& argv, const EnvChanges& env,
                   std::chrono::milliseconds limit = 60s);

// Polls `done` every `interval` until it holds or `limit` has passed.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit,
               std::chrono::milliseconds interval = 200ms);

}  // namespace testsupport
