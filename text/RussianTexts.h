#pragma once
// Every Russian text of the program, in one place. The source code holds them
// as UTF-8; each function returns the windows-1251 bytes the program works with.
#include <string>

namespace ru {

#define DRAVIK_RU_TEXT(name) const std::string& name();
#include "text/RussianTextList.inc"
#undef DRAVIK_RU_TEXT

}  // namespace ru
