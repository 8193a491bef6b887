#pragma once
// Runs a helper program (isql, the schema scripts) and collects what it printed.
#include <string>
#include <vector>

namespace testsupport {

struct ProcessResult {
  int exitCode = -1;  // the exit status, or -1 when the program did not exit normally
  std::string out;    // standard output
  std::string err;    // standard error
};

// Runs argv[0] (searched in PATH) with standard input from /dev/null and waits for
// it; throws std::runtime_error only when the program cannot be started.
ProcessResult RunProcess(const std::vector<std::string>& argv);

// In the sanitizer build, the program's own executables started from a test
// run with the leak check off: its tracer now and then crashes at the exit of
// a process whose engine threads are ending (see tests/sanitizer-run), and a
// child cannot be run again as a test can. Address and undefined-behaviour
// checks stay on. Only the children started after the call are affected.
void LeakCheckOffInChildren();

}  // namespace testsupport
