#pragma once
// The run log "DB_dravik.log" in the program folder. Every writer opens it for
// appending, writes its lines and closes it before it returns, on every path.
#include <map>
#include <string>
#include <vector>

#include "transfer/RunRecord.h"

class RunLog {
 public:
  explicit RunLog(std::string programFolder) : path_(programFolder + "DB_dravik.log") {}
  const std::string& Path() const { return path_; }

  // Creates the file empty (start-up only); throws text::EInOutError.
  void Create() const;
  // Appends lines, each ended by CR LF; throws text::EInOutError when the file
  // is missing or cannot be written.
  void Append(const std::vector<std::string>& lines) const;
  void Append(const std::string& line) const { Append(std::vector<std::string>{line}); }
  // Opens the file for appending and closes it again, so that a writer fails
  // before it touches the database when the log is gone; throws as Append does.
  void CheckAppendable() const { Append(std::vector<std::string>{}); }

  // The same, for the lines that record one failed statement; they are counted
  // so that a front end can tell a clean run without reading the file back.
  void AppendFailure(const std::vector<std::string>& lines);
  void AppendFailure(const std::string& line) { AppendFailure(std::vector<std::string>{line}); }
  // A failed statement that also kept one row of `table` out of the
  // destination; `key` is the row's key as the line names it.
  void AppendRowFailure(const std::string& table, const std::string& key, const std::string& line);
  // A failed update of one column of one destination row.
  void AppendUpdateFailure(const std::string& table, const std::string& key,
                           const std::string& line);
  // A failed statement that lost `rows` rows of `table` already written (a commit).
  void AppendTableFailure(const std::string& table, int rows, const std::string& line);

  int FailedStatements() const { return failedStatements_; }
  const std::map<std::string, int>& FailedRows() const { return failedRows_; }
  const FailedKeys& FailedRowKeys() const { return failedRowKeys_; }
  const FailedKeys& FailedUpdateKeys() const { return failedUpdateKeys_; }

  // The current local date and time in the log's form: short date, then the
  // long time unless it is midnight exactly.
  static std::string Timestamp();

 private:
  std::string path_;
  int failedStatements_ = 0;
  std::map<std::string, int> failedRows_;  // by table
  FailedKeys failedRowKeys_, failedUpdateKeys_;
};
