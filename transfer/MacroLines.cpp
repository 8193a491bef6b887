// Macro command lines and reader-rights lines, rewritten to the keys the
// devices received in the destination.
#include <array>
#include <optional>

#include "text/Trim.h"
#include "transfer/KeyMap.h"
#include "transfer/Peregonner.h"

namespace {

// Lines up to this length are numeric ("code;number;type;key;..."), longer ones
// are named ("code:key:param:x:y:word:") as older controllers wrote them.
constexpr size_t kLongestNumericLine = 20;
constexpr size_t kRightsKeyWidth = 20;

// Object types of numeric lines; only the low byte of the field counts.
constexpr int kTypeReader = 6;
constexpr int kTypeOutput = 7;
constexpr int kTypeInput = 8;

// Positions of the first `count` separators; none when the line has fewer.
std::optional<std::vector<size_t>> Separators(const std::string& line, char separator,
                                              size_t count) {
  std::vector<size_t> positions;
  size_t from = 0;
  while (positions.size() < count) {
    const size_t at = line.find(separator, from);
    if (at == std::string::npos) return std::nullopt;
    positions.push_back(at);
    from = at + 1;
  }
  return positions;
}

std::string Field(const std::string& line, const std::vector<size_t>& seps, size_t number) {
  const size_t begin = number == 0 ? 0 : seps[number - 1] + 1;
  return line.substr(begin, seps[number] - begin);
}

int PairOfObjectType(int type) {
  switch (type & 0xFF) {
    case kTypeReader:
      return keymap::kReaders;
    case kTypeOutput:
      return keymap::kOutputs;
    case kTypeInput:
      return keymap::kInputs;
    default:
      return 0;
  }
}

std::string RewriteNumeric(const std::string& line, const KeyMap& keyMap) {
  const auto seps = Separators(line, ';', 4);
  if (!seps) return line;  // too short to hold a key: left as it is
  int type = 0;
  int key = 0;
  if (!text::TryStrToInt(Field(line, *seps, 2), type) ||
      !text::TryStrToInt(Field(line, *seps, 3), key))
    return line;
  const int pair = PairOfObjectType(type);
  if (pair != 0) key = keyMap.Pair(pair).LookupNewKey(key);
  return line.substr(0, (*seps)[2] + 1) + std::to_string(key) + line.substr((*seps)[3]);
}

struct CommandWord {
  const char* word;
  int objectType;
  int pair;
  int code;
  int parameter;  // kParameterFromLine keeps the line's own parameter
  const char* tail;
};
constexpr int kParameterFromLine = -1;

// Checked in this order; the first word the field contains decides.
constexpr std::array<CommandWord, 13> kCommandWords = {{
    {"TakeInAT", kTypeInput, keymap::kInputs, 24, 1, "0;"},
    {"PutInAT", kTypeInput, keymap::kInputs, 24, 1, "1;"},
    {"ResetInAT", kTypeInput, keymap::kInputs, 26, kParameterFromLine, ""},
    {"ActUUCTime", kTypeOutput, keymap::kOutputs, 22, 1, ""},
    {"ResetUU", kTypeOutput, keymap::kOutputs, 22, 0, ""},
    {"ActUUReset", kTypeOutput, keymap::kOutputs, 22, 2, ""},
    {"EnableAcWish", kTypeReader, keymap::kReaders, 32, 2, ""},
    {"DisAcWish", kTypeReader, keymap::kReaders, 32, 2, ""},
    {"SetAcMode", kTypeReader, keymap::kReaders, 32, kParameterFromLine, ""},
    {"SetPrmsAcMode", kTypeReader, keymap::kReaders, 32, 2, ""},
    {"DisAcQuery", kTypeReader, keymap::kReaders, 32, 2, ""},
    {"EnableAcQuery", kTypeReader, keymap::kReaders, 32, 2, ""},
    {"ResetAlrm", kTypeReader, keymap::kReaders, 27, 1, ""},
}};

std::string RewriteNamed(const std::string& line, const KeyMap& keyMap) {
  const auto seps = Separators(line, ':', 6);
  if (!seps) return line;
  int code = 0;
  int key = 0;
  int parameter = 0;
  if (!text::TryStrToInt(Field(line, *seps, 0), code) ||
      !text::TryStrToInt(Field(line, *seps, 1), key) ||
      !text::TryStrToInt(Field(line, *seps, 2), parameter))
    return line;
  const std::string word = Field(line, *seps, 5);
  std::string objectType;
  std::string tail;
  for (const CommandWord& command : kCommandWords) {
    if (word.find(command.word) == std::string::npos) continue;
    objectType = std::to_string(command.objectType);
    key = keyMap.Pair(command.pair).LookupNewKey(key);
    code = command.code;
    if (command.parameter != kParameterFromLine) parameter = command.parameter;
    tail = command.tail;
    break;
  }
  return std::to_string(code) + ";0;" + objectType + ";" + std::to_string(key) + ";0;" +
         std::to_string(parameter) + ";" + tail;
}

}  // namespace

std::string RewrittenMacroLine(const std::string& line, const KeyMap& keyMap) {
  if (line.empty()) return line;
  if (line.size() <= kLongestNumericLine) return RewriteNumeric(line, keyMap);
  return RewriteNamed(line, keyMap);
}

std::string RewrittenRightsLine(const std::string& line, const KeyMap& keyMap) {
  const size_t bracket = line.find(']');
  const size_t keyStart = bracket == std::string::npos ? 0 : bracket + 1;
  const int key = text::StrToInt(std::string_view(line).substr(keyStart, kRightsKeyWidth));
  return line.substr(0, keyStart) + std::to_string(keyMap.Pair(keymap::kReaders).LookupNewKey(key));
}
