#include "transfer/BackupFolder.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "db/DatabaseLocation.h"

namespace {

namespace fs = std::filesystem;

constexpr char kExtension[] = ".fbk";
constexpr char kNoteExtension[] = ".dest";

std::string NoteOf(const std::string& backupFile) {
  return backupFile + kNoteExtension;
}

std::time_t Seconds(fs::file_time_type time) {
  return std::chrono::system_clock::to_time_t(
      std::chrono::time_point_cast<std::chrono::system_clock::duration>(
          fs::file_time_type::clock::to_sys(time)));
}

}  // namespace

std::string BackupFolder(const std::string& programFolder) {
  return programFolder + "backups/";
}

std::string NewBackupFile(const std::string& folder, const std::string& dest, const std::tm& when) {
  std::string stem = fs::path(ib::LocateDatabase(dest).path).stem().string();
  if (stem.empty()) stem = "backup";
  char moment[32];
  std::strftime(moment, sizeof moment, " %Y-%m-%d %H-%M-%S", &when);
  const std::string base = folder + stem + moment;
  std::string file = base + kExtension;
  std::error_code ignored;
  for (int n = 2; fs::exists(file, ignored) || fs::exists(NoteOf(file), ignored); ++n)
    file = base + " (" + std::to_string(n) + ")" + kExtension;
  return file;
}

bool NoteBackupDestination(const std::string& backupFile, const std::string& dest) {
  std::ofstream note(NoteOf(backupFile), std::ios::binary | std::ios::trunc);
  note << dest << "\n";
  note.close();
  return !note.fail();
}

std::vector<BackupEntry> ListBackups(const std::string& folder) {
  std::vector<BackupEntry> backups;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const fs::path& path = it->path();
    std::error_code unreadable;
    if (path.extension() != kExtension || !it->is_regular_file(unreadable)) continue;
    BackupEntry entry;
    entry.file = path.string();
    entry.size = static_cast<long long>(it->file_size(unreadable));
    const fs::file_time_type written = it->last_write_time(unreadable);
    if (unreadable) continue;  // gone since it was listed
    entry.madeAt = Seconds(written);
    std::ifstream note(NoteOf(entry.file), std::ios::binary);
    std::getline(note, entry.dest);
    backups.push_back(entry);
  }
  std::sort(backups.begin(), backups.end(), [](const BackupEntry& a, const BackupEntry& b) {
    return a.madeAt != b.madeAt ? a.madeAt > b.madeAt : a.file > b.file;
  });
  return backups;
}
