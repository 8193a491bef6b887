#include "tests/support/ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "tests/support/TempDir.h"

extern char** environ;

namespace testsupport {
namespace {

std::string FindProgram(const std::string& name) {
  if (name.find('/') != std::string::npos) return name;
  const char* path = std::getenv("PATH");
  std::istringstream folders(path ? path : "/usr/bin:/bin");
  for (std::string folder; std::getline(folders, folder, ':');) {
    const std::filesystem::path candidate = std::filesystem::path(folder) / name;
    if (::access(candidate.c_str(), X_OK) == 0) return candidate.string();
  }
  throw std::runtime_error("program not found in PATH: " + name);
}

std::vector<std::string> Environment(const EnvChanges& changes) {
  std::map<std::string, std::string> env;
  for (char** entry = environ; *entry; ++entry) {
    const std::string text = *entry;
    const size_t eq = text.find('=');
    if (eq != std::string::npos) env[text.substr(0, eq)] = text.substr(eq + 1);
  }
  for (const auto& [name, value] : changes) {
    if (value)
      env[name] = *value;
    else
      env.erase(name);
  }
  std::vector<std::string> result;
  for (const auto& [name, value] : env) result.push_back(name + "=" + value);
  return result;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> result;
  for (std::string& text : texts) result.push_back(text.data());
  result.push_back(nullptr);
  return result;
}

int CodeOf(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

}  // namespace

Child::Child(const std::vector<std::string>& argv, const EnvChanges& env,
             const std::filesystem::path& log, int passFd) {
  if (argv.empty()) throw std::runtime_error("Child: no program given");
  // Everything the child needs is made before fork: after it, only system calls.
  const std::string program = FindProgram(argv[0]);
  std::vector<std::string> args = argv;
  std::vector<std::string> envTexts = Environment(env);
  std::vector<char*> argp = Pointers(args), envp = Pointers(envTexts);
  const std::string logPath = log.string();
  const pid_t parent = ::getpid();

  pid_ = ::fork();
  if (pid_ < 0) throw std::runtime_error(std::string("fork failed: ") + std::strerror(errno));
  if (pid_ == 0) {
    ::setpgid(0, 0);
    // A test runner that kills the test must not leave an X server behind.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent) ::_exit(127);
    const int in = ::open("/dev/null", O_RDONLY);
    const int out = ::open(logPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (in < 0 || out < 0) ::_exit(127);
    ::dup2(in, 0);
    ::dup2(out, 1);
    ::dup2(out, 2);
    if (passFd != -1) {
      if (passFd == 3)
        ::fcntl(3, F_SETFD, 0);
      else
        ::dup2(passFd, 3);
    }
    // Nothing else of the test process (its own database files among them) goes along.
    ::close_range(passFd != -1 ? 4 : 3, ~0U, 0);
    ::execve(program.c_str(), argp.data(), envp.data());
    ::_exit(127);
  }
  // The group exists before anyone signals it, whichever process runs first.
  ::setpgid(pid_, pid_);
}

Child::~Child() {
  try {
    Stop();
  } catch (...) {
  }
}

bool Child::Running() {
  return !Wait(0ms).has_value();
}

std::optional<int> Child::Wait(std::chrono::milliseconds limit) {
  if (exitCode_) return exitCode_;
  const auto end = Clock::now() + limit;
  for (;;) {
    int status = 0;
    const pid_t done = ::waitpid(pid_, &status, WNOHANG);
    if (done == pid_) {
      exitCode_ = CodeOf(status);
      return exitCode_;
    }
    if (done < 0 && errno != EINTR) {
      exitCode_ = -1;
      return exitCode_;
    }
    if (Clock::now() >= end) return std::nullopt;
    std::this_thread::sleep_for(20ms);
  }
}

void Child::Signal(int signal) {
  if (!exitCode_) ::kill(pid_, signal);
}

void Child::Stop(std::chrono::milliseconds grace) {
  // The group is signalled only while its leader is not yet reaped, so its id
  // cannot have passed to another process; the bus's activated services share it.
  if (pid_ <= 0 || exitCode_) return;
  ::kill(-pid_, SIGTERM);
  if (!Wait(grace)) {
    ::kill(-pid_, SIGKILL);
    Wait(10s);
  }
  // Services that left their parent come to this process (a subreaper, see
  // main) and are reaped here; a group id stays taken while a member lives.
  for (int round = 0; round < 2; ++round) {
    const bool gone = WaitUntil(
        [&] {
          for (;;) {
            const pid_t reaped = ::waitpid(-pid_, nullptr, WNOHANG);
            if (reaped > 0) continue;
            return reaped < 0;  // no member left that this process could wait for
          }
        },
        5s, 20ms);
    if (gone) return;
    ::kill(-pid_, SIGKILL);
  }
}

ToolResult RunTool(const std::vector<std::string>& argv, const EnvChanges& env,
                   std::chrono::milliseconds limit) {
  TempDir work("dravik-tool");
  const std::filesystem::path log = work / "out";
  ToolResult result;
  {
    Child child(argv, env, log);
    const std::optional<int> code = child.Wait(limit);
    if (!code) {
      child.Stop(1s);
      std::string command;
      for (const std::string& arg : argv) command += arg + " ";
      throw std::runtime_error("timed out after " + std::to_string(limit.count()) +
                               " ms: " + command);
    }
    result.exitCode = *code;
  }
  std::ifstream in(log, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  result.out = text.str();
  return result;
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit,
               std::chrono::milliseconds interval) {
  const auto end = Clock::now() + limit;
  for (;;) {
    if (done()) return true;
    if (Clock::now() >= end) return false;
    std::this_thread::sleep_for(interval);
  }
}

}  // namespace testsupport
