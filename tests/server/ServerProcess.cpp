#include "tests/server/ServerProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "tests/support/TempDir.h"

extern char** environ;

namespace servertest {
namespace {

std::string NameOf(const std::string& assignment) {
  return assignment.substr(0, assignment.find('='));
}

std::vector<std::string> MergedEnvironment(const std::vector<std::string>& extra) {
  std::vector<std::string> merged;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string assignment(*entry);
    bool replaced = false;
    for (const std::string& mine : extra) replaced = replaced || NameOf(mine) == NameOf(assignment);
    if (!replaced) merged.push_back(assignment);
  }
  merged.insert(merged.end(), extra.begin(), extra.end());
  return merged;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

// Looked up before forking: the child may only call what is safe after fork.
std::string ResolveInPath(const std::string& program) {
  if (program.find('/') != std::string::npos) return program;
  const char* path = std::getenv("PATH");
  std::istringstream dirs(path ? path : "/usr/bin:/bin");
  std::string dir;
  while (std::getline(dirs, dir, ':')) {
    const std::string candidate = (dir.empty() ? "." : dir) + "/" + program;
    if (::access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  throw std::runtime_error("program not found in PATH: " + program);
}

}  // namespace

pid_t SpawnWithEnvironment(const std::vector<std::string>& argv,
                           const std::vector<std::string>& extra,
                           const std::filesystem::path& outputFile) {
  if (argv.empty()) throw std::runtime_error("no program given");
  std::vector<std::string> args = argv;
  args[0] = ResolveInPath(argv[0]);
  std::vector<std::string> env = MergedEnvironment(extra);
  std::vector<char*> argp = Pointers(args), envp = Pointers(env);

  const int in = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
  const int out = ::open(outputFile.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
  if (in < 0 || out < 0) {
    if (in >= 0) ::close(in);
    if (out >= 0) ::close(out);
    throw std::runtime_error("cannot open the output file " + outputFile.string());
  }
  const pid_t parent = ::getpid();
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(in, 0);
    ::dup2(out, 1);
    ::dup2(out, 2);
    // Nothing of the test process (its own connections among them) goes along.
    ::close_range(3, ~0U, 0);
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent) ::_exit(127);
    ::execve(argp[0], argp.data(), envp.data());
    ::_exit(127);
  }
  const int forkError = errno;
  ::close(in);
  ::close(out);
  if (pid < 0) throw std::runtime_error(std::string("fork: ") + std::strerror(forkError));
  return pid;
}

ProcessOutcome RunWithEnvironment(const std::vector<std::string>& argv,
                                  const std::vector<std::string>& extra,
                                  std::chrono::milliseconds limit) {
  testsupport::TempDir work("dravik-spawn");
  const std::filesystem::path outputFile = work / "output";
  const pid_t pid = SpawnWithEnvironment(argv, extra, outputFile);
  ProcessOutcome outcome;
  const auto deadline = std::chrono::steady_clock::now() + limit;
  int status = 0;
  pid_t done = 0;
  while ((done = ::waitpid(pid, &status, WNOHANG)) == 0 &&
         std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (done == 0) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
  } else if (done == pid && WIFEXITED(status)) {
    outcome.exitCode = WEXITSTATUS(status);
  }
  std::ifstream in(outputFile, std::ios::binary);
  outcome.output = std::string(std::istreambuf_iterator<char>(in), {});
  if (done == 0) outcome.output += "\n(killed after " + std::to_string(limit.count()) + " ms)";
  return outcome;
}

}  // namespace servertest
