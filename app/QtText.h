#pragma once
// The window's edge: program texts are windows-1251 bytes, Qt wants QString.
#include <QString>
#include <string>

#include "text/Cp1251.h"

inline QString ToQt(const std::string& cp1251) {
  return QString::fromStdString(text::Utf8FromCp1251(cp1251));
}

inline std::string FromQt(const QString& s) {
  return text::Cp1251FromUtf8(s.toStdString());
}
