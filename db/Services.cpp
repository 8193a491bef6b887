// Backup and restore through the service manager, and the size of a database.
#include "db/Services.h"

#include <sys/stat.h>

#include <cerrno>
#include <optional>
#include <random>

#include "db/Client.h"
#include "db/Credentials.h"
#include "db/LocalFiles.h"
#include "db/ParamBlock.h"
#include "db/ServiceManager.h"
#include "text/Cp1251.h"
#include "text/RussianTexts.h"

namespace {

using namespace ib;

// An attachment of the layer's own, beside the program's connections, with the
// program's credentials and a UTF-8 file name.
class Attachment {
 public:
  explicit Attachment(const std::string& name) {
    std::vector<std::string> params = ConnectParams();
    params.push_back("utf8_filename=");
    const std::vector<char> dpb = BuildDatabaseParamBlock(params);
    Api().attach_database(failure_.Vector(), 0, name.c_str(), &handle_,
                          static_cast<short>(dpb.size()), dpb.data());
    if (failure_.Failed()) handle_ = 0;
  }
  ~Attachment() {
    if (handle_ == 0) return;
    Status ignored;
    Api().detach_database(ignored.Vector(), &handle_);
  }
  Attachment(const Attachment&) = delete;
  Attachment& operator=(const Attachment&) = delete;

  bool Attached() const { return handle_ != 0; }
  const Status& Failure() const { return failure_; }
  unsigned int* Handle() { return &handle_; }
  // Drops the database; the attachment goes with it. Errors are ignored: the
  // caller only tidies up.
  void DropQuietly() {
    if (handle_ == 0) return;
    Status ignored;
    Api().drop_database(ignored.Vector(), &handle_);
    if (!ignored.Failed()) handle_ = 0;
  }

 private:
  Status failure_;
  unsigned int handle_ = 0;
};

void DropQuietly(const std::string& name) {
  Attachment(name).DropQuietly();
}

// Six random letters and digits for a name of the server's that nothing else uses.
std::string RandomSuffix() {
  static const char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device random;
  std::uniform_int_distribution<int> pick(0, sizeof kAlphabet - 2);
  std::string suffix;
  for (int i = 0; i < 6; ++i) suffix += kAlphabet[pick(random)];
  return suffix;
}

// Restores the backup file into `path` on the engine of `location`, feeding it
// through the service's standard input. gbak then reports a file that ends
// early as an error: read from a file of its own, it would ask a terminal for
// the next volume and end without an error.
void RestoreInto(const DatabaseLocation& location, const std::string& path, unsigned int options,
                 const std::string& backupFile, const TServiceProgressCallback& onProgress,
                 const std::string& what) {
  FileReader reader(backupFile);
  ServiceAttachment service(location, what);
  service.Start(ServiceParamBlock({static_cast<char>(isc_action_svc_restore)})
                    .Text(isc_spb_bkp_file, "stdin")
                    .Text(isc_spb_dbname, path)
                    .Tag(isc_spb_verbose)
                    .Number(isc_spb_options, options));
  TServiceProgress progress;
  FeedRestore(
      service,
      [&](char* buffer, std::size_t size) {
        const std::size_t read = reader.Read(buffer, size);
        progress.bytes = reader.BytesRead();
        return read;
      },
      [&](const std::string& line) {
        progress.line = text::Cp1251FromSystemOrSame(line);
        if (onProgress) onProgress(progress);
      });
}

}  // namespace

long long TIBBackupService::Backup() {
  const DatabaseLocation location = LocateDatabase(databaseName_);
  // The database is opened first, and held until the service is done: a file
  // that is missing, held by another program or of an older engine is reported
  // without starting the service (the embedded engine's service thread that
  // fails to open a file another process holds can bring the process down at
  // its exit), and no other program can open the file while it is saved.
  Attachment held(databaseName_);
  if (!held.Attached()) RaiseServiceError(held.Failure(), ru::ServiceBackupFailed());
  // Renaming the finished backup over the database itself would destroy it.
  struct stat database = {}, backup = {};
  if (!location.Remote() && ::stat(location.path.c_str(), &database) == 0 &&
      ::stat(backupFile_.c_str(), &backup) == 0 && database.st_dev == backup.st_dev &&
      database.st_ino == backup.st_ino)
    throw EIBError(0, 0, ru::ServiceBackupIsTheDatabase() + text::Cp1251FromFileName(backupFile_));
  FileBeside part(backupFile_, ".part-", true, ru::ServiceBackupFileNotWritten());
  ServiceAttachment service(location, ru::ServiceBackupFailed());
  // The backup comes through the service ("stdout"), so a server's database is
  // saved on this machine. gbak allows no verbose output then.
  service.Start(ServiceParamBlock({static_cast<char>(isc_action_svc_backup)})
                    .Text(isc_spb_dbname, location.path)
                    .Text(isc_spb_bkp_file, "stdout"));
  TServiceProgress progress;
  ReceiveBackup(service, [&](const char* data, std::size_t size) {
    part.Write(data, size);
    progress.bytes += static_cast<long long>(size);
    if (onProgress_) onProgress_(progress);
  });
  part.RenameOver(backupFile_, ru::ServiceBackupFileNotWritten());
  return progress.bytes;
}

