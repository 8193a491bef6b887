#include "console/Backup.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <iostream>

#include "console/Interrupts.h"
#include "console/Report.h"
#include "text/Cp1251.h"

namespace {

// Step names are windows-1251, as the window's statuses are; a path is the
// file system's bytes.
std::string StepName(const std::string& what, const std::string& path) {
  return what + text::Cp1251FromFileName(path);
}

// Asks on the terminal; true for "y" or "yes".
bool Confirmed(const std::string& dest, const std::string& file) {
  std::cerr << "db-dravik: the database " << dest << " is replaced by the backup " << file
            << "; what it holds now is lost.\nRestore it? [y/N] " << std::flush;
  std::string answer;
  if (!std::getline(std::cin, answer)) return false;
  return answer == "y" || answer == "Y" || answer == "yes" || answer == "YES";
}

}  // namespace

BackupResult BackUpWithProgress(ConsoleWindow& window, const std::string& dest,
                                const std::string& file) {
  window.BeginStep(StepName("backup of the destination into ", file));
  const BackupResult result =
      BackUpDestination(dest, file, [&](long long bytes) { window.SetStepBytes(bytes); });
  if (result.made) window.SetStepBytes(result.size);
  return result;
}

int RestoreCommand(const ConsoleOptions& options, const std::string& dest, ConsoleWindow& window) {
  if (!options.yes) {
    if (!::isatty(STDIN_FILENO)) {
      window.Error(
          "db-dravik: --restore replaces the destination; off a terminal it needs --yes. "
          "Nothing was restored.");
      return kExitNotStarted;
    }
    if (!Confirmed(options.dest, options.restore)) {
      window.Error("db-dravik: nothing was restored.");
      return kExitNotStarted;
    }
  }
  // A restore cannot be stopped halfway without leaving the destination as it
  // was, and that is what it does when it fails; Ctrl-C only waits for its end.
  interrupts::Install(false);
  const auto start = std::chrono::steady_clock::now();
  window.BeginStep(StepName("restore of the destination from ", options.restore));
  const RestoreResult result = RestoreDestination(
      options.restore, dest, [&](long long bytes) { window.SetStepBytes(bytes); });
  window.Finish();
  if (result.now != DestinationNow::Restored) {
    window.Error(result.error);
    window.ErrorUtf8("db-dravik: " + RestoreFailureAdvice(result, options.restore, dest));
    return result.now == DestinationNow::AsItWas ? kExitNotStarted : kExitFailures;
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  char time[48];
  std::snprintf(time, sizeof time, " in %.1f s.\n", seconds);
  std::cout << "Restored " << options.dest << " from the backup " << options.restore << ", "
            << SizeText(result.bytesRead) << " read" << time;
  if (interrupts::Requested())
    std::cout << "The interrupt came while the restore was under way; it has been finished.\n";
  std::cout.flush();
  return kExitClean;
}
