#pragma once
// The demo sites the benchmark copies, made with the schema tooling, and the
// fresh database copies every measured run starts from.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// A demo site's shape: controllers, and the owners and events each brings.
struct SiteShape {
  int controllers = 0;
  int ownersPer = 80;
  int eventsPer = 800;
  // The demo's own proportions, where only the controllers change.
  bool Proportional() const { return ownersPer == 80 && eventsPer == 800; }
  // "250", or "5000/40/160" for other proportions.
  std::string Name() const;
};

// "SIZE", "SIZE/OWNERS/EVENTS" (per controller), or "large": 80,000 inputs,
// 200,000 owners and 800,000 events. Nothing when the text is none of these.
std::optional<SiteShape> ParseSiteShape(const std::string& text);

struct Site {
  std::filesystem::path source, emptyDest, ceilingStart;
};

// Runs a shell command; a failure ends the benchmark.
void RunOrExit(const std::string& command);

// The site of `shape` in `folder`: made there unless an earlier
// benchmark process left it complete (the platforms' runs share one site).
// Source with the demo site; destination empty with forced writes on, its
// last-pass trigger off as the first script leaves it. The ceiling's database
// is the source with the destination's forced writes and trigger states.
Site MakeSite(const std::filesystem::path& folder, const SiteShape& shape);

// `from` copied over `to`, its writes flushed so that they do not land in the
// middle of the next measurement.
std::filesystem::path FreshCopy(const std::filesystem::path& from, const std::filesystem::path& to);
