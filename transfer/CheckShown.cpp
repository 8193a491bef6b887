#include "transfer/CheckShown.h"

#include <charconv>

namespace {

bool Binary(const std::string& bytes) {
  for (unsigned char c : bytes)
    if (c < 0x20 && c != '\r' && c != '\n' && c != '\t') return true;
  return false;
}

bool Number(const std::string& text) {
  double number = 0;
  const char* end = text.data() + text.size();
  auto [stop, error] = std::from_chars(text.data(), end, number);
  return !text.empty() && error == std::errc() && stop == end;
}

}  // namespace

ShownValue ShowValue(const check::Value& value, size_t maxCharacters) {
  ShownValue shown;
  if (!value.known) return shown;
  if (value.null) {
    shown.kind = ShownValue::Kind::Null;
  } else if (Binary(value.text)) {
    shown.kind = ShownValue::Kind::Bytes;
    shown.bytes = value.text.size();
  } else if (Number(value.text)) {
    shown.kind = ShownValue::Kind::Number;
    shown.text = value.text;
  } else {
    shown.kind = ShownValue::Kind::Text;
    size_t characters = 0;
    for (char c : value.text) {
      if (c == '\r') continue;
      if (characters == maxCharacters) {
        shown.cut = true;
        break;
      }
      shown.text += c == '\n' ? std::string("\\n") : std::string(1, c);
      ++characters;
    }
  }
  return shown;
}

std::string DifferenceKey(const CheckDifference& difference) {
  std::string key = difference.sourceKey;
  if (!difference.destKey.empty() && difference.destKey != difference.sourceKey) {
    if (!key.empty()) key += ' ';
    key += "-> " + difference.destKey;
  }
  return key;
}
