#pragma once
// A database file made to look as if an older (or newer) engine had made it.
#include <filesystem>

namespace testsupport {

// Writes `major` as the on-disk structure version of the file's header and reads
// it back; returns the previous major (12 for Firebird 3). Throws
// std::runtime_error when the file cannot be read or written.
int SetOnDiskStructureMajor(const std::filesystem::path& db, int major);

}  // namespace testsupport
