#include "bench/Site.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>

#include "text/TextFile.h"

namespace fs = std::filesystem;

namespace {

std::string Quoted(const fs::path& path) {
  std::string quoted = "'";
  quoted += path.string();
  quoted += '\'';
  return quoted;
}

void RunScript(const fs::path& folder, const fs::path& db, const std::vector<std::string>& lines) {
  const fs::path script = folder / "script.sql";
  text::RewriteFile(script.string());
  text::AppendLines(script.string(), lines);
  RunOrExit("isql-fb -q -user SYSDBA -i " + Quoted(script) + " " + Quoted(db) + " >/dev/null");
}

// Writes still pending from making the site or from the last copy would
// otherwise be flushed by the kernel in the middle of the next measurement, in
// front of the destination's forced writes.
void FlushPendingWrites(const fs::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::syncfs(fd);
  ::close(fd);
}

}  // namespace

void RunOrExit(const std::string& command) {
  if (std::system(command.c_str()) != 0) {
    std::cerr << "bench_transfer: failed: " << command << "\n";
    std::exit(1);
  }
}

std::string SiteShape::Name() const {
  char name[48];
  if (Proportional())
    std::snprintf(name, sizeof name, "%d", controllers);
  else
    std::snprintf(name, sizeof name, "%d/%d/%d", controllers, ownersPer, eventsPer);
  return name;
}

std::optional<SiteShape> ParseSiteShape(const std::string& text) {
  // 16 inputs per controller: 5,000 controllers of 40 owners and 160 events.
  if (text == "large") return SiteShape{5000, 40, 160};
  SiteShape shape;
  char slash1 = 0, slash2 = 0, rest = 0;
  const int fields = std::sscanf(text.c_str(), "%d%c%d%c%d%c", &shape.controllers, &slash1,
                                 &shape.ownersPer, &slash2, &shape.eventsPer, &rest);
  const bool plain = fields == 1;
  const bool shaped = fields == 5 && slash1 == '/' && slash2 == '/';
  // The demo takes events in tens: a tenth of them are alarms.
  if ((!plain && !shaped) || shape.controllers <= 0 || shape.ownersPer <= 0 ||
      shape.eventsPer < 20 || shape.eventsPer % 20 != 0)
    return std::nullopt;
  return shape;
}

Site MakeSite(const fs::path& folder, const SiteShape& shape) {
  fs::create_directories(folder);
  Site site{folder / "source.fdb", folder / "dest-empty.fdb", folder / "ceiling-start.fdb"};
  const fs::path complete = folder / "complete";
  if (fs::exists(complete)) return site;

  const fs::path makeDb = fs::path(DRAVIK_SOURCE_DIR) / "schema" / "make-db";
  RunOrExit(Quoted(makeDb) + " --replace --async --fill " + std::to_string(shape.controllers) +
            " --owners " + std::to_string(shape.ownersPer) + " --events " +
            std::to_string(shape.eventsPer) + " " + Quoted(site.source));
  RunOrExit(Quoted(makeDb) + " --replace " + Quoted(site.emptyDest));
  const std::string lastPassOff = "ALTER TRIGGER EVENTS_AI_LASTPASS INACTIVE;";
  RunScript(folder, site.emptyDest, {lastPassOff, "COMMIT;"});
  fs::copy_file(site.source, site.ceilingStart, fs::copy_options::overwrite_existing);
  RunOrExit("gfix -user SYSDBA -write sync " + Quoted(site.ceilingStart));
  RunScript(folder, site.ceilingStart,
            {lastPassOff, "ALTER TRIGGER OWNER_BI_REGDATE ACTIVE;", "COMMIT;"});
  std::ofstream{complete};
  return site;
}

fs::path FreshCopy(const fs::path& from, const fs::path& to) {
  fs::copy_file(from, to, fs::copy_options::overwrite_existing);
  FlushPendingWrites(to.parent_path());
  return to;
}
