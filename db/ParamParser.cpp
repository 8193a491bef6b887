// One pass over the text with one character of look-ahead.
#include "db/ParamParser.h"

#include <algorithm>

#include "db/IB.h"
#include "text/Trim.h"

namespace ib {
namespace {

bool IsNameChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '$';
}

[[noreturn]] void ParseError(const char* what) {
  IBError(ibxeSQLParseError, what);
}

}  // namespace

ProcessedSql PreprocessParams(const std::string& sql) {
  enum class State { Normal, Comment, Quoted, Name };
  ProcessedSql out;
  out.text.reserve(sql.size());
  State state = State::Normal;
  char quote = 0;
  std::string name;
  bool quotedName = false;
  const size_t n = sql.size();
  size_t i = 0;
  auto complete = [&] {
    out.names.push_back(name);
    name.clear();
    quotedName = false;
    state = State::Normal;
  };
  while (i < n) {
    const char c = sql[i];
    const bool atEnd = i + 1 >= n;
    const char next = atEnd ? '\0' : sql[i + 1];
    switch (state) {
      case State::Normal:
        if (c == '\'' || c == '"') {
          out.text += c;
          quote = c;
          state = State::Quoted;
        } else if (c == '/' && !atEnd && next == '*') {
          out.text += "/*";
          ++i;
          state = State::Comment;
        } else if (c == ':' || c == '?') {
          out.text += '?';
          state = State::Name;
        } else {
          out.text += c;
        }
        break;
      case State::Comment:
        out.text += c;
        if (atEnd) ParseError("EOF in comment detected");
        // The closing "/" is copied by the normal state, which looks at it afresh.
        if (c == '*' && next == '/') state = State::Normal;
        break;
      case State::Quoted:
        out.text += c;
        if (c == quote) {
          if (!atEnd && next == quote) {
            out.text += next;
            ++i;
          } else {
            state = State::Normal;
          }
        } else if (atEnd) {
          ParseError("EOF in string detected");
        }
        break;
      case State::Name:
        if (quotedName) {
          if (c == '"') {
            complete();
            // The character after the closing quote is taken as it is.
            if (!atEnd) {
              out.text += next;
              ++i;
            }
          } else {
            name += c;
          }
        } else if (name.empty() && c == '"') {
          quotedName = true;
        } else if (IsNameChar(c)) {
          name += c;
          if (atEnd || !IsNameChar(next)) {
            complete();
            // The look-ahead is copied unexamined, so ":A:B" names only A.
            if (!atEnd) {
              out.text += next;
              ++i;
            }
          }
        } else {
          ParseError("Parameter name expected");
        }
        break;
    }
    ++i;
  }
  // Text that ends inside a string, a comment or a marker is incomplete.
  if (state == State::Quoted) ParseError("EOF in string detected");
  if (state == State::Comment) ParseError("EOF in comment detected");
  if (state == State::Name)
    ParseError(quotedName ? "EOF in string detected" : "Parameter name expected");
  return out;
}

std::vector<std::string> ColumnNames(const std::vector<std::string>& aliases) {
  std::vector<std::string> names;
  for (const std::string& alias : aliases) {
    const bool generated = alias.empty();
    std::string base = generated ? "F_" : alias.substr(0, 31);
    std::string candidate = generated ? "F_1" : base;
    int counter = generated ? 2 : 1;
    auto stored = [](const std::string& n) { return text::UpperCase(text::Trim(n)); };
    while (std::find(names.begin(), names.end(), stored(candidate)) != names.end()) {
      std::string suffix = std::to_string(counter++);
      if (base.size() + suffix.size() >= 32) base.resize(31 - suffix.size());
      candidate = base + suffix;
    }
    names.push_back(stored(candidate));
  }
  return names;
}

}  // namespace ib
