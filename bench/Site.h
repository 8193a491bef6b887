#pragma once
// The demo sites the benchmark copies, made with the schema tooling, and the
// fresh database copies every measured run starts from.
#include <filesystem>
#include <string>
#include <vector>

struct Site {
  std::filesystem::path source, emptyDest, ceilingStart;
};

// Runs a shell command; a failure ends the benchmark.
void RunOrExit(const std::string& command);

// The site of `size` controllers in `folder`: made there unless an earlier
// benchmark process left it complete (the platforms' runs share one site).
// Source with the demo site; destination empty with forced writes on, its
// last-pass trigger off as the first script leaves it. The ceiling's database
// is the source with the destination's forced writes and trigger states.
Site MakeSite(const std::filesystem::path& folder, int size);

// `from` copied over `to`, its writes flushed so that they do not land in the
// middle of the next measurement.
std::filesystem::path FreshCopy(const std::filesystem::path& from, const std::filesystem::path& to);
