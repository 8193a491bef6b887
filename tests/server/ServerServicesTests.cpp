// Backup and restore of a server's database ("host/port:/path") into and from a
// file of this machine: the restore brings back the saved data, and one that
// cannot finish leaves the database and the server's folder as they were.
#include <filesystem>
#include <fstream>

#include "db/DatabaseLocation.h"
#include "db/Services.h"
#include "tests/server/ServerFixture.h"
#include "tests/support/Contents.h"
#include "tests/support/DatabaseFailure.h"
#include "text/Cp1251.h"
#include "text/RussianTexts.h"

namespace servertest {
namespace {

namespace fs = std::filesystem;
using testsupport::FileNames;

using testsupport::FailureOf;

TEST_F(ServerRun, BackupAndRestoreOfAServersDatabase) {
  const std::string name = server_->RemoteName(source_, "127.0.0.1");
  const std::string contents = testsupport::DatabaseContents(source_);
  const auto serverFiles = FileNames(server_->DataDir());
  testsupport::TempDir local("dravik-server-backup");
  const fs::path backup = local / "site.fbk";

  EXPECT_EQ(DatabaseSize(name), static_cast<long long>(fs::file_size(source_)));
  const long long size = TIBBackupService(name, backup.string()).Backup();
  EXPECT_EQ(size, static_cast<long long>(fs::file_size(backup)));

  server_->Stop();
  testsupport::RunIsql(source_, "DELETE FROM EVENTS; UPDATE OWNER SET OW_NAME = 'changed'");
  const std::string changed = testsupport::DatabaseContents(source_);
  ASSERT_NE(changed, contents);
  server_->Start();

  // Not a backup: refused on the server's side copy, the database untouched.
  const fs::path text = local / "notes.txt";
  std::ofstream(text) << "not a backup\n";
  const std::string refused = FailureOf([&] { TIBRestoreService(text.string(), name).Restore(); });
  EXPECT_EQ(refused.rfind(text::Utf8FromCp1251(ru::ServiceNotABackup()), 0), 0u) << refused;

  // Held through the server: the database cannot be replaced and stays.
  {
    TDM1 holder;
    holder.IBDatabase3.SetDatabaseName(name);
    holder.IBDatabase3.Open();
    const std::string held = FailureOf([&] { TIBRestoreService(backup.string(), name).Restore(); });
    EXPECT_EQ(held.rfind(text::Utf8FromCp1251(ru::ServiceDatabaseInUse()), 0), 0u) << held;
  }
  EXPECT_EQ(FileNames(server_->DataDir()), serverFiles);
  server_->Stop();
  EXPECT_EQ(testsupport::DatabaseContents(source_), changed);
  server_->Start();

  TIBRestoreService(backup.string(), name).Restore();
  server_->Stop();
  EXPECT_EQ(testsupport::DatabaseContents(source_), contents);
  EXPECT_EQ(FileNames(server_->DataDir()), serverFiles);
}

// The server drops the database before its second restore puts the backup in
// place; cut short there, the database may be gone, so the message must not
// call it untouched, and the proven copy beside it must hold the backup.
TEST_F(ServerRun, ARestoreCutShortOnTheServerSaysWhereTheDataIs) {
  const std::string name = server_->RemoteName(source_, "127.0.0.1");
  const std::string contents = testsupport::DatabaseContents(source_);
  testsupport::TempDir local("dravik-server-backup");
  const std::string backup = (local / "site.fbk").string();
  TIBBackupService(name, backup).Backup();

  TIBRestoreService restore(backup, name);
  int ownersRestored = 0;
  restore.SetOnProgress([&](const TServiceProgress& done) {
    if (done.line == "gbak:restoring data for table OWNER " && ++ownersRestored == 2)
      server_->Kill();
  });
  const std::string message = FailureOf([&] { restore.Restore(); });
  ASSERT_EQ(ownersRestored, 2) << message;
  EXPECT_EQ(restore.Left(), TRestoreLeft::NotKnown);
  EXPECT_EQ(message.rfind(text::Utf8FromCp1251(ru::ServiceCopyKeptOnServer()), 0), 0u) << message;
  EXPECT_EQ(message.find(text::Utf8FromCp1251(ru::ServiceRestoreFailed())), std::string::npos)
      << message;
  const fs::path kept = ib::LocateDatabase(restore.KeptCopy()).path;
  EXPECT_EQ(kept.parent_path(), source_.parent_path());
  ASSERT_TRUE(fs::exists(kept)) << restore.KeptCopy();
  EXPECT_EQ(testsupport::DatabaseContents(kept), contents);
}

}  // namespace
}  // namespace servertest
