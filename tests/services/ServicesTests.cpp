// The engine's backup and restore through the embedded engine: a restore brings
// back exactly what was saved; a backup or a restore that cannot finish leaves
// nothing behind, an older backup as it was and the database with its data.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "db/Services.h"
#include "tests/support/Contents.h"
#include "tests/support/DatabaseHeader.h"
#include "tests/support/HeldDatabase.h"
#include "tests/support/Process.h"
#include "tests/support/Schema.h"
#include "tests/support/TempDir.h"
#include "text/Cp1251.h"
#include "text/RussianTexts.h"

namespace {

namespace fs = std::filesystem;
using Names = std::set<std::string>;

class Services : public ::testing::Test {
 protected:
  Services() {
    fs::create_directory(folder_);
    testsupport::MakeDemoDatabase(db_, testsupport::Variant::Current, 1);
  }

  Names Files() const {
    Names names;
    for (const auto& entry : fs::directory_iterator(folder_))
      names.insert(entry.path().filename().string());
    return names;
  }

  static std::string Bytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  // The message of the EIBError `f` raises, in UTF-8.
  static std::string FailureOf(const std::function<void()>& f) {
    try {
      f();
    } catch (const EIBError& e) {
      return text::Utf8FromCp1251(e.what());
    }
    ADD_FAILURE() << "no error";
    return std::string();
  }

  static std::string Utf8(const std::string& cp1251) { return text::Utf8FromCp1251(cp1251); }

