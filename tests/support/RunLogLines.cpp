#include "tests/support/RunLogLines.h"

#include <fstream>
#include <iterator>
#include <string_view>

namespace testsupport {
namespace {

// True when `text` has the digits of `shape` where it has '9' and its other
// characters exactly.
bool Shaped(std::string_view text, std::string_view shape) {
  if (text.size() < shape.size()) return false;
  for (size_t i = 0; i < shape.size(); ++i) {
    const bool digit = text[i] >= '0' && text[i] <= '9';
    if (shape[i] == '9' ? !digit : text[i] != shape[i]) return false;
  }
  return true;
}

// A run log line with its leading timestamp (Russian date, time unless midnight)
// replaced, so logs of two runs compare.
std::string WithoutTimestamp(const std::string& line) {
  if (!Shaped(line, "99.99.9999")) return line;
  const size_t length = Shaped(line, "99.99.9999 99:99:99") ? 19 : 10;
  return "<TIME>" + line.substr(length);
}

}  // namespace

std::vector<std::string> LogLinesWithoutTimes(const std::filesystem::path& log) {
  std::ifstream in(log, std::ios::binary);
  return LinesWithoutTimes(std::string(std::istreambuf_iterator<char>(in), {}));
}

std::vector<std::string> LinesWithoutTimes(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) end = bytes.size();
    lines.push_back(WithoutTimestamp(bytes.substr(start, end - start)));
    start = end + 2;
  }
  return lines;
}

}  // namespace testsupport
