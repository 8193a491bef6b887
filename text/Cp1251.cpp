#include "text/Cp1251.h"

#include <iconv.h>
#include <langinfo.h>
#include <strings.h>

#include <cerrno>
#include <stdexcept>
#include <vector>

namespace text {
namespace {

// Length of the UTF-8 sequence that starts `text`, or 0 when it is malformed.
size_t Utf8SequenceLength(std::string_view text) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  size_t length = 0;
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF)
    length = 2;
  else if (lead >= 0xE0 && lead <= 0xEF)
    length = 3;
  else if (lead >= 0xF0 && lead <= 0xF4)
    length = 4;
  else
    return 0;
  if (text.size() < length) return 0;
  for (size_t i = 1; i < length; ++i)
    if ((byte(i) & 0xC0) != 0x80) return 0;
  // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
  if (lead == 0xE0 && byte(1) < 0xA0) return 0;
  if (lead == 0xED && byte(1) > 0x9F) return 0;
  if (lead == 0xF0 && byte(1) < 0x90) return 0;
  if (lead == 0xF4 && byte(1) > 0x8F) return 0;
  return length;
}

bool IsUtf8Name(const char* codeset) {
  return strcasecmp(codeset, "UTF-8") == 0 || strcasecmp(codeset, "UTF8") == 0;
}

std::string Convert(std::string_view input, const char* to, const char* from) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open failed");
  const bool fromUtf8 = IsUtf8Name(from);
  std::vector<char> out(input.size() * 4 + 16);
  char* in = const_cast<char*>(input.data());
  size_t inLeft = input.size();
  char* outPtr = out.data();
  size_t outLeft = out.size();
  while (inLeft > 0) {
    if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1)) continue;
    if (errno == E2BIG) break;  // cannot happen with the generous buffer above
    // A character that has no counterpart is replaced, so that no text is ever
    // lost whole because of one odd character; a whole UTF-8 sequence counts as one.
    size_t skip = fromUtf8 ? Utf8SequenceLength(std::string_view(in, inLeft)) : 1;
    if (skip == 0) skip = 1;
    in += skip;
    inLeft -= skip;
    if (outLeft > 0) {
      *outPtr++ = '?';
      --outLeft;
    }
  }
  iconv_close(cd);
  return std::string(out.data(), outPtr);
}

}  // namespace

std::string Cp1251FromUtf8(std::string_view utf8) {
  return Convert(utf8, "CP1251", "UTF-8");
}
std::string Utf8FromCp1251(std::string_view cp1251) {
  return Convert(cp1251, "UTF-8", "CP1251");
}

bool IsAscii(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

bool IsUtf8(std::string_view text) {
  while (!text.empty()) {
    const size_t length = Utf8SequenceLength(text);
    if (length == 0) return false;
    text.remove_prefix(length);
  }
  return true;
}

std::string Cp1251FromFileName(std::string_view name) {
  return Cp1251FromUtf8(name);
}

std::string Cp1251FromLocale(std::string_view text) {
  if (IsAscii(text)) return std::string(text);
  const char* codeset = nl_langinfo(CODESET);
  // The C locale's ASCII cannot have made these bytes; UTF-8 is what the system writes.
  if (IsUtf8Name(codeset) || strcasecmp(codeset, "ANSI_X3.4-1968") == 0)
    return Cp1251FromUtf8(text);
  try {
    return Convert(text, "CP1251", codeset);
  } catch (const std::runtime_error&) {
    return Cp1251FromUtf8(text);
  }
}

std::string Cp1251FromSystemOrSame(std::string_view text) {
  if (IsAscii(text) || !IsUtf8(text)) return std::string(text);
  return Cp1251FromUtf8(text);
}

}  // namespace text
