#include "app/RegionalFromLocale.h"

#include "text/Regional.h"

std::string WithoutTimeZone(const std::string& timeFormat) {
  std::string out;
  bool quoted = false;
  bool skipBlanks = false;  // a zone at the start takes the blanks after it
  for (char c : timeFormat) {
    if (c == '\'') quoted = !quoted;
    if (!quoted && c == 't') {
      while (!out.empty() && out.back() == ' ') out.pop_back();
      skipBlanks = out.empty();
      continue;
    }
    if (skipBlanks && c == ' ') continue;
    skipBlanks = false;
    out += c;
  }
  return out;
}

void FillRegional(const QLocale& locale) {
  text::RegionalSettings& settings = text::Regional();
  settings.shortDateFormat = locale.dateFormat(QLocale::ShortFormat).toStdString();
  settings.longTimeFormat = WithoutTimeZone(locale.timeFormat(QLocale::LongFormat).toStdString());
  QString point = locale.decimalPoint();
  if (point.size() == 1 && point.at(0).unicode() < 0x80)
    settings.decimalSeparator = point.at(0).toLatin1();
}
