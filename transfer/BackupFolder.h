#pragma once
// The backups the window makes before its runs: one folder beside the program's
// files, one file per backup named after the destination's file and the moment
// it was made, and beside each a note of the destination it was made of, which
// a file name cannot hold whole (a server, a folder). Paths are the file
// system's bytes.
#include <ctime>
#include <string>
#include <vector>

// The folder of the program folder `programFolder` (ending with "/") that keeps
// them; ends with "/".
std::string BackupFolder(const std::string& programFolder);

// A name in `folder` no file has yet, for a backup of the database `dest` made
// at the local time `when`: "site 2026-12-06 17-33-49.fbk" for ".../site.fdb",
// with " (2)", " (3)" ... before the extension when two are made in one second.
std::string NewBackupFile(const std::string& folder, const std::string& dest, const std::tm& when);

// Writes beside `backupFile` that it holds `dest`; false when that cannot be
// written (the backup is good all the same, it is listed without a destination).
bool NoteBackupDestination(const std::string& backupFile, const std::string& dest);

struct BackupEntry {
  std::string file;        // its full path
  std::string dest;        // the destination it was made of; empty without a note
  std::time_t madeAt = 0;  // when the file was last written
  long long size = 0;
};

// The backups in `folder`, newest first; none when the folder is missing.
std::vector<BackupEntry> ListBackups(const std::string& folder);
