// Which file a database name opens and whether a backup file may go where it
// is named: server names, this machine's servers, and files that are one file
// under two spellings.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "db/DatabaseLocation.h"
#include "tests/support/TempDir.h"
#include "transfer/RunGuards.h"
#include "transfer/SameDatabase.h"

namespace {

namespace fs = std::filesystem;

TEST(DatabaseNames, ServerNamesAndLocalPaths) {
  struct Case {
    const char* name;
    const char* server;  // empty: a file of this machine
    const char* host;
    const char* path;
  };
  const Case cases[] = {
      {"/srv/site/new.fdb", "", "", "/srv/site/new.fdb"},
      {"site-pc:/srv/new.fdb", "site-pc", "site-pc", "/srv/new.fdb"},
      {"site-pc/3051:/srv/new.fdb", "site-pc/3051", "site-pc", "/srv/new.fdb"},
      {"[::1]:/srv/new.fdb", "[::1]", "::1", "/srv/new.fdb"},
      {"[fe80::1]/3050:/srv/new.fdb", "[fe80::1]/3050", "fe80::1", "/srv/new.fdb"},
      {"/dir/a:b.fdb", "", "", "/dir/a:b.fdb"},
      {"./a:b.fdb", "", "", "./a:b.fdb"},
      {"a/b/c:/x.fdb", "", "", "a/b/c:/x.fdb"},
      {"[::1]x:/x.fdb", "", "", "[::1]x:/x.fdb"},
      {"[::1/x.fdb", "", "", "[::1/x.fdb"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ib::DatabaseLocation location = ib::LocateDatabase(c.name);
    EXPECT_EQ(location.server, c.server);
    EXPECT_EQ(location.Host(), c.host);
    EXPECT_EQ(location.path, c.path);
  }
}

TEST(DatabaseNames, OneFileUnderTwoNames) {
  testsupport::TempDir dir("dravik-names Объект");
  const std::string file = dir.File("dest.fdb");
  std::ofstream(file) << "x";
  fs::create_symlink(file, dir / "link.fdb");
  EXPECT_TRUE(SameDatabaseFile(file, "localhost:" + file));
  EXPECT_TRUE(SameDatabaseFile("127.0.0.1/3050:" + dir.File("link.fdb"), file));
  EXPECT_TRUE(SameDatabaseFile("[::1]:" + file, dir.File("./dest.fdb")));
  EXPECT_TRUE(SameDatabaseFile("far.invalid:/srv/a.fdb", "FAR.invalid/3050:/srv/./a.fdb"));
  EXPECT_FALSE(SameDatabaseFile("far.invalid:" + file, file));
  EXPECT_FALSE(SameDatabaseFile("far.invalid:/srv/a.fdb", "near.invalid:/srv/a.fdb"));
  EXPECT_FALSE(SameDatabaseFile(file, dir.File("other.fdb")));
}

TEST(DatabaseNames, BackupFilesThatWouldOverwriteWhatTheRunNeeds) {
  testsupport::TempDir dir("dravik-names Объект");
  const std::string folder = dir.path().string() + "/";
  fs::create_directory(dir / "SQL");
  for (const char* name : {"Conv.txt", "generator.TXT", "SQL/Upd.sql", "source.fdb", "dest.fdb"})
    std::ofstream(dir / name) << "x";
  fs::create_symlink(dir / "Conv.txt", dir / "list-link.txt");
  const std::string source = dir.File("source.fdb");
  const std::string dest = "localhost:" + dir.File("dest.fdb");
  struct Case {
    std::string file;
    BackupClash clash;
  };
  const Case cases[] = {
      {dir.File("dest.fdb"), BackupClash::Database},
      {dir.File("SQL/../source.fdb"), BackupClash::Database},
      {dir.File("CONV.TXT"), BackupClash::TableList},
      {dir.File("list-link.txt"), BackupClash::TableList},
      {dir.File("GENERATOR.txt"), BackupClash::GeneratorList},
      {dir.File("sql/_upd.sql"), BackupClash::Script},
      {dir.File("db_dravik.log"), BackupClash::RunLog},
      {dir.File("gone/dest.fbk"), BackupClash::FolderNotWritable},
      {dir.File("dest.fbk"), BackupClash::None},
      {dir.File("SQL/dest.fbk"), BackupClash::None},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const BackupFileProblem problem = CheckBackupFile(c.file, folder, source, dest);
    EXPECT_EQ(problem.clash, c.clash);
    EXPECT_EQ(problem.Found(), c.clash != BackupClash::None);
  }
  EXPECT_EQ(CheckBackupFile(dir.File("dest.fdb"), folder, source, dest).side,
            DatabaseSide::Destination);
}

}  // namespace
