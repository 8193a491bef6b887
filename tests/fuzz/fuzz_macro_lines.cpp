// Macro lines and reader-rights lines rewritten through a key map built from
// the input. Input: lines; those of the form "=PAIR OLD NEW" fill the key map
// (NEW only when it is a decimal integer, so lookups themselves never fail),
// every other line is rewritten both as a macro line and as a rights line.
// A rights line whose key part is no integer raises text::EConvertError by
// design; any other exception, a crash, a sanitizer report or a result that
// breaks the line formats below is a fault.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "text/Trim.h"
#include "transfer/KeyMap.h"
#include "transfer/Peregonner.h"

namespace {

std::string g_line;

[[noreturn]] void Fail(const char* what, const std::string& result = std::string()) {
  std::fprintf(stderr, "invariant broken: %s\nline (%zu bytes): ", what, g_line.size());
  for (unsigned char c : g_line) std::fprintf(stderr, "\\x%02X", c);
  std::fprintf(stderr, "\nresult: %s\n", result.c_str());
  std::abort();
}

void Expect(bool ok, const char* what, const std::string& result = std::string()) {
  if (!ok) Fail(what, result);
}

// Decimal integer text: optional sign, at least one digit, nothing else, and
// within 32 bits.
std::optional<int> Integer(const std::string& s) {
  size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  if (i == s.size()) return std::nullopt;
  long long v = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return std::nullopt;
    v = v * 10 + (s[i] - '0');
    if (v > 2147483648LL) return std::nullopt;
  }
  if (negative) v = -v;
  if (v > 2147483647LL) return std::nullopt;
  return static_cast<int>(v);
}

// The key map as the harness knows it: per pair, the first new key of each
// old-key text.
using Model = std::map<int, std::map<std::string, int>>;

int Lookup(const Model& model, int pair, int oldKey) {
  const auto p = model.find(pair);
  if (p == model.end()) return -1;
  const auto k = p->second.find(std::to_string(oldKey));
  return k == p->second.end() ? -1 : k->second;
}

std::vector<size_t> Positions(const std::string& line, char separator) {
  std::vector<size_t> at;
  for (size_t i = 0; i < line.size(); ++i)
    if (line[i] == separator) at.push_back(i);
  return at;
}

std::string FieldOf(const std::string& line, const std::vector<size_t>& seps, size_t number) {
  const size_t begin = number == 0 ? 0 : seps[number - 1] + 1;
  return line.substr(begin, seps[number] - begin);
}

void CheckNumeric(const std::string& line, const std::string& out, const Model& model) {
  const std::vector<size_t> seps = Positions(line, ';');
  if (seps.size() < 4) {
    Expect(out == line, "numeric line with fewer than four ; changed", out);
    return;
  }
  const std::optional<int> type = Integer(FieldOf(line, seps, 2));
  const std::optional<int> key = Integer(FieldOf(line, seps, 3));
  if (!type || !key) {
    Expect(out == line, "numeric line with a field that is no integer changed", out);
    return;
  }
  int expectedKey = *key;
  switch (*type & 0xFF) {
    case 6:
      expectedKey = Lookup(model, keymap::kReaders, *key);
      break;
    case 7:
      expectedKey = Lookup(model, keymap::kOutputs, *key);
      break;
    case 8:
      expectedKey = Lookup(model, keymap::kInputs, *key);
      break;
    default:
      break;
  }
  const std::string expected =
      line.substr(0, seps[2] + 1) + std::to_string(expectedKey) + line.substr(seps[3]);
  Expect(out == expected, "numeric line rewritten wrongly", out);
}

struct Word {
  const char* word;
  int type;
  int pair;
};
// The command words in the order they are looked for, with what they name.
const Word kWords[] = {
    {"TakeInAT", 8, keymap::kInputs},      {"PutInAT", 8, keymap::kInputs},
    {"ResetInAT", 8, keymap::kInputs},     {"ActUUCTime", 7, keymap::kOutputs},
    {"ResetUU", 7, keymap::kOutputs},      {"ActUUReset", 7, keymap::kOutputs},
    {"EnableAcWish", 6, keymap::kReaders}, {"DisAcWish", 6, keymap::kReaders},
    {"SetAcMode", 6, keymap::kReaders},    {"SetPrmsAcMode", 6, keymap::kReaders},
    {"DisAcQuery", 6, keymap::kReaders},   {"EnableAcQuery", 6, keymap::kReaders},
    {"ResetAlrm", 6, keymap::kReaders},
};

