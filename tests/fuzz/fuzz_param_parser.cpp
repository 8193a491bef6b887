// Named-parameter preprocessing and result-column naming on arbitrary text.
// A parse error is an expected outcome; a crash, a sanitizer report, an error
// of another kind or a result that breaks the rules below is a fault.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "db/IB.h"
#include "db/ParamParser.h"

namespace {

[[noreturn]] void Fail(const char* what, const std::string& input) {
  std::fprintf(stderr, "invariant broken: %s\ninput (%zu bytes): ", what, input.size());
  for (unsigned char c : input) std::fprintf(stderr, "\\x%02X", c);
  std::fprintf(stderr, "\n");
  std::abort();
}

bool IsNameChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '$';
}

bool IsMarker(char c) {
  return c == ':' || c == '?';
}

const std::string kParseErrorPrefix = "SQL Parse Error:\r\n\r\n";

// What a text without quotes and comments must give: every marker becomes "?",
// the longest run of name characters after it is the name, and the character
// after the name is copied without being looked at (":A:B" names only A).
// False when the text must be refused for a marker without a name.
bool ExpectedWithoutQuotes(const std::string& sql, ib::ProcessedSql& out) {
  size_t i = 0;
  while (i < sql.size()) {
    if (!IsMarker(sql[i])) {
      out.text += sql[i++];
      continue;
    }
    out.text += '?';
    size_t end = i + 1;
    while (end < sql.size() && IsNameChar(sql[end])) ++end;
    if (end == i + 1) return false;
    out.names.push_back(sql.substr(i + 1, end - i - 1));
    i = end;
    if (i < sql.size()) out.text += sql[i++];
  }
  return true;
}

void CheckPreprocess(const std::string& sql) {
  const bool anyMarker = sql.find_first_of(":?") != std::string::npos;
  const bool plain =
      sql.find_first_of("'\"") == std::string::npos && sql.find("/*") == std::string::npos;
  ib::ProcessedSql expected;
  const bool expectedOk = plain && ExpectedWithoutQuotes(sql, expected);

  ib::ProcessedSql out;
  try {
    out = ib::PreprocessParams(sql);
  } catch (const EIBClientError& e) {
    if (e.SQLCode() != ibxeSQLParseError || e.IBErrorCode() != 0)
      Fail("parse error with another number", sql);
    const std::string message = e.Message();
    const bool known = message == kParseErrorPrefix + "EOF in comment detected" ||
                       message == kParseErrorPrefix + "EOF in string detected" ||
                       message == kParseErrorPrefix + "Parameter name expected";
    if (!known) Fail("parse error with an unknown message", sql);
    // Without markers only an open string or comment can be refused.
    if (!anyMarker && message == kParseErrorPrefix + "Parameter name expected")
      Fail("missing name reported for a text without markers", sql);
    // Without quotes and comments nothing can be left open.
    if (plain && message != kParseErrorPrefix + "Parameter name expected")
      Fail("open string or comment reported for a text without either", sql);
    if (expectedOk) Fail("plain text with named markers refused", sql);
    return;
  }

  if (plain) {
    if (!expectedOk) Fail("marker without a name accepted", sql);
    if (out.text != expected.text) Fail("text differs from the plain-text model", sql);
    if (out.names != expected.names) Fail("names differ from the plain-text model", sql);
  }
  if (!anyMarker && (out.text != sql || !out.names.empty()))
    Fail("text without markers changed", sql);

  // Each marker turns into "?" and its name (with the quotes of a quoted name)
  // disappears; nothing else is added, dropped or reordered.
  size_t nameBytes = 0;
  size_t quotedAtLeast = 0;
  for (const std::string& name : out.names) {
    nameBytes += name.size();
    if (name.find('"') != std::string::npos) Fail("name holds a double quote", sql);
    bool simple = !name.empty();
    for (char c : name) simple = simple && IsNameChar(c);
    if (!simple) ++quotedAtLeast;
    const bool found = simple ? sql.find(":" + name) != std::string::npos ||
                                    sql.find("?" + name) != std::string::npos ||
                                    sql.find(":\"" + name + "\"") != std::string::npos ||
                                    sql.find("?\"" + name + "\"") != std::string::npos
                              : sql.find(":\"" + name + "\"") != std::string::npos ||
                                    sql.find("?\"" + name + "\"") != std::string::npos;
    if (!found) Fail("name not found after a marker in the text", sql);
  }
  if (out.text.size() + nameBytes > sql.size()) Fail("text grew", sql);
  const size_t removed = sql.size() - out.text.size() - nameBytes;
  if (removed % 2 != 0 || removed / 2 < quotedAtLeast || removed / 2 > out.names.size())
    Fail("removed bytes do not match the names", sql);
  size_t placeholders = 0;
  for (char c : out.text) placeholders += c == '?';
  if (placeholders < out.names.size()) Fail("fewer placeholders than names", sql);
  // The processed text is the input with bytes removed and markers turned into "?".
  size_t at = 0;
  for (char c : out.text) {
    while (at < sql.size() && !(sql[at] == c || (c == '?' && IsMarker(sql[at])))) ++at;
    if (at == sql.size()) Fail("processed text is not drawn from the input", sql);
    ++at;
  }
}

std::string Stored(const std::string& s) {
  size_t begin = 0, end = s.size();
  while (begin < end && static_cast<unsigned char>(s[begin]) <= ' ') ++begin;
  while (end > begin && static_cast<unsigned char>(s[end - 1]) <= ' ') --end;
  std::string r = s.substr(begin, end - begin);
  for (char& c : r)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return r;
}

// A statement has a bounded number of columns; very long lists would only
// measure the quadratic search for a free counter.
constexpr size_t kMostColumns = 64;

void CheckColumnNames(const std::string& input) {
  std::vector<std::string> aliases;
  size_t from = 0;
  while (from <= input.size() && aliases.size() < kMostColumns) {
    size_t end = input.find('\n', from);
    if (end == std::string::npos) end = input.size();
    aliases.push_back(input.substr(from, end - from));
    from = end + 1;
  }
  const std::vector<std::string> names = ib::ColumnNames(aliases);
  if (names.size() != aliases.size()) Fail("one name per column expected", input);
  std::set<std::string> seen;
  for (size_t i = 0; i < names.size(); ++i) {
    const std::string& name = names[i];
    if (name.size() > 31) Fail("column name longer than 31 characters", input);
    if (Stored(name) != name) Fail("column name not trimmed and upper-cased", input);
    if (!seen.insert(name).second) Fail("two columns with one name", input);
    const std::string own = aliases[i].empty() ? "F_1" : Stored(aliases[i].substr(0, 31));
    bool taken = false;
    for (size_t j = 0; j < i; ++j) taken = taken || names[j] == own;
    if (!taken && name != own) Fail("a free name was not used as it is", input);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  CheckPreprocess(input);
  CheckColumnNames(input);
  return 0;
}
