#pragma once
// What the command prints: the plan, the check, in tables of plain text.
// Texts from the databases and control files are windows-1251 and are turned
// into UTF-8 here, at the edge.
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "console/Options.h"

struct RunPlan;
struct RunCheck;

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
  std::string problem;                // why the --backup file cannot be written, windows-1251
};

void PrintPlan(std::ostream& out, const ConsoleOptions& options, const RunPlan& plan,
               const BackupPlan& backup);
void PrintCheck(std::ostream& out, const RunCheck& check);