void CheckNamed(const std::string& line, const std::string& out, const Model& model) {
  const std::vector<size_t> seps = Positions(line, ':');
  if (seps.size() < 6) {
    Expect(out == line, "named line with fewer than six : changed", out);
    return;
  }
  const std::optional<int> code = Integer(FieldOf(line, seps, 0));
  const std::optional<int> key = Integer(FieldOf(line, seps, 1));
  const std::optional<int> parameter = Integer(FieldOf(line, seps, 2));
  if (!code || !key || !parameter) {
    Expect(out == line, "named line with a number field that is no integer changed", out);
    return;
  }
  // The result: code;0;type;key;0;parameter;tail
  const std::vector<size_t> outSeps = Positions(out, ';');
  Expect(outSeps.size() >= 6 && outSeps.size() <= 7, "named line result has a wrong shape", out);
  const std::optional<int> outCode = Integer(FieldOf(out, outSeps, 0));
  const std::string outType = FieldOf(out, outSeps, 2);
  const std::optional<int> outKey = Integer(FieldOf(out, outSeps, 3));
  const std::optional<int> outParameter = Integer(FieldOf(out, outSeps, 5));
  const std::string tail = out.substr(outSeps[5] + 1);
  Expect(outCode && outKey && outParameter, "named line result has no numbers", out);
  Expect(FieldOf(out, outSeps, 1) == "0" && FieldOf(out, outSeps, 4) == "0",
         "named line result lacks its zero fields", out);
  Expect(tail.empty() || tail == "0;" || tail == "1;", "named line result has a wrong tail", out);

  const std::string word = FieldOf(line, seps, 5);
  const Word* found = nullptr;
  for (const Word& w : kWords) {
    if (word.find(w.word) != std::string::npos) {
      found = &w;
      break;
    }
  }
  if (!found) {
    Expect(outType.empty() && tail.empty(), "unknown command word got a type", out);
    Expect(*outCode == *code && *outKey == *key && *outParameter == *parameter,
           "unknown command word changed the numbers", out);
    return;
  }
  Expect(outType == std::to_string(found->type), "command word gave a wrong type", out);
  Expect(*outKey == Lookup(model, found->pair, *key), "command word key not looked up", out);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  KeyMap keyMap;
  Model model;
  std::vector<std::string> lines;
  size_t from = 0;
  while (from < input.size()) {
    size_t end = input.find('\n', from);
    if (end == std::string::npos) end = input.size();
    const std::string line = input.substr(from, end - from);
    from = end + 1;
    if (!line.empty() && line[0] == '=') {
      std::istringstream fields(line.substr(1));
      int pair = 0;
      std::string oldKey, newKey;
      if (fields >> pair >> oldKey >> newKey && pair >= 1 && pair <= KeyMap::kPairs &&
          Integer(newKey)) {
        keyMap.Pair(pair).AppendOld(oldKey);
        keyMap.Pair(pair).AppendNew(newKey);
        model[pair].emplace(oldKey, *Integer(newKey));
      }
      continue;
    }
    lines.push_back(line);
  }

  for (const std::string& line : lines) {
    g_line = line;
    std::string out;
    try {
      out = RewrittenMacroLine(line, keyMap);
    } catch (const std::exception& e) {
      Fail(e.what());
    }
    if (line.empty())
      Expect(out.empty(), "an empty line changed", out);
    else if (line.size() <= 20)
      CheckNumeric(line, out, model);
    else
      CheckNamed(line, out, model);

    const size_t bracket = line.find(']');
    const size_t keyStart = bracket == std::string::npos ? 0 : bracket + 1;
    const std::optional<int> key = Integer(line.substr(keyStart, 20));
    try {
      out = RewrittenRightsLine(line, keyMap);
    } catch (const text::EConvertError&) {
      Expect(!key, "a rights line with an integer key refused");
      continue;
    }
    Expect(key.has_value(), "a rights line without an integer key accepted", out);
    Expect(out == line.substr(0, keyStart) + std::to_string(Lookup(model, keymap::kReaders, *key)),
           "rights line rewritten wrongly", out);
  }

  // The rewriter object does the same line by line over a loaded text, and
  // loading splits at every kind of line break.
  Tperegonner macro(keyMap);
  macro.LoadFromText(input);
  const std::vector<std::string> loaded = macro.Lines;
  for (const std::string& line : loaded)
    Expect(line.find_first_of("\r\n") == std::string::npos, "a loaded line holds a line break");
  macro.RewriteMacro();
  Expect(macro.Lines.size() == loaded.size(), "rewriting changed the number of lines");
  for (size_t i = 0; i < loaded.size(); ++i) {
    g_line = loaded[i];
    Expect(macro.Lines[i] == RewrittenMacroLine(loaded[i], keyMap),
           "the object rewrote a line differently", macro.Lines[i]);
  }
  return 0;
}
