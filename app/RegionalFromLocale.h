#pragma once
// Fills the program's regional settings (text/Regional.h) from a Qt locale.
#include <QLocale>
#include <string>

void FillRegional(const QLocale& locale);

// A Qt time format without its time zone: the unquoted "t" fields and the
// blanks that joined them to the rest are dropped.
std::string WithoutTimeZone(const std::string& timeFormat);
