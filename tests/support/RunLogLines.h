#pragma once
// A run log read back for comparing the logs of two runs.
#include <filesystem>
#include <string>
#include <vector>

namespace testsupport {

// The log's lines (split at CR LF, windows-1251) with the timestamp that starts
// a line (Russian date, time unless midnight) replaced by "<TIME>".
std::vector<std::string> LogLinesWithoutTimes(const std::filesystem::path& log);
// The same of a log's bytes.
std::vector<std::string> LinesWithoutTimes(const std::string& bytes);

}  // namespace testsupport
