#pragma once
// The way back from a run, shared by both front ends: the destination saved
// with the engine's own backup before anything is written, and put back from
// such a backup on request. Each step reports its bytes as it goes and returns
// what happened as data; the messages are the database layer's, windows-1251.
#include <functional>
#include <string>

using StepBytes = std::function<void(long long bytes)>;

struct BackupResult {
  bool made = false;
  long long size = 0;  // of the backup file
  std::string error;   // why not
};

// Saves `dest` into `file`; a backup that fails leaves no file behind and an
// older file of that name as it was.
BackupResult BackUpDestination(const std::string& dest, const std::string& file,
                               const StepBytes& onBytes);

// Where the destination's data is once a restore has ended.
enum class DestinationNow {
  Restored,       // it holds the backup
  AsItWas,        // the restore failed before it touched the destination
  BackupInPlace,  // it holds the backup, but a step after the replacement failed
  NotKnown,       // the server had begun to replace it: it may be gone or hold part of the
                  // backup; `keptCopy` holds the whole backup on that server
};

struct RestoreResult {
  DestinationNow now = DestinationNow::AsItWas;
  long long bytesRead = 0;
  std::string keptCopy;  // the connection name of the proven copy, for NotKnown
  std::string error;
};

// Replaces `dest` with the contents of `backup`.
RestoreResult RestoreDestination(const std::string& backup, const std::string& dest,
                                 const StepBytes& onBytes);
