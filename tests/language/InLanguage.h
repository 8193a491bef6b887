#pragma once
// Runs a test's words in one language: the locale set and the command's
// language chosen from it, as the command chooses at its start.
#include <cstdlib>

#include "console/Language.h"

namespace languagetest {

inline void Speak(const char* locale) {
  setenv("LC_ALL", locale, 1);
  lang::Choose();
}

struct Russian {
  Russian() { Speak("ru_RU.UTF-8"); }
  ~Russian() { Speak("C.UTF-8"); }
};

}  // namespace languagetest