  testsupport::TempDir dir_{"dravik-services"};
  // A Russian desktop's folder: the file names reach the engine in UTF-8.
  const fs::path folder_ = dir_ / "Загрузки старые";
  const fs::path db_ = folder_ / "site.fdb";
  const fs::path backup_ = folder_ / "site.fbk";
};

TEST_F(Services, RestoreBringsBackWhatTheBackupSaved) {
  const std::string contents = testsupport::DatabaseContents(db_);
  const testsupport::Row generators = testsupport::GeneratorValues(db_);
  EXPECT_EQ(DatabaseSize(db_.string()), static_cast<long long>(fs::file_size(db_)));

  std::vector<long long> written;
  TIBBackupService backup(db_.string(), backup_.string());
  backup.SetOnProgress([&](const TServiceProgress& p) { written.push_back(p.bytes); });
  const long long size = backup.Backup();
  EXPECT_EQ(size, static_cast<long long>(fs::file_size(backup_)));
  ASSERT_FALSE(written.empty());
  EXPECT_TRUE(std::is_sorted(written.begin(), written.end()));
  EXPECT_EQ(written.back(), size);
  EXPECT_EQ(Files(), (Names{"site.fbk", "site.fdb"}));

  testsupport::RunIsql(db_,
                       "DELETE FROM EVENTS; UPDATE OWNER SET OW_NAME = 'changed';"
                       "SET GENERATOR GEN_HOSTS TO 999999;");
  ASSERT_NE(testsupport::DatabaseContents(db_), contents);

  std::vector<std::string> lines;
  long long read = 0;
  TIBRestoreService restore(backup_.string(), db_.string());
  restore.SetOnProgress([&](const TServiceProgress& p) {
    lines.push_back(p.line);
    read = p.bytes;
  });
  restore.Restore();
  EXPECT_EQ(read, size);
  EXPECT_NE(std::find(lines.begin(), lines.end(), "gbak:restoring data for table OWNER "),
            lines.end());
  EXPECT_EQ(Files(), (Names{"site.fbk", "site.fdb"}));
  EXPECT_EQ(testsupport::DatabaseContents(db_), contents);
  EXPECT_EQ(testsupport::GeneratorValues(db_), generators);
}

TEST_F(Services, BackupThatFailsWritesNothing) {
  // An older backup of the same name must survive a failed one.
  std::ofstream(backup_, std::ios::binary) << "an older backup";
  const std::string contents = testsupport::DatabaseContents(db_);
  const fs::path missing = folder_ / "missing.fdb";
  struct Case {
    const char* name;
    fs::path database;
    fs::path file;         // the backup file
    bool held;             // by another program meanwhile
    bool older;            // made by an older engine
    std::string expected;  // the start of the message
  };
  const Case cases[] = {
      {"missing database", missing, backup_, false, false, Utf8(ru::ServiceBackupFailed())},
      {"database held by another program", db_, backup_, true, false,
       Utf8(ru::ServiceDatabaseInUse())},
      {"database of an older engine", db_, backup_, false, true,
       Utf8(ru::OlderEngineDatabase()) + db_.string()},
      {"backup file is the database", db_, folder_ / "." / "site.fdb", false, false,
       Utf8(ru::ServiceBackupIsTheDatabase())},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Names before = Files();
    std::optional<testsupport::DatabaseHeldElsewhere> held;
    if (c.held) held.emplace(db_);
    if (c.older) testsupport::SetOnDiskStructureMajor(db_, 11);
    const std::string message =
        FailureOf([&] { TIBBackupService(c.database.string(), c.file.string()).Backup(); });
    if (c.older) testsupport::SetOnDiskStructureMajor(db_, 12);
    EXPECT_EQ(message.rfind(c.expected, 0), 0u) << message;
    EXPECT_EQ(Files(), before);
    EXPECT_EQ(Bytes(backup_), "an older backup");
  }
  EXPECT_EQ(testsupport::DatabaseContents(db_), contents);
}

TEST_F(Services, RestoreThatCannotFinishLeavesTheDatabase) {
  ASSERT_NO_THROW(TIBBackupService(db_.string(), backup_.string()).Backup());
  const std::string whole = Bytes(backup_);
  testsupport::RunIsql(db_, "DELETE FROM EVENTS");
  const std::string contents = testsupport::DatabaseContents(db_);
  const fs::path bad = folder_ / "bad.fbk";
  struct Case {
    const char* name;
    std::string bytes;  // of the file restored from
    bool held;          // the database held by another program meanwhile
    std::string expected;
  };
  const Case cases[] = {
      {"text file", "not a backup at all\n", false, Utf8(ru::ServiceNotABackup())},
      {"empty file", "", false, Utf8(ru::ServiceNotABackup())},
      {"backup cut short", whole.substr(0, whole.size() / 2), false, Utf8(ru::ServiceNotABackup())},
      {"database held by another program", whole, true, Utf8(ru::ServiceDatabaseInUse())},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::ofstream(bad, std::ios::binary | std::ios::trunc) << c.bytes;
    const Names before = Files();
    std::optional<testsupport::DatabaseHeldElsewhere> held;
    if (c.held) held.emplace(db_);
    const std::string message =
        FailureOf([&] { TIBRestoreService(bad.string(), db_.string()).Restore(); });
    held.reset();
    EXPECT_EQ(message.rfind(c.expected, 0), 0u) << message;
    EXPECT_EQ(Files(), before);
    EXPECT_EQ(testsupport::DatabaseContents(db_), contents);
  }
  const std::string message = FailureOf(
      [&] { TIBRestoreService((folder_ / "none.fbk").string(), db_.string()).Restore(); });
  EXPECT_EQ(message.rfind(Utf8(ru::ServiceBackupFileNotRead()), 0), 0u) << message;
}

// The helper process runs with every file it writes limited to this size: more
// than the engine's lock files (1 MiB), less than the backup and the database.
constexpr long long kRoomLeft = 1536 * 1024;

TEST_F(Services, FullDiskIsReportedAndLeavesEverythingAsItWas) {
  // Random text the backup cannot shrink makes it larger than the room left.
  testsupport::RunIsql(
      db_,
      "CREATE TABLE BULK (B BLOB SUB_TYPE 0);\n"
      "COMMIT;\n"
      "SET TERM ^;\n"
      "EXECUTE BLOCK AS\n"
      "  DECLARE I INTEGER = 0; DECLARE J INTEGER; DECLARE S VARCHAR(8000);\n"
      "BEGIN\n"
      "  WHILE (:I < 320) DO BEGIN\n"
      "    S = ''; J = 0;\n"
      "    WHILE (:J < 200) DO BEGIN S = :S || UUID_TO_CHAR(GEN_UUID()); J = :J + 1; END\n"
      "    INSERT INTO BULK VALUES (:S); I = :I + 1;\n"
      "  END\n"
      "END^\n"
      "SET TERM ;^");
  const std::string contents = testsupport::DatabaseContents(db_);
  auto limited = [&](const char* action, const fs::path& from, const fs::path& to) {
    return testsupport::RunProcess(
        {DRAVIK_LIMITED_RUN, std::to_string(kRoomLeft), action, from.string(), to.string()});
  };

  const fs::path saved = folder_ / "saved.fbk";
  const Names before = Files();
  const testsupport::ProcessResult backup = limited("backup", db_, saved);
  EXPECT_EQ(backup.exitCode, 2) << backup.out << backup.err;
  EXPECT_EQ(backup.out.rfind(Utf8(ru::ServiceDiskFull()), 0), 0u) << backup.out;
  EXPECT_EQ(Files(), before);

  ASSERT_NO_THROW(TIBBackupService(db_.string(), saved.string()).Backup());
  ASSERT_GT(fs::file_size(saved), static_cast<std::uintmax_t>(kRoomLeft));
  testsupport::RunIsql(db_, "DELETE FROM EVENTS");
  const std::string changed = testsupport::DatabaseContents(db_);
  const Names withBackup = Files();
  const testsupport::ProcessResult restore = limited("restore", saved, db_);
  EXPECT_EQ(restore.exitCode, 2) << restore.out << restore.err;
  EXPECT_EQ(restore.out.rfind(Utf8(ru::ServiceDiskFull()), 0), 0u) << restore.out;
  EXPECT_EQ(Files(), withBackup);
  EXPECT_EQ(testsupport::DatabaseContents(db_), changed);
  EXPECT_NE(changed, contents);
}

}  // namespace
