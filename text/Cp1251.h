#pragma once
// Text inside the program is windows-1251 bytes, as in the databases and the
// control files. These conversions are used at the window's edge, to turn the
// UTF-8 literals of the source code into program text, and for what the system
// hands over in its own encodings: file names and its error messages.
#include <string>
#include <string_view>

namespace text {

// A character windows-1251 lacks, and a byte that is not UTF-8, become one "?".
std::string Cp1251FromUtf8(std::string_view utf8);
std::string Utf8FromCp1251(std::string_view cp1251);

// Well-formed UTF-8 (plain ASCII is).
bool IsUtf8(std::string_view text);
bool IsAscii(std::string_view text);

// A file name as the file system spells it (UTF-8), for a message.
std::string Cp1251FromFileName(std::string_view name);
// A text of the C library or the engine (strerror and the like) in the encoding of
// the process's current locale.
std::string Cp1251FromLocale(std::string_view text);
// A text that may be UTF-8 from the system or already windows-1251: converted when
// it is UTF-8 with letters beyond ASCII, left as it is otherwise.
std::string Cp1251FromSystemOrSame(std::string_view text);

}  // namespace text
