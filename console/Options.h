#pragma once
// The command's arguments. Paths stay the bytes they were given as, so a file
// name in any encoding reaches the database client unchanged.
#include <functional>
#include <string>

#include "text/Regional.h"

struct ConsoleOptions {
  std::string source, dest;
  std::string folder;  // the program folder, ending with "/"
  bool events = false;
  text::TDateTime eventsFrom = 0;  // 0: every event
  std::string eventsFromText;      // as given, for the plan's heading
  bool keepLocations = false;
  bool plan = false;
  bool check = false;
  bool force = false;  // --force: run over the errors of the run's own plan
  bool quiet = false;
  bool help = false;
  bool version = false;
  std::string backup;   // --backup: the destination is saved here before the run
  std::string restore;  // --restore: the destination is put back from this backup
  bool yes = false;     // --yes: the restore asks no question
};

// `programFolder` gives the program folder the window would use; it is asked
// only when a run names no --folder. Returns false with the reason in `error`
// for arguments that make no command.
bool ParseOptions(int argc, char** argv, const std::function<std::string()>& programFolder,
                  ConsoleOptions& options, std::string& error);

// The usage, every option and the exit codes, in the user's language.
std::string HelpText();

// The exit codes.
enum ExitCode : int {
  kExitClean = 0,
  kExitFailures = 1,
  kExitNotStarted = 2,
  kExitInterrupted = 3
};
