// Feeds arbitrary script files to the statement reader the script runners use
// and checks that every line of the file lands either in exactly one statement,
// unchanged and in order, or is a separator, and that reading always ends.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "transfer/ScriptReader.h"

namespace {

// One scratch file per fuzzing process, removed when the process ends.
struct ScratchFile {
  std::string path;
  ScratchFile() {
    const char* dir = std::getenv("TMPDIR");
    path = std::string(dir ? dir : "/tmp") + "/dravik-fuzz-script-" + std::to_string(::getpid()) +
           ".sql";
  }
  ~ScratchFile() { std::remove(path.c_str()); }
};

const std::string& ScratchPath() {
  static const ScratchFile file;
  return file.path;
}

// The lines a reader of CR LF or LF files sees: split at LF, one CR before it
// dropped, no extra line after a final line break.
std::vector<std::string> LinesOf(const std::string& content) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < content.size()) {
    size_t end = content.find('\n', start);
    if (end == std::string::npos) end = content.size();
    std::string line = content.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string content(reinterpret_cast<const char*>(data), size);
  {
    std::ofstream out(ScratchPath(), std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
  }

  const std::vector<std::string> lines = LinesOf(content);
  std::vector<std::string> expected;
  for (const std::string& line : lines)
    if (!IsScriptSeparator(line)) expected.push_back(line);

  text::TextFileReader script(ScratchPath());
  std::vector<std::string> read;
  size_t statements = 0;
  do {
    for (std::string& line : ReadScriptStatement(script)) {
      if (IsScriptSeparator(line)) std::abort();  // a separator never belongs to a statement
      read.push_back(std::move(line));
    }
    // Every statement but an empty last one consumes at least one line.
    if (++statements > lines.size() + 1) std::abort();
  } while (!script.Eof());

  if (read != expected) std::abort();
  return 0;
}
