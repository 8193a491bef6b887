#pragma once
// A program folder as an installer leaves it: the executable beside its control
// files and scripts, a demo source database and an empty destination.
#include <filesystem>
#include <string>

#include "tests/support/Schema.h"

namespace e2e {

struct ProgramFolder {
  std::filesystem::path folder, exe, source, dest, runLog;
};

// Fills `folder` with the built executable, schema/control/* and the two databases:
// a demo site of `size` controllers in the `variant` layout, and an empty
// destination of the current layout.
ProgramFolder PrepareProgramFolder(const std::filesystem::path& folder,
                                   testsupport::Variant variant, int size);

// The run log's text as UTF-8 (empty when the file is missing).
std::string ReadRunLog(const ProgramFolder& program);

// The folder for what a test leaves behind for a person to look at.
std::filesystem::path OutputFolder(const std::string& testName);

}  // namespace e2e
