#pragma once
// The real-window tests' children come from the shared test support.
#include "tests/support/ChildProcess.h"

namespace e2e {

using namespace std::chrono_literals;
using testsupport::Child;
using testsupport::Clock;
using testsupport::EnvChanges;
using testsupport::RunTool;
using testsupport::ToolResult;
using testsupport::WaitUntil;

}  // namespace e2e
