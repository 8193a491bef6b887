#include "transfer/RunGate.h"

#include <exception>

#include "transfer/ReadOnlySession.h"

RunGate GateRun(const TIBDatabase& connectLike, const RunGateRequest& request) {
  RunGate gate;
  if (!request.backupFile.empty())
    gate.backup = CheckBackupFile(request.backupFile, request.options.programFolder, request.source,
                                  request.dest);
  if (!gate.backup.Found() || request.planOverBackupProblem) {
    try {
      ReadOnlySession session(connectLike, request.source, request.dest);
      gate.plan = MakeRunPlan(session, request.options);
    } catch (const EAttachError& e) {
      gate.attachFailed = e.Side();
      gate.planError = e.what();
    } catch (const std::exception& e) {
      gate.planError = e.what();
    }
  }
  gate.verdict = JudgeRun(gate.plan ? *gate.plan : RunPlan{}, gate.backup);
  return gate;
}

CheckedRun CheckAfterRun(const TIBDatabase& connectLike, const std::string& source,
                         const std::string& dest, const RunPlan& plan, const PlanOptions& options,
                         const RunRecord& record, bool keepLocations) {
  CheckedRun checked;
  try {
    ReadOnlySession session(connectLike, source, dest);
    checked.check = CheckRun(session, plan, options, record, keepLocations);
  } catch (const std::exception& e) {
    checked.error = e.what();
  }
  return checked;
}
