#include "transfer/SameDatabase.h"

#include <sys/stat.h>

#include <filesystem>
#include <system_error>

#include "db/DatabaseLocation.h"
#include "text/Trim.h"
#include "transfer/ThisMachine.h"

namespace {

std::filesystem::path Normal(const std::string& path) {
  std::error_code error;
  std::filesystem::path normal = std::filesystem::weakly_canonical(path, error);
  if (error) normal = std::filesystem::absolute(path, error).lexically_normal();
  return normal;
}

}  // namespace

std::optional<std::string> FileOnThisMachine(const std::string& databaseName) {
  const ib::DatabaseLocation location = ib::LocateDatabase(databaseName);
  if (!location.Remote() || IsThisMachine(location.Host())) return location.path;
  return std::nullopt;
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa = {};
  struct stat sb = {};
  if (::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0)
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
  return Normal(a) == Normal(b);
}

bool SameDatabaseFile(const std::string& a, const std::string& b) {
  const std::optional<std::string> fileA = FileOnThisMachine(a);
  const std::optional<std::string> fileB = FileOnThisMachine(b);
  if (fileA && fileB) return SameFile(*fileA, *fileB);
  if (fileA || fileB) return false;
  const ib::DatabaseLocation locationA = ib::LocateDatabase(a);
  const ib::DatabaseLocation locationB = ib::LocateDatabase(b);
  return text::SameTextAscii(locationA.Host(), locationB.Host()) &&
         std::filesystem::path(locationA.path).lexically_normal() ==
             std::filesystem::path(locationB.path).lexically_normal();
}
