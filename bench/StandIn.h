#pragma once
// The copy without the window: every table of the sample table list copied by
// the table copy itself against a stand-in window that does nothing, between
// the state save and the state restore, as the earlier benchmark measured it.
#include <filesystem>
#include <vector>

#include "bench/Report.h"

StandInRun CopyWithStandIn(const std::filesystem::path& folder, const std::filesystem::path& source,
                           const std::filesystem::path& dest);
