#pragma once
#include <stdexcept>
#include <string>
#include <string_view>

namespace text {

// Removes leading and trailing blanks and control characters (every byte up to
// and including the blank), as the program's trims do everywhere.
std::string Trim(std::string_view s);
std::string UpperCase(std::string_view s);  // ASCII letters only, as names are
bool SameTextAscii(std::string_view a, std::string_view b);  // case-insensitive

// A conversion of text to a number that fails; the message has the form the
// program's run-time library gives: '<text>' is not a valid integer value.
class EConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Decimal integer text (optional sign, digits, blanks around not allowed) to a
// 32-bit integer; anything else raises EConvertError.
int StrToInt(std::string_view s);
bool TryStrToInt(std::string_view s, int& value);

}  // namespace text
