// The engine's backup and restore through the embedded engine: a restore brings
// back exactly what was saved; a backup or a restore that cannot finish leaves
// nothing behind, an older backup as it was and the database with its data.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <set>
#include <string>

#include "db/Services.h"
#include "tests/support/Contents.h"
#include "tests/support/DatabaseFailure.h"
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
using testsupport::FailureOf;

class Services : public ::testing::Test {
 protected:
  Services() {
    fs::create_directory(folder_);
    testsupport::MakeDemoDatabase(db_, testsupport::Variant::Current, 1);
  }

  Names Files() const { return testsupport::FileNames(folder_); }

  static std::string Bytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
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

  long long written = 0;
  TIBBackupService backup(db_.string(), backup_.string());
  backup.SetOnProgress([&](const TServiceProgress& p) { written = p.bytes; });
  const long long size = backup.Backup();
  EXPECT_EQ(size, static_cast<long long>(fs::file_size(backup_)));
  EXPECT_EQ(written, size);

  testsupport::RunIsql(db_,
                       "DELETE FROM EVENTS; UPDATE OWNER SET OW_NAME = 'changed';"
                       "SET GENERATOR GEN_HOSTS TO 999999;");
  ASSERT_NE(testsupport::DatabaseContents(db_), contents);

  std::set<std::string> lines;
  TIBRestoreService restore(backup_.string(), db_.string());
  restore.SetOnProgress([&](const TServiceProgress& p) { lines.insert(p.line); });
  restore.Restore();
  EXPECT_EQ(lines.count("gbak:restoring data for table OWNER "), 1u);
  EXPECT_EQ(Files(), (Names{"site.fbk", "site.fdb"}));
  EXPECT_EQ(testsupport::DatabaseContents(db_), contents);
  EXPECT_EQ(testsupport::GeneratorValues(db_), generators);
}

// The helper process runs with every file it writes limited to this size: more
// than the engine's lock files (1 MiB), less than the backup and the database.
constexpr long long kRoomLeft = 1536 * 1024;

TEST_F(Services, FailuresLeaveEverythingAsItWas) {
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
  const fs::path whole = folder_ / "whole.fbk", given = folder_ / "given.fbk";
  ASSERT_NO_THROW(TIBBackupService(db_.string(), whole.string()).Backup());
  ASSERT_GT(fs::file_size(whole), static_cast<std::uintmax_t>(kRoomLeft));
  const std::string wholeBytes = Bytes(whole);
  // An older backup of the same name must survive a failed backup.
  std::ofstream(backup_, std::ios::binary) << "an older backup";
  const std::string contents = testsupport::DatabaseContents(db_);

  enum Obstacle { None, Held, Older, FullDisk };
  struct Case {
    const char* name;
    bool backup;        // a backup of `from` into `to`; otherwise a restore
    fs::path from, to;  // `given` holds `bytes` for a restore
    std::string bytes;
    Obstacle obstacle;
    std::string expected;  // the start of the message
  };
  const fs::path missing = folder_ / "missing.fdb";
  const Case cases[] = {
      {"backup of a missing database", true, missing, backup_, "", None,
       Utf8(ru::ServiceBackupFailed())},
      {"backup of a database held elsewhere", true, db_, backup_, "", Held,
       Utf8(ru::ServiceDatabaseInUse())},
      {"backup of an older engine's database", true, db_, backup_, "", Older,
       Utf8(ru::OlderEngineDatabase()) + db_.string()},
      {"backup into the database itself", true, db_, folder_ / "." / "site.fdb", "", None,
       Utf8(ru::ServiceBackupIsTheDatabase())},
      {"backup on a full disk", true, db_, backup_, "", FullDisk, Utf8(ru::ServiceDiskFull())},
      {"restore from a text file", false, given, db_, "not a backup\n", None,
       Utf8(ru::ServiceNotABackup())},
      {"restore from an empty file", false, given, db_, "", None, Utf8(ru::ServiceNotABackup())},
      {"restore from a backup cut short", false, given, db_,
       wholeBytes.substr(0, wholeBytes.size() / 2), None, Utf8(ru::ServiceNotABackup())},
      {"restore from a missing file", false, folder_ / "none.fbk", db_, "", None,
       Utf8(ru::ServiceBackupFileNotRead())},
      {"restore into a database held elsewhere", false, whole, db_, "", Held,
       Utf8(ru::ServiceDatabaseInUse())},
      {"restore on a full disk", false, whole, db_, "", FullDisk, Utf8(ru::ServiceDiskFull())},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::ofstream(given, std::ios::binary | std::ios::trunc) << c.bytes;
    const Names before = Files();
    std::optional<testsupport::DatabaseHeldElsewhere> held;
    if (c.obstacle == Held) held.emplace(db_);
    if (c.obstacle == Older) testsupport::SetOnDiskStructureMajor(db_, 11);
    std::string message;
    if (c.obstacle == FullDisk) {
      const testsupport::ProcessResult run = testsupport::RunProcess(
          {DRAVIK_LIMITED_RUN, std::to_string(kRoomLeft), c.backup ? "backup" : "restore",
           c.from.string(), c.to.string()});
      EXPECT_EQ(run.exitCode, 2) << run.out << run.err;
      message = run.out;
    } else if (c.backup) {
      message = FailureOf([&] { TIBBackupService(c.from.string(), c.to.string()).Backup(); });
    } else {
      message = FailureOf([&] { TIBRestoreService(c.from.string(), c.to.string()).Restore(); });
    }
    held.reset();
    if (c.obstacle == Older) testsupport::SetOnDiskStructureMajor(db_, 12);
    EXPECT_EQ(message.rfind(c.expected, 0), 0u) << message;
    EXPECT_EQ(Files(), before);
    EXPECT_EQ(Bytes(backup_), "an older backup");
    EXPECT_EQ(testsupport::DatabaseContents(db_), contents);
  }
}

}  // namespace
