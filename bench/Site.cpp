#include "bench/Site.h"

#include <fcntl.h>
#include <unistd.h>

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

Site MakeSite(const fs::path& folder, int size) {
  fs::create_directories(folder);
  Site site{folder / "source.fdb", folder / "dest-empty.fdb", folder / "ceiling-start.fdb"};
  const fs::path complete = folder / "complete";
  if (fs::exists(complete)) return site;

  const fs::path makeDb = fs::path(DRAVIK_SOURCE_DIR) / "schema" / "make-db";
  RunOrExit(Quoted(makeDb) + " --replace --async --fill " + std::to_string(size) + " " +
            Quoted(site.source));
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
