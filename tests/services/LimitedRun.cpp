// One backup or restore under a limit on the size of every file it writes, as
// on a disk with that much room left:
//   services_limited_run LIMIT backup DATABASE FILE
//   services_limited_run LIMIT restore FILE DATABASE
// Prints the failure's message (UTF-8) and exits 2, or exits 0.
#include <sys/resource.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "db/Services.h"
#include "text/Cp1251.h"

int main(int argc, char** argv) {
  if (argc != 5) return 64;
  const rlim_t limit = std::strtoull(argv[1], nullptr, 10);
  const rlimit fileSize = {limit, limit};
  // A write past the limit then fails with EFBIG instead of ending the process.
  std::signal(SIGXFSZ, SIG_IGN);
  if (setrlimit(RLIMIT_FSIZE, &fileSize) != 0) return 65;
  try {
    if (std::string(argv[2]) == "backup")
      TIBBackupService(argv[3], argv[4]).Backup();
    else
      TIBRestoreService(argv[3], argv[4]).Restore();
  } catch (const EIBError& e) {
    std::printf("%s", text::Utf8FromCp1251(e.what()).c_str());
    return 2;
  }
  return 0;
}
