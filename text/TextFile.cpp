#include "text/TextFile.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "text/Cp1251.h"
#include "text/Trim.h"

namespace text {
namespace {

// The message is program text: the file name and the system's reason come in
// the system's encodings and are turned into windows-1251.
[[noreturn]] void Fail(const std::string& what, const std::string& path) {
  const std::string reason = std::strerror(errno);
  throw EInOutError(what + " \"" + Cp1251FromFileName(path) + "\": " + Cp1251FromLocale(reason));
}

bool Exists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

}  // namespace

std::string ResolveInFolder(const std::string& folder, const std::string& name) {
  std::string exact = folder + name;
  if (Exists(exact)) return exact;
  // The name may carry a subfolder ("SQL/_Upd.sql"); each part is matched on its own.
  std::string resolved = folder;
  size_t start = 0;
  while (start <= name.size()) {
    size_t slash = name.find('/', start);
    std::string part =
        name.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
    std::string match = part;
    if (DIR* dir = ::opendir(resolved.empty() ? "." : resolved.c_str())) {
      std::string found;
      while (dirent* entry = ::readdir(dir)) {
        if (part == entry->d_name) {
          found = part;
          break;
        }
        if (found.empty() && SameTextAscii(part, entry->d_name)) found = entry->d_name;
      }
      ::closedir(dir);
      if (!found.empty()) match = found;
    }
    resolved += match;
    if (slash == std::string::npos) break;
    resolved += "/";
    start = slash + 1;
  }
  return Exists(resolved) ? resolved : exact;
}

TextFileReader::TextFileReader(const std::string& path) : in_(path, std::ios::binary), path_(path) {
  if (!in_) Fail("Cannot open file", path);
}

std::string TextFileReader::ReadLine() {
  std::string line;
  if (!in_) return line;
  std::getline(in_, line);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

bool TextFileReader::Eof() {
  if (!in_) return true;
  return in_.peek() == std::char_traits<char>::eof();
}

void RewriteFile(const std::string& path) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) Fail("Cannot create file", path);
}

void AppendLines(const std::string& path, const std::vector<std::string>& lines) {
  if (!Exists(path)) {
    errno = ENOENT;
    Fail("Cannot open file", path);
  }
  std::ofstream out(path, std::ios::binary | std::ios::app);
  if (!out) Fail("Cannot open file", path);
  for (const std::string& line : lines) {
    out.write(line.data(), static_cast<std::streamsize>(line.size()));
    out.write("\r\n", 2);
  }
  out.flush();
  if (!out) Fail("Cannot write file", path);
}

int CountLines(const std::string& path) {
  TextFileReader reader(path);
  int count = 0;
  do {
    reader.ReadLine();
    ++count;
  } while (!reader.Eof());
  return count;
}

}  // namespace text
