#pragma once
// The guards a run passes before it begins, in the order both front ends take
// them: the backup file, then the run's own plan from both databases opened
// for reading, then the verdict on the two; and the check after a run. They
// return data; each front end words it and asks its own questions.
#include <optional>
#include <string>

#include "transfer/RunCheck.h"
#include "transfer/RunGuards.h"
#include "transfer/RunPlan.h"

class TIBDatabase;

struct RunGateRequest {
  std::string source, dest;  // as the connections name them, quotes removed
  PlanOptions options;
  std::string backupFile;  // empty: no backup before the run
  // A backup file that cannot be used refuses the run on its own, so the
  // databases are not opened for a plan then, unless the plan is wanted anyway.
  bool planOverBackupProblem = false;
};

struct RunGate {
  BackupFileProblem backup;
  std::optional<RunPlan> plan;                     // none when it was not or could not be made
  DatabaseSide attachFailed = DatabaseSide::None;  // the database the plan could not open
  std::string planError;  // why there is no plan: the database's or the file's message
  RunVerdict verdict;     // on the plan (when there is one) and the backup file
};

// `connectLike` gives the connect parameters of the run's own connections.
RunGate GateRun(const TIBDatabase& connectLike, const RunGateRequest& request);

struct CheckedRun {
  std::optional<RunCheck> check;
  std::string error;  // why there is none
};

// Reads both databases once a run has reached its end and compares them with
// what `plan` (made before the run with `options`) and the run's own record say
// should be there.
CheckedRun CheckAfterRun(const TIBDatabase& connectLike, const std::string& source,
                         const std::string& dest, const RunPlan& plan, const PlanOptions& options,
                         const RunRecord& record, bool keepLocations);
