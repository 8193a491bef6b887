#include "tests/support/DatabaseHeader.h"

#include <fstream>
#include <stdexcept>

namespace testsupport {

int SetOnDiskStructureMajor(const std::filesystem::path& db, int major) {
  // The header page starts with the common page header (16 bytes), then the page
  // size and the structure version, two bytes each, low byte first; the version's
  // top bit marks a file of Firebird rather than of its ancestor.
  constexpr std::streamoff kVersionAt = 18;
  std::fstream file(db, std::ios::binary | std::ios::in | std::ios::out);
  auto read = [&] {
    unsigned char bytes[2] = {};
    if (!file.seekg(kVersionAt) || !file.read(reinterpret_cast<char*>(bytes), 2))
      throw std::runtime_error("cannot read the header of " + db.string());
    return static_cast<unsigned>(bytes[0] | (bytes[1] << 8));
  };
  const unsigned before = read();
  const unsigned after = (before & 0x8000) | static_cast<unsigned>(major);
  const char bytes[2] = {static_cast<char>(after & 0xFF), static_cast<char>(after >> 8)};
  if (!file.seekp(kVersionAt) || !file.write(bytes, 2) || !file.flush() || read() != after)
    throw std::runtime_error("cannot write the header of " + db.string());
  return static_cast<int>(before & 0x7FFF);
}

}  // namespace testsupport
