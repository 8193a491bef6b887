#include "transfer/RunGuards.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <optional>
#include <system_error>

#include "db/DatabaseLocation.h"
#include "text/TextFile.h"
#include "text/Trim.h"
#include "transfer/SameDatabase.h"

namespace {

namespace fs = std::filesystem;

fs::path Normal(const fs::path& path) {
  std::error_code error;
  fs::path normal = fs::weakly_canonical(path, error);
  if (error) normal = fs::absolute(path, error).lexically_normal();
  return normal;
}

struct ControlFile {
  const char* folder;  // under the program folder, "" for the folder itself
  const char* name;
  BackupClash clash;
};

const ControlFile kControlFiles[] = {
    {"", "Conv.txt", BackupClash::TableList},   {"", "GENERATOR.txt", BackupClash::GeneratorList},
    {"", "DB_dravik.log", BackupClash::RunLog}, {"SQL", "_Upd.sql", BackupClash::Script},
    {"SQL", "Upd.sql", BackupClash::Script},
};

// The folder and name compared in any letter case, since the run finds its
// files so; a link to a control file by its identity.
std::optional<ControlFile> ControlFileAt(const fs::path& file, const std::string& programFolder) {
  const fs::path folder = Normal(file).parent_path();
  const std::string name = file.filename().string();
  const fs::path program = Normal(programFolder);
  for (const ControlFile& control : kControlFiles) {
    const std::string relative =
        std::string(control.folder) + (*control.folder ? "/" : "") + control.name;
    if (SameFile(file.string(), text::ResolveInFolder(programFolder, relative))) return control;
    if (!text::SameTextAscii(name, control.name)) continue;
    if (*control.folder == '\0'
            ? folder == program
            : folder.parent_path() == program &&
                  text::SameTextAscii(folder.filename().string(), control.folder))
      return control;
  }
  return std::nullopt;
}

// Whether the backup would land on the database `name` opens.
bool OnDatabase(const std::string& file, const std::string& name) {
  if (const std::optional<std::string> local = FileOnThisMachine(name))
    return SameFile(file, *local);
  // Another machine's path, written as this machine's, is a mistake all the same.
  return Normal(file) == fs::path(ib::LocateDatabase(name).path).lexically_normal();
}

}  // namespace

BackupFileProblem CheckBackupFile(const std::string& file, const std::string& programFolder,
                                  const std::string& source, const std::string& dest) {
  BackupFileProblem problem;
  for (const auto& [name, side] :
       {std::pair{dest, DatabaseSide::Destination}, std::pair{source, DatabaseSide::Source}}) {
    if (OnDatabase(file, name)) {
      problem.clash = BackupClash::Database;
      problem.side = side;
      problem.path = name;
      return problem;
    }
  }
  if (const std::optional<ControlFile> control = ControlFileAt(file, programFolder)) {
    problem.clash = control->clash;
    problem.path = file;
    return problem;
  }
  struct stat status = {};
  if (::stat(file.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
      (status.st_mode & (S_IXUSR | S_IXGRP | S_IXOTH)) != 0) {
    problem.clash = BackupClash::Executable;
    problem.path = file;
    return problem;
  }
  const fs::path parent = fs::path(file).parent_path();
  const std::string folder = parent.empty() ? fs::path(".").string() : parent.string();
  if (::access(folder.c_str(), W_OK | X_OK) != 0) {
    problem.clash = BackupClash::FolderNotWritable;
    problem.path = folder;
    problem.systemError = errno;
  }
  return problem;
}

bool IsRefusal(const PlanFinding& finding) {
  return finding.kind == FindingKind::EmptyTableList ||
         finding.kind == FindingKind::DestinationReadOnly;
}

RunVerdict JudgeRun(const RunPlan& plan, const BackupFileProblem& backup) {
  int refusedFindings = 0;
  for (const PlanFinding& finding : plan.findings)
    if (finding.severity == Severity::Error && IsRefusal(finding)) ++refusedFindings;
  RunVerdict verdict;
  verdict.refusals = refusedFindings + (backup.Found() ? 1 : 0);
  verdict.errors = plan.Errors() - refusedFindings;
  return verdict;
}
