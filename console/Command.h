#pragma once
// The command's course: the start-up checks the window makes, then either the
// plan, or the run (with the check after it), and the exit code.
#include "console/ConsoleWindow.h"
#include "console/Options.h"

int RunCommand(const ConsoleOptions& options, ConsoleWindow::Progress progress);
