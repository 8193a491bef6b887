#include "transfer/WayBack.h"

#include <exception>

#include "db/Services.h"

BackupResult BackUpDestination(const std::string& dest, const std::string& file,
                               const StepBytes& onBytes) {
  BackupResult result;
  try {
    TIBBackupService backup(dest, file);
    backup.SetOnProgress([&](const TServiceProgress& done) {
      if (onBytes) onBytes(done.bytes);
    });
    result.size = backup.Backup();
    result.made = true;
  } catch (const std::exception& e) {
    result.error = e.what();
  }
  return result;
}

RestoreResult RestoreDestination(const std::string& backup, const std::string& dest,
                                 const StepBytes& onBytes) {
  RestoreResult result;
  TIBRestoreService restore(backup, dest);
  restore.SetOnProgress([&](const TServiceProgress& done) {
    result.bytesRead = done.bytes;
    if (onBytes) onBytes(done.bytes);
  });
  try {
    restore.Restore();
    result.now = DestinationNow::Restored;
  } catch (const std::exception& e) {
    result.error = e.what();
    switch (restore.Left()) {
      case TRestoreLeft::AsItWas:
        result.now = DestinationNow::AsItWas;
        break;
      case TRestoreLeft::Replaced:
        result.now = DestinationNow::BackupInPlace;
        break;
      case TRestoreLeft::NotKnown:
        result.now = DestinationNow::NotKnown;
        result.keptCopy = restore.KeptCopy();
        break;
    }
  }
  return result;
}
