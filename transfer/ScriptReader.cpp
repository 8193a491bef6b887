#include "transfer/ScriptReader.h"

#include "text/Trim.h"

bool IsScriptSeparator(std::string_view line) {
  const std::string trimmed = text::Trim(line);
  return trimmed.empty() || trimmed.find("{***}") != std::string::npos ||
         trimmed.find("---") != std::string::npos;
}

std::vector<std::string> ReadScriptStatement(text::TextFileReader& script) {
  std::vector<std::string> lines;
  for (;;) {
    std::string line = script.ReadLine();
    if (IsScriptSeparator(line)) break;
    lines.push_back(std::move(line));
  }
  return lines;
}
