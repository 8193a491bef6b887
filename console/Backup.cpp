#include "console/Backup.h"

#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <iostream>

#include "console/Interrupts.h"
#include "console/Report.h"
#include "db/Services.h"
#include "text/Cp1251.h"
#include "transfer/SameDatabase.h"

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

std::string BackupFileProblem(const std::string& file, const std::string& source,
                              const std::string& dest) {
  // The finished backup is renamed over the file: were it a database, that
  // database would be gone.
  if (SameDatabaseFile(file, source) || SameDatabaseFile(file, dest))
    return "the backup file " + text::Cp1251FromFileName(file) + " is one of the two databases";
  std::string folder = std::filesystem::path(file).parent_path().string();
  if (folder.empty()) folder = ".";
  if (::access(folder.c_str(), W_OK | X_OK) != 0)
    return "the folder " + text::Cp1251FromFileName(folder) +
           " of the backup file cannot be written: " + text::Cp1251FromLocale(std::strerror(errno));
  return {};
}

long long BackUpDestination(ConsoleWindow& window, const std::string& dest,
                            const std::string& file) {
  window.BeginStep(StepName("backup of the destination into ", file));
  TIBBackupService backup(dest, file);
  backup.SetOnProgress([&](const TServiceProgress& done) { window.SetStepBytes(done.bytes); });
  const long long size = backup.Backup();
  window.SetStepBytes(size);
  return size;
}

int RestoreDestination(const ConsoleOptions& options, const std::string& dest,
                       ConsoleWindow& window) {
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
  long long read = 0;
  try {
    window.BeginStep(StepName("restore of the destination from ", options.restore));
    TIBRestoreService restore(options.restore, dest);
    restore.SetOnProgress([&](const TServiceProgress& done) {
      read = done.bytes;
      window.SetStepBytes(done.bytes);
    });
    restore.Restore();
    window.Finish();
  } catch (const std::exception& e) {
    window.Finish();
    window.Error(e.what());
    window.Error("db-dravik: the destination was not restored and is as it was.");
    return kExitNotStarted;
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  char time[48];
  std::snprintf(time, sizeof time, " in %.1f s.\n", seconds);
  std::cout << "Restored " << options.dest << " from the backup " << options.restore << ", "
            << SizeText(read) << " read" << time;
  if (interrupts::Requested())
    std::cout << "The interrupt came while the restore was under way; it has been finished.\n";
  std::cout.flush();
  return kExitClean;
}
