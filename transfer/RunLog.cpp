#include "transfer/RunLog.h"

#include "text/Regional.h"
#include "text/TextFile.h"

void RunLog::Create() const { text::RewriteFile(path_); }

void RunLog::Append(const std::vector<std::string>& lines) const { text::AppendLines(path_, lines); }

std::string RunLog::Timestamp() { return text::DateTimeToStr(text::Now()); }
