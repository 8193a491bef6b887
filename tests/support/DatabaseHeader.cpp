#include "tests/support/DatabaseHeader.h"

#include <fstream>
#include <stdexcept>

namespace testsupport {
namespace {

// The header page starts with the common page header (16 bytes), then the page
// size and the on-disk structure version, two bytes each, low byte first; the
// version's top bit marks a file of Firebird rather than of its ancestor.
constexpr std::streamoff kVersionOffset = 18;
constexpr unsigned kFirebirdFlag = 0x8000;

unsigned ReadVersion(const std::filesystem::path& db) {
  std::ifstream in(db, std::ios::binary);
  unsigned char bytes[2] = {};
  if (!in.seekg(kVersionOffset) || !in.read(reinterpret_cast<char*>(bytes), 2))
    throw std::runtime_error("cannot read the header of " + db.string());
  return bytes[0] | (bytes[1] << 8);
}

}  // namespace

int OnDiskStructureMajor(const std::filesystem::path& db) {
  return static_cast<int>(ReadVersion(db) & ~kFirebirdFlag);
}

int SetOnDiskStructureMajor(const std::filesystem::path& db, int major) {
  const unsigned before = ReadVersion(db);
  const unsigned after = (before & kFirebirdFlag) | static_cast<unsigned>(major);
  {
    std::fstream out(db, std::ios::binary | std::ios::in | std::ios::out);
    const char bytes[2] = {static_cast<char>(after & 0xFF), static_cast<char>(after >> 8)};
    if (!out.seekp(kVersionOffset) || !out.write(bytes, 2))
      throw std::runtime_error("cannot write the header of " + db.string());
  }
  if (OnDiskStructureMajor(db) != major)
    throw std::runtime_error("the header of " + db.string() + " did not take the new version");
  return static_cast<int>(before & ~kFirebirdFlag);
}

}  // namespace testsupport
