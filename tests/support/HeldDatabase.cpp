#include "tests/support/HeldDatabase.h"

#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/Isql.h"

extern char** environ;

namespace testsupport {
namespace {

// isql prints this only after the query ran over the attached file; it is built
// by the query so that the query text itself never matches.
constexpr const char* kQuery = "SELECT 'HELD' || '-BY-ISQL' FROM RDB$DATABASE;\n";
constexpr const char* kAnswer = "HELD-BY-ISQL";
constexpr int kAttachWaitMs = 60000;

void WriteAll(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw std::runtime_error("cannot write to isql");
    done += static_cast<size_t>(n);
  }
}

}  // namespace

DatabaseHeldElsewhere::DatabaseHeldElsewhere(const std::filesystem::path& db) {
  int in[2], out[2];
  if (pipe(in) != 0) throw std::runtime_error("pipe failed");
  if (pipe(out) != 0) {
    close(in[0]);
    close(in[1]);
    throw std::runtime_error("pipe failed");
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_adddup2(&actions, out[1], 2);
  posix_spawn_file_actions_addclose(&actions, in[1]);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  const std::string program = IsqlProgram();
  std::vector<std::string> argv = {program,     "-q",        "-user",    "SYSDBA",
                                   "-password", "masterkey", db.string()};
  std::vector<char*> args;
  for (std::string& arg : argv) args.push_back(arg.data());
  args.push_back(nullptr);
  const int rc = posix_spawnp(&pid_, program.c_str(), &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(in[0]);
  close(out[1]);
  input_ = in[1];
  output_ = out[0];
  if (rc != 0) {
    pid_ = -1;
    Release();
    throw std::runtime_error("cannot start " + program + ": " + std::strerror(rc));
  }

  std::string seen;
  try {
    WriteAll(input_, kQuery);
    while (seen.find(kAnswer) == std::string::npos) {
      pollfd ready{output_, POLLIN, 0};
      if (poll(&ready, 1, kAttachWaitMs) <= 0) throw std::runtime_error("isql did not answer");
      char buffer[512];
      ssize_t n = read(output_, buffer, sizeof buffer);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) throw std::runtime_error("isql ended");
      seen.append(buffer, static_cast<size_t>(n));
    }
  } catch (const std::runtime_error& e) {
    Release();
    throw std::runtime_error(std::string(e.what()) + " while attaching " + db.string() + ":\n" +
                             seen);
  }
}

DatabaseHeldElsewhere::~DatabaseHeldElsewhere() {
  Release();
}

void DatabaseHeldElsewhere::Release() {
  // The end of its input ends isql's session, which detaches the file.
  if (input_ >= 0) close(input_);
  input_ = -1;
  if (pid_ > 0) {
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
  }
  pid_ = -1;
  if (output_ >= 0) close(output_);
  output_ = -1;
}

}  // namespace testsupport
