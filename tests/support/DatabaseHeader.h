#pragma once
// The on-disk structure version in a database file's header page, to make a
// file look as if an older (or newer) engine had made it.
#include <filesystem>

namespace testsupport {

// The major version of the file's on-disk structure (12 for Firebird 3).
int OnDiskStructureMajor(const std::filesystem::path& db);

// Writes `major` into the header and reads it back; returns the previous major.
// Throws std::runtime_error when the file cannot be read or written or the value
// does not read back.
int SetOnDiskStructureMajor(const std::filesystem::path& db, int major);

}  // namespace testsupport
