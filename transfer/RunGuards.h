#pragma once
// The guards before a run, shared by both front ends: a backup file that would
// overwrite something the run or the site needs, and the verdict on the plan a
// run makes of itself. They return data; each front end words it.
#include <string>

#include "transfer/DatabaseSide.h"
#include "transfer/RunPlan.h"

// What a backup file named for the destination would overwrite or cannot go.
enum class BackupClash {
  None,
  Database,           // one of the two databases (`side`)
  TableList,          // Conv.txt
  GeneratorList,      // GENERATOR.txt
  Script,             // SQL/_Upd.sql or SQL/Upd.sql
  RunLog,             // DB_dravik.log
  Executable,         // a program: an existing file with an execute permission
  FolderNotWritable,  // `path` is the folder, `systemError` why
};

struct BackupFileProblem {
  BackupClash clash = BackupClash::None;
  std::string path;  // the file it would overwrite, as this machine names it
  DatabaseSide side = DatabaseSide::None;
  int systemError = 0;
  bool Found() const { return clash != BackupClash::None; }
};

// The finished backup is renamed over `file`, so whatever is there is gone.
// The databases are named as the connections name them (quotes removed); a
// server's database is compared by its path when the server is this machine,
// and refused on an equal path whatever the host. Control files count in any
// letter case, as the program folder is searched.
BackupFileProblem CheckBackupFile(const std::string& file, const std::string& programFolder,
                                  const std::string& source, const std::string& dest);

// True for the plan's findings that no one may run over: a table list that
// names no table and a destination in read-only mode.
bool IsRefusal(const PlanFinding& finding);

struct RunVerdict {
  int refusals = 0;  // a backup file problem, or findings IsRefusal names
  int errors = 0;    // the plan's other errors: a run forced over them skips that work
  bool MayStart(bool forced) const { return refusals == 0 && (forced || errors == 0); }
};

RunVerdict JudgeRun(const RunPlan& plan, const BackupFileProblem& backup);
