#pragma once
// Plain text files of the program folder: control files, scripts and the run log.
// Lines are read with CR LF or LF ends and written with CR LF; bytes pass unchanged
// (windows-1251). Every file is opened, used and closed within one operation.
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace text {

// A file operation that failed; the message names the file and the system's reason.
class EInOutError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The path of `name` in `folder` (which ends with "/"): the exact name when such a
// file exists, otherwise the first entry whose name matches ignoring letter case,
// otherwise the exact name (so that opening it fails in the usual way).
std::string ResolveInFolder(const std::string& folder, const std::string& name);

// Reads a text file line by line. Reading past the end yields empty lines.
class TextFileReader {
 public:
  explicit TextFileReader(const std::string& path);  // throws EInOutError
  std::string ReadLine();
  bool Eof();

 private:
  std::ifstream in_;
  std::string path_;
};

// Creates the file empty (truncating it); throws EInOutError.
void RewriteFile(const std::string& path);
// Opens an existing file for appending, writes every line followed by CR LF and
// closes it; throws EInOutError when the file does not exist or cannot be written.
void AppendLines(const std::string& path, const std::vector<std::string>& lines);
// Number of lines as a line-by-line read to the end counts them: an empty file
// counts 1, a final line break adds no line. Throws EInOutError.
int CountLines(const std::string& path);

}  // namespace text
