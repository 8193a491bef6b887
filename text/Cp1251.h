#pragma once
// Text inside the program is windows-1251 bytes, as in the databases and the
// control files; these two conversions are used only at the window's edge and
// to turn the UTF-8 literals of the source code into program text.
#include <string>
#include <string_view>

namespace text {

std::string Cp1251FromUtf8(std::string_view utf8);
std::string Utf8FromCp1251(std::string_view cp1251);

}  // namespace text
