#include "transfer/RunLog.h"

#include "text/Regional.h"
#include "text/TextFile.h"

void RunLog::Create() const {
  text::RewriteFile(path_);
}

void RunLog::Append(const std::vector<std::string>& lines) const {
  text::AppendLines(path_, lines);
}

void RunLog::AppendFailure(const std::vector<std::string>& lines) {
  // Counted first: the statement failed whether or not its lines reach the file.
  ++failedStatements_;
  Append(lines);
}

void RunLog::AppendRowFailure(const std::string& table, const std::string& key,
                              const std::string& line) {
  ++failedRows_[table];
  ++failedRowKeys_[table][key];
  AppendFailure(line);
}

void RunLog::AppendUpdateFailure(const std::string& table, const std::string& key,
                                 const std::string& line) {
  ++failedUpdateKeys_[table][key];
  AppendFailure(line);
}

void RunLog::AppendTableFailure(const std::string& table, int rows, const std::string& line) {
  failedRows_[table] += rows;
  AppendFailure(line);
}

std::string RunLog::Timestamp() {
  return text::DateTimeToStr(text::Now());
}
