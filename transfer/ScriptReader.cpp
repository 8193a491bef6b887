#include "transfer/ScriptReader.h"

#include <algorithm>
#include <cctype>

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

namespace {

// Words of SQL text, upper-cased: names, keywords and numbers; quotes around a
// name are dropped.
std::vector<std::string> Words(const std::vector<std::string>& lines) {
  std::vector<std::string> words;
  for (const std::string& line : lines) {
    std::string word;
    for (char c : line) {
      const bool part = std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$';
      if (part) {
        word += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      } else if (c != '"') {
        if (!word.empty()) words.push_back(std::move(word));
        word.clear();
      }
    }
    if (!word.empty()) words.push_back(std::move(word));
  }
  return words;
}

}  // namespace

std::vector<std::string> TablesWrittenBy(const std::vector<std::string>& lines) {
  const std::vector<std::string> words = Words(lines);
  std::vector<std::string> tables;
  auto is = [&](size_t at, const char* word) { return at < words.size() && words[at] == word; };
  auto add = [&](size_t at) {
    if (at < words.size() && std::find(tables.begin(), tables.end(), words[at]) == tables.end())
      tables.push_back(words[at]);
  };
  for (size_t i = 0; i < words.size(); ++i) {
    if ((is(i, "INSERT") || is(i, "MERGE")) && is(i + 1, "INTO")) {
      add(i + 2);
    } else if (is(i, "DELETE") && is(i + 1, "FROM")) {
      add(i + 2);
    } else if (is(i, "UPDATE")) {
      if (is(i + 1, "OR") && is(i + 2, "INSERT") && is(i + 3, "INTO")) {
        add(i + 4);
        i += 3;
      } else {
        add(i + 1);
      }
    }
  }
  return tables;
}
