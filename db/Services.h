#pragma once
// The engine's own backup and restore (gbak run by the service manager), and the
// size of a database. A database is named as the connections name it: a plain
// path goes to the embedded engine, "host:/path" or "host/port:/path" to that
// server's service manager. Backup files are always files of this machine: the
// backup travels between the service and this process, so a remote database is
// saved into a local file and restored from one. Paths are UTF-8 (the file
// system's encoding). Failures raise EIBError: the engine's own as
// EIBServiceError (an EIBInterBaseError), this machine's file errors as EIBError;
// each message starts with a plain Russian sentence (windows-1251) and ends with
// the details.
#include <functional>
#include <string>

#include "db/IB.h"

// The failures of a backup or a restore that have a message of their own.
enum class TServiceFailure { Other, NotABackup, DatabaseInUse, DiskFull, OlderEngine };

// A failure the engine reported for a backup or a restore.
class EIBServiceError : public EIBInterBaseError {
 public:
  EIBServiceError(TServiceFailure kind, int sqlCode, long ibErrorCode, const std::string& message)
      : EIBInterBaseError(sqlCode, ibErrorCode, message), kind_(kind) {}
  TServiceFailure Kind() const { return kind_; }

 private:
  TServiceFailure kind_;
};

// What a backup or a restore has done so far.
struct TServiceProgress {
  long long bytes = 0;  // bytes of the backup file written (backup) or read (restore)
  std::string line;     // the restore's latest output line ("gbak:restoring data for table ..."),
                        // empty for a backup, which has no output of its own
};
using TServiceProgressCallback = std::function<void(const TServiceProgress&)>;

class TIBBackupService {
 public:
  TIBBackupService(std::string databaseName, std::string backupFile)
      : databaseName_(std::move(databaseName)), backupFile_(std::move(backupFile)) {}
  void SetOnProgress(TServiceProgressCallback callback) { onProgress_ = std::move(callback); }

  // Writes the backup into a new file beside the backup file and renames it into
  // place once the engine has finished, so a failed backup leaves nothing behind
  // and never spoils an older backup of that name. Returns the file's size.
  long long Backup();

 private:
  std::string databaseName_;
  std::string backupFile_;
  TServiceProgressCallback onProgress_;
};

// Where the database's data is after a restore that raised an error.
enum class TRestoreLeft {
  AsItWas,   // the database was not touched
  Replaced,  // the backup's data is in place; what failed came after
  NotKnown,  // the server had begun to replace it: it may be gone, or hold part of the
             // backup; the whole backup is restored on the server as KeptCopy()
};

class TIBRestoreService {
 public:
  TIBRestoreService(std::string backupFile, std::string databaseName)
      : backupFile_(std::move(backupFile)), databaseName_(std::move(databaseName)) {}
  void SetOnProgress(TServiceProgressCallback callback) { onProgress_ = std::move(callback); }
  // After Restore raised: where the data is, and for NotKnown the connection
  // name of the proven copy left on the server.
  TRestoreLeft Left() const { return left_; }
  const std::string& KeptCopy() const { return keptCopy_; }

  // Replaces the database (or creates it) with the backup's contents; the
  // existing database is never lost. A local database is restored into a new
  // file beside it, which replaces it by a rename only when the restore has
  // finished; meanwhile the old file is held, so no other program can open and
  // change it. A server's database cannot be renamed through the engine: the
  // backup is first restored into a new database beside it on the server, which
  // proves the backup whole and the server's disk large enough, and only then
  // over the database itself; should that second restore fail after the old
  // database was dropped, the proven copy stays on the server and the error names
  // it. The caller holds no connection to the database.
  void Restore();

 private:
  std::string backupFile_;
  std::string databaseName_;
  TServiceProgressCallback onProgress_;
  TRestoreLeft left_ = TRestoreLeft::AsItWas;
  std::string keptCopy_;
};

// The size of a database in bytes: the file's size for a local file, the page
// size times the pages allocated for a server's database.
long long DatabaseSize(const std::string& databaseName);
