#pragma once
// The way back as the command shows it: the destination saved before a run as
// a step of the progress, and the --restore command.
#include <string>

#include "console/ConsoleWindow.h"
#include "console/Options.h"
#include "transfer/WayBack.h"

// Saves `dest` into `file` as a step of the progress.
BackupResult BackUpWithProgress(ConsoleWindow& window, const std::string& dest,
                                const std::string& file);

// The --restore command on `dest` (quotes removed): the question, the restore,
// what it did or where it left the data; the exit code.
int RestoreCommand(const ConsoleOptions& options, const std::string& dest, ConsoleWindow& window);
