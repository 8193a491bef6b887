#pragma once
// The command speaks the language of the user's locale: Russian under a
// Russian one, English otherwise. Its texts are English in the source and go
// through Qt's translators; numbers and days are written as the language
// writes them, with QLocale.
#include <QCoreApplication>
#include <QString>
#include <initializer_list>
#include <ostream>
#include <string>

#include "text/Regional.h"

namespace lang {

// Chooses the language from the locale (LC_ALL, then LC_MESSAGES, then LANG;
// "C" and "POSIX" are English), installs its translators and makes its number
// formats the default. Call once the application exists, before any text is
// made; calling it again follows a changed locale.
void Choose();
bool Russian();

// `pattern` (a translated text, with %1..%9) with each %N replaced by args[N-1]
// as it stands: a file name keeps its bytes. UTF-8.
std::string Fill(const QString& pattern, std::initializer_list<std::string> args = {});

// The number tr() chooses a plural form by, for a count the text shows as %N
// through Count: counts beyond int keep the last three digits, which decide
// the form in both languages.
int Plural(long long count);

// Numbers and days in the chosen language: 12902400 or 12 902 400, 12.3 or 12,3.
std::string Count(long long value);
std::string Decimal(double value, int places);
std::string Day(text::TDateTime value);

}  // namespace lang

// A translated text on an output stream, as UTF-8.
std::ostream& operator<<(std::ostream& out, const QString& text);