void TIBRestoreService::Restore() {
  left_ = TRestoreLeft::AsItWas;
  keptCopy_.clear();
  const DatabaseLocation location = LocateDatabase(databaseName_);
  const std::string& target = location.path;
  if (!location.Remote()) {
    // Holding the old file keeps every other program out of it until it is
    // replaced; one that holds it already is told of. A file the engine cannot
    // open at all (damaged, or of an older engine) is replaced all the same.
    std::optional<Attachment> held;
    struct stat status = {};
    if (::stat(target.c_str(), &status) == 0) {
      held.emplace(target);
      if (!held->Attached() &&
          ClassifyServiceFailure(held->Failure()) == TServiceFailure::DatabaseInUse)
        RaiseServiceError(held->Failure(), ru::ServiceRestoreFailed());
    }
    FileBeside restored(target, ".restore-", false, ru::ServiceRestoreFailed());
    RestoreInto(location, restored.Path(), isc_spb_res_create, backupFile_, onProgress_,
                ru::ServiceRestoreFailed());
    restored.CopyPermissionsOf(target);
    try {
      restored.RenameOver(target, ru::ServiceDatabaseNotReplaced());
    } catch (...) {
      if (restored.Renamed()) left_ = TRestoreLeft::Replaced;
      throw;
    }
    return;
  }

  // A server's file cannot be renamed through the engine. The first restore,
  // beside the database, proves the backup whole and the disk large enough
  // while the database is still untouched.
  const std::string proof = target + ".restore-" + RandomSuffix();
  try {
    RestoreInto(location, proof, isc_spb_res_create, backupFile_, onProgress_,
                ru::ServiceRestoreFailed());
  } catch (...) {
    DropQuietly(location.NameOf(proof));
    throw;
  }
  const std::string kept =
      ru::ServiceCopyKeptOnServer() + text::Cp1251FromFileName(location.NameOf(proof)) + "\r\n";
  try {
    RestoreInto(location, target, isc_spb_res_replace, backupFile_, onProgress_,
                ru::ServiceReplaceOnServerFailed());
  } catch (const EIBServiceError& e) {
    // Attachments keep the server from dropping the database: it is as it was.
    if (e.Kind() == TServiceFailure::DatabaseInUse) {
      DropQuietly(location.NameOf(proof));
      throw;
    }
    // The server drops the old database before it restores over it, so
    // nothing tells what the name holds now; the proven copy stays.
    left_ = TRestoreLeft::NotKnown;
    keptCopy_ = location.NameOf(proof);
    throw EIBServiceError(e.Kind(), e.SQLCode(), e.IBErrorCode(), kept + e.Message());
  } catch (const EIBError& e) {
    left_ = TRestoreLeft::NotKnown;
    keptCopy_ = location.NameOf(proof);
    throw EIBError(e.SQLCode(), e.IBErrorCode(), kept + e.Message());
  }
  DropQuietly(location.NameOf(proof));
}

long long DatabaseSize(const std::string& databaseName) {
  const DatabaseLocation location = LocateDatabase(databaseName);
  const std::string what =
      ru::ServiceDatabaseSizeUnknown() + text::Cp1251FromFileName(databaseName) + ": ";
  if (!location.Remote()) {
    struct stat status = {};
    if (::stat(location.path.c_str(), &status) != 0)
      throw EIBError(0, 0,
                     FileErrorMessage(ru::ServiceDatabaseSizeUnknown(), location.path, errno));
    return static_cast<long long>(status.st_size);
  }
  Attachment database(databaseName);
  if (!database.Attached()) RaiseServiceError(database.Failure(), what);
  const char request[] = {isc_info_page_size, isc_info_allocation, isc_info_end};
  char reply[64] = {};
  Status status;
  Api().database_info(status.Vector(), database.Handle(), sizeof request, request, sizeof reply,
                      reply);
  if (status.Failed()) RaiseServiceError(status, what);
  long long pageSize = 0, pages = 0;
  for (const char* p = reply; p < reply + sizeof reply - 3 && *p != isc_info_end;) {
    const char item = *p++;
    const short length = static_cast<short>(Api().vax_integer(p, 2));
    p += 2;
    const long long value = Api().vax_integer(p, length);
    p += length;
    if (item == isc_info_page_size) pageSize = value;
    if (item == isc_info_allocation) pages = value;
  }
  return pageSize * pages;
}
