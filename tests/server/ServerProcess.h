#pragma once
// Starting the server and its helper programs with an environment of their own,
// which the test process must not take on: the client library in the test
// process reads the same variables.
#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace servertest {

struct ProcessOutcome {
  int exitCode = -1;   // -1 when the program did not exit normally or in time
  std::string output;  // standard output and standard error together
};

// Starts argv[0] (a path) with this process's environment plus `extra`
// ("NAME=value", replacing a variable of the same name), standard input from
// /dev/null and both outputs appended to `outputFile`. The program is killed
// when this process dies, so it never outlives a crashed test. Throws
// std::runtime_error when it cannot be started.
pid_t SpawnWithEnvironment(const std::vector<std::string>& argv,
                           const std::vector<std::string>& extra,
                           const std::filesystem::path& outputFile);

// Runs argv[0] (searched in PATH) the same way and waits for it, at most `limit`;
// a program still running then is killed.
ProcessOutcome RunWithEnvironment(const std::vector<std::string>& argv,
                                  const std::vector<std::string>& extra,
                                  std::chrono::milliseconds limit);

}  // namespace servertest
