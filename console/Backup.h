#pragma once
// The way back from a run: the destination saved with the engine's own backup
// before anything is written, and put back from that backup on request.
#include <string>

#include "console/ConsoleWindow.h"
#include "console/Options.h"

// Why `file` cannot take a backup of `dest`, or empty when it can: its folder
// is missing or not writable, or it is one of the two databases (named as the
// connections name them, quotes removed). windows-1251.
std::string BackupFileProblem(const std::string& file, const std::string& source,
                              const std::string& dest);

// Saves `dest` into `file` as a step of the progress; returns the file's size.
// A failure raises the service's error, and nothing is left of the file.
long long BackUpDestination(ConsoleWindow& window, const std::string& dest,
                            const std::string& file);

// The --restore command on `dest` (quotes removed): the question, the restore,
// what it did; the exit code.
int RestoreDestination(const ConsoleOptions& options, const std::string& dest,
                       ConsoleWindow& window);
