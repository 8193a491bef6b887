#include "text/Cp1251.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>
#include <vector>

namespace text {
namespace {

std::string Convert(std::string_view input, const char* to, const char* from) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open failed");
  std::vector<char> out(input.size() * 4 + 16);
  char* in = const_cast<char*>(input.data());
  size_t inLeft = input.size();
  char* outPtr = out.data();
  size_t outLeft = out.size();
  while (inLeft > 0) {
    if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1)) continue;
    if (errno == E2BIG) break;  // cannot happen with the generous buffer above
    // A byte that has no counterpart is replaced, so that no text is ever lost
    // whole because of one odd character.
    ++in;
    --inLeft;
    if (outLeft > 0) {
      *outPtr++ = '?';
      --outLeft;
    }
  }
  iconv_close(cd);
  return std::string(out.data(), outPtr);
}

}  // namespace

std::string Cp1251FromUtf8(std::string_view utf8) { return Convert(utf8, "CP1251", "UTF-8"); }
std::string Utf8FromCp1251(std::string_view cp1251) { return Convert(cp1251, "UTF-8", "CP1251"); }

}  // namespace text
