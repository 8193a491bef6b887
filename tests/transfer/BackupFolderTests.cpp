// The window's backup folder: names no two backups share, and the listing the
// restore dialog shows, newest first, with the destination each was made of.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "tests/support/TempDir.h"
#include "transfer/BackupFolder.h"

namespace {

namespace fs = std::filesystem;

std::tm Moment() {
  std::tm when = {};
  when.tm_year = 2026 - 1900;
  when.tm_mon = 11;
  when.tm_mday = 6;
  when.tm_hour = 17;
  when.tm_min = 33;
  when.tm_sec = 9;
  return when;
}

void Write(const fs::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary) << bytes;
}

TEST(BackupFolder, NamesFollowTheDestinationFileAndTheMoment) {
  testsupport::TempDir dir("dravik-backups");
  const std::string folder = BackupFolder(dir.path().string() + "/");
  EXPECT_EQ(folder, dir.path().string() + "/backups/");
  fs::create_directories(folder);
  const std::pair<std::string, std::string> cases[] = {
      {"/data/Объект 1/site.fdb", "site 2026-12-06 17-33-09.fbk"},
      {"server:/srv/db/SITE.GDB", "SITE 2026-12-06 17-33-09.fbk"},
      {"server/3051:/srv/db/other.fdb", "other 2026-12-06 17-33-09.fbk"},
      {"[::1]/3050:/srv/db/v6.fdb", "v6 2026-12-06 17-33-09.fbk"},
      {"relative.fdb", "relative 2026-12-06 17-33-09.fbk"},
  };
  for (const auto& [dest, name] : cases)
    EXPECT_EQ(NewBackupFile(folder, dest, Moment()), folder + name) << dest;

  // Two backups in one second, or a note whose backup is gone: the next free name.
  const std::string first = NewBackupFile(folder, "/data/site.fdb", Moment());
  Write(first, "backup");
  const std::string second = NewBackupFile(folder, "/data/site.fdb", Moment());
  EXPECT_EQ(second, folder + "site 2026-12-06 17-33-09 (2).fbk");
  Write(second + ".dest", "/data/site.fdb\n");
  EXPECT_EQ(NewBackupFile(folder, "/data/site.fdb", Moment()),
            folder + "site 2026-12-06 17-33-09 (3).fbk");
}

TEST(BackupFolder, ListsBackupsNewestFirstWithTheirDestinations) {
  testsupport::TempDir dir("dravik-backups");
  const std::string folder = dir.path().string() + "/";
  EXPECT_TRUE(ListBackups(folder + "missing/").empty());

  const auto now = fs::file_time_type::clock::now();
  const struct {
    const char* name;
    const char* dest;  // null: no note
    int hoursAgo;
    size_t size;
  } backups[] = {{"old.fbk", "/data/Объект/old.fdb", 48, 10},
                 {"new.fbk", "server:/srv/new.fdb", 1, 3000},
                 {"lost note.fbk", nullptr, 5, 7}};
  for (const auto& backup : backups) {
    Write(folder + backup.name, std::string(backup.size, 'b'));
    fs::last_write_time(folder + backup.name, now - std::chrono::hours(backup.hoursAgo));
    if (backup.dest) {
      EXPECT_TRUE(NoteBackupDestination(folder + backup.name, backup.dest)) << backup.name;
    }
  }
  // Neither notes, other files nor folders count as backups.
  Write(folder + "Conv.txt", "HOSTS=HS_ID\r\n");
  fs::create_directory(folder + "folder.fbk");

  const std::vector<BackupEntry> listed = ListBackups(folder);
  ASSERT_EQ(listed.size(), 3u);
  EXPECT_EQ(listed[0].file, folder + "new.fbk");
  EXPECT_EQ(listed[0].dest, "server:/srv/new.fdb");
  EXPECT_EQ(listed[0].size, 3000);
  EXPECT_EQ(listed[1].file, folder + "lost note.fbk");
  EXPECT_EQ(listed[1].dest, "");
  EXPECT_EQ(listed[2].dest, "/data/Объект/old.fdb");
  const std::time_t nowSeconds = std::time(nullptr);
  EXPECT_NEAR(static_cast<double>(nowSeconds - listed[2].madeAt), 48 * 3600.0, 60.0);
}

}  // namespace
