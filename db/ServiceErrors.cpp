// The messages of failed backups and restores: the engine's failures a person
// can act on get a plain sentence of their own before the engine's text.
#include <cerrno>
#include <cstring>
#include <initializer_list>

#include "db/Client.h"
#include "db/ServiceManager.h"
#include "db/Services.h"
#include "text/Cp1251.h"
#include "text/RussianTexts.h"

namespace ib {
namespace {

bool ContainsAny(const Status& status, std::initializer_list<long> codes) {
  for (long code : codes)
    if (status.Contains(code)) return true;
  return false;
}

bool DiskFull(int error) {
  return error == ENOSPC || error == EFBIG || error == EDQUOT;
}

}  // namespace

TServiceFailure ClassifyServiceFailure(const Status& status) {
  if (status.FromOlderEngine()) return TServiceFailure::OlderEngine;
  // gbak's reports of a backup file it cannot read to its end (a truncated one
  // ends in a read error: the service hands it no more input).
  if (ContainsAny(status, {isc_gbak_missing_bkup_desc, isc_gbak_read_error, isc_gbak_unexp_eof,
                           isc_gbak_string_trunc, isc_gbak_unk_rec_type, isc_gbak_invalid_data,
                           isc_gbak_invalid_metadata}))
    return TServiceFailure::NotABackup;
  if (status.Contains(isc_gbak_disk_space_ex) || DiskFull(status.SystemError()))
    return TServiceFailure::DiskFull;
  // Another process holds the file (embedded engine), or attachments keep the
  // server from replacing it.
  if (ContainsAny(status,
                  {isc_already_opened, isc_lock_timeout, isc_obj_in_use, isc_gbak_db_in_use}))
    return TServiceFailure::DatabaseInUse;
  return TServiceFailure::Other;
}

void RaiseServiceError(const Status& status, const std::string& what) {
  const TServiceFailure kind = ClassifyServiceFailure(status);
  const int sqlCode = static_cast<int>(Api().sqlcode(status.Vector()));
  if (kind == TServiceFailure::OlderEngine)
    throw EIBServiceError(kind, sqlCode, status.ErrorCode(), status.Message());
  std::string sentence = what;
  if (kind == TServiceFailure::NotABackup) sentence = ru::ServiceNotABackup();
  if (kind == TServiceFailure::DiskFull) sentence = ru::ServiceDiskFull();
  if (kind == TServiceFailure::DatabaseInUse) sentence = ru::ServiceDatabaseInUse();
  throw EIBServiceError(kind, sqlCode, status.ErrorCode(), sentence + status.Message());
}

std::string FileErrorMessage(const std::string& what, const std::string& file, int error) {
  return (DiskFull(error) ? ru::ServiceDiskFull() : what) + text::Cp1251FromFileName(file) + ": " +
         text::Cp1251FromLocale(std::strerror(error));
}

}  // namespace ib
