#pragma once
// What the command prints: the plan, the check, in tables of plain text.
// Texts from the databases and control files are windows-1251 and are turned
// into UTF-8 here, at the edge.
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "console/Options.h"
#include "transfer/RunGuards.h"

struct RunPlan;
struct GeneratorPlan;
struct RunCheck;
struct RestoreResult;

// windows-1251 to UTF-8.
std::string Utf8(const std::string& text);

// "12.3 MB"; SizeText adds the bytes: "12.3 MB (12902400 bytes)".
std::string Megabytes(long long bytes);
std::string SizeText(long long bytes);

// Columns padded to their widest cell; `align` has one letter per column,
// 'l' or 'r'.
class TextTable {
 public:
  TextTable(std::vector<std::string> header, std::string align);
  void Add(std::vector<std::string> row);
  void Print(std::ostream& out, const std::string& indent = "  ") const;

 private:
  std::vector<std::vector<std::string>> rows_;
  std::string align_;
};

// What the plan tells of the destination's size and of the backup.
struct BackupPlan {
  std::optional<long long> destSize;  // none when it could not be read
  std::string sizeError;              // why not, windows-1251
  BackupFileProblem problem;          // of the --backup file
};

// A path as a POSIX shell reads it back: bare when it is plain, otherwise in
// single quotes, so that a hint can be pasted as it stands.
std::string ShellQuoted(const std::string& path);

// The guards' data in words, UTF-8.
std::string SideName(DatabaseSide side);  // "source", "destination"
std::string FindingText(const PlanFinding& finding);
// A generator's value: how it is worked out; why the run would stop at it.
std::string GeneratorBasisText(const GeneratorPlan& generator);
std::string GeneratorProblemText(const GeneratorPlan& generator);
std::string BackupProblemText(const BackupFileProblem& problem);

// Every error of the plan and of the backup file, one line each under
// `indent`, saying where it is; a run's refusal lists them so.
void PrintPlanErrors(std::ostream& out, const RunPlan& plan, const BackupFileProblem& backup,
                     const std::string& indent);

// What a failed restore of `dest` from `backup` left, and what to do: the
// lines after the database layer's own message. UTF-8.
std::string RestoreFailureAdvice(const RestoreResult& result, const std::string& backup,
                                 const std::string& dest);

// What the summary after a run tells.
struct RunSummary {
  std::string lastStatus;     // the window's status, windows-1251
  std::string interruptedIn;  // the last table whose copy began, when interrupted
  int interruptedStep = 0, steps = 0;
  long long rowsRead = 0, rowsLost = 0;
  std::optional<long long> notMoved;  // events no description matches, when moving events
  int failedStatements = 0;
  int planErrorsForced = 0;  // errors of the plan --force ran over
  bool checkAsked = false;
  std::optional<long long> differences;  // none: the check was not made
  double seconds = 0, checkSeconds = 0;
  std::string backup;  // the --backup file, when one was made
  long long backupSize = 0;
  std::string dest, runLog;
};
void PrintSummary(std::ostream& out, const RunSummary& summary);

void PrintPlan(std::ostream& out, const ConsoleOptions& options, const RunPlan& plan,
               const BackupPlan& backup);
void PrintCheck(std::ostream& out, const RunCheck& check);
