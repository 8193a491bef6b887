#include "text/Regional.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <vector>

namespace text {
namespace {

// Days from 1 January of year 1 to 30 December 1899 in the proleptic Gregorian calendar.
constexpr long kDelphiEpochOffset = 693594;

bool IsLeap(int y) {
  return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}
int DaysInMonth(int y, int m) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

long DaysFromYearOne(int y, int m, int d) {
  long days = 0;
  long yy = y - 1;
  days = yy * 365 + yy / 4 - yy / 100 + yy / 400;
  for (int i = 1; i < m; ++i) days += DaysInMonth(y, i);
  return days + d;
}

std::string Pad(int v, int width) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%0*d", width, v);
  return buf;
}

}  // namespace

RegionalSettings& Regional() {
  static RegionalSettings settings;
  return settings;
}

TDateTime EncodeDateTime(const DateTimeParts& p) {
  double days = static_cast<double>(DaysFromYearOne(p.year, p.month, p.day) - kDelphiEpochOffset);
  double time =
      (p.hour * 3600000.0 + p.minute * 60000.0 + p.second * 1000.0 + p.millisecond) / 86400000.0;
  return days >= 0 ? days + time : days - time;
}

DateTimeParts DecodeDateTime(TDateTime value) {
  DateTimeParts p;
  double whole = std::trunc(value);
  long long ms = std::llround(std::fabs(value - whole) * 86400000.0);
  if (ms >= 86400000LL) {
    ms -= 86400000LL;
    whole += value >= 0 ? 1 : -1;
  }
  long day = static_cast<long>(whole) + kDelphiEpochOffset;  // days since 31 Dec of year 0
  int y = 1;
  // Walk in 400-year cycles, then years; dates of this program are modern.
  long cycles = (day - 1) / 146097;
  y += static_cast<int>(cycles * 400);
  day -= cycles * 146097;
  while (day > (IsLeap(y) ? 366 : 365)) {
    day -= IsLeap(y) ? 366 : 365;
    ++y;
  }
  int m = 1;
  while (day > DaysInMonth(y, m)) {
    day -= DaysInMonth(y, m);
    ++m;
  }
  p.year = y;
  p.month = m;
  p.day = static_cast<int>(day);
  p.hour = static_cast<int>(ms / 3600000);
  p.minute = static_cast<int>(ms / 60000 % 60);
  p.second = static_cast<int>(ms / 1000 % 60);
  p.millisecond = static_cast<int>(ms % 1000);
  return p;
}

DateTimeParts PartsFromTm(const std::tm& tm) {
  DateTimeParts p;
  p.year = tm.tm_year + 1900;
  p.month = tm.tm_mon + 1;
  p.day = tm.tm_mday;
  p.hour = tm.tm_hour;
  p.minute = tm.tm_min;
  p.second = tm.tm_sec;
  return p;
}

TDateTime Now() {
  std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  return EncodeDateTime(PartsFromTm(local));
}

std::string FormatDateTimePattern(std::string_view pattern, const DateTimeParts& p) {
  std::string out;
  size_t i = 0;
  while (i < pattern.size()) {
    char c = pattern[i];
    size_t run = 1;
    while (i + run < pattern.size() && pattern[i + run] == c) ++run;
    bool quoted = c == '\'';
    if (quoted) {
      size_t close = pattern.find('\'', i + 1);
      if (close == std::string_view::npos) close = pattern.size();
      out.append(pattern.substr(i + 1, close - i - 1));
      i = close + 1;
      continue;
    }
    int hour12 = p.hour % 12 == 0 ? 12 : p.hour % 12;
    bool twelve = pattern.find("ap") != std::string_view::npos ||
                  pattern.find("AP") != std::string_view::npos;
    switch (c) {
      case 'd':
        out += run >= 2 ? Pad(p.day, 2) : std::to_string(p.day);
        break;
      case 'M':
        out += run >= 2 ? Pad(p.month, 2) : std::to_string(p.month);
        break;
      case 'y':
        out += run >= 4 ? Pad(p.year, 4) : Pad(p.year % 100, 2);
        break;
      case 'H':
      case 'h': {
        int h = (c == 'h' && twelve) ? hour12 : p.hour;
        out += run >= 2 ? Pad(h, 2) : std::to_string(h);
        break;
      }
      case 'm':
        out += run >= 2 ? Pad(p.minute, 2) : std::to_string(p.minute);
        break;
      case 's':
        out += run >= 2 ? Pad(p.second, 2) : std::to_string(p.second);
        break;
      case 'a':
      case 'A':
        if (i + 1 < pattern.size() && (pattern[i + 1] == 'p' || pattern[i + 1] == 'P')) {
          out += p.hour < 12 ? (c == 'a' ? "am" : "AM") : (c == 'a' ? "pm" : "PM");
          run = 2;
        } else {
          out.append(run, c);
        }
        break;
      default:
        out.append(run, c);
    }
    i += run;
  }
  return out;
}

std::string DateTimeToStr(TDateTime value) {
  DateTimeParts p = DecodeDateTime(value);
  std::string s = FormatDateTimePattern(Regional().shortDateFormat, p);
  if (p.hour != 0 || p.minute != 0 || p.second != 0) {
    s += ' ';
    s += FormatDateTimePattern(Regional().longTimeFormat, p);
  }
  return s;
}

std::string TimeToStr(TDateTime value) {
  return FormatDateTimePattern(Regional().longTimeFormat, DecodeDateTime(value));
}

bool TryStrToDateTime(std::string_view s, TDateTime& value) {
  // Numbers are taken in the order the short date format names day, month and year.
  std::vector<int> numbers;
  std::vector<int> widths;
  size_t i = 0;
  while (i < s.size()) {
    if (s[i] >= '0' && s[i] <= '9') {
      int v = 0, w = 0;
      while (i < s.size() && s[i] >= '0' && s[i] <= '9' && w < 9) v = v * 10 + (s[i++] - '0'), ++w;
      numbers.push_back(v);
      widths.push_back(w);
    } else {
      ++i;
    }
  }
  if (numbers.size() < 3) return false;
  const std::string& f = Regional().shortDateFormat;
  size_t pd = f.find('d'), pm = f.find('M'), py = f.find('y');
  if (pd == std::string::npos || pm == std::string::npos || py == std::string::npos) return false;
  int order[3];
  // rank each field by position
  size_t pos[3] = {pd, pm, py};
  for (int k = 0; k < 3; ++k) {
    int rank = 0;
    for (int j = 0; j < 3; ++j)
      if (pos[j] < pos[k]) ++rank;
    order[k] = rank;
  }
  DateTimeParts p;
  p.day = numbers[order[0]];
  p.month = numbers[order[1]];
  p.year = numbers[order[2]];
  if (widths[order[2]] <= 2) p.year += p.year < 50 ? 2000 : 1900;
  if (p.month < 1 || p.month > 12 || p.year < 1 || p.year > 9999) return false;
  if (p.day < 1 || p.day > DaysInMonth(p.year, p.month)) return false;
  if (numbers.size() >= 4) p.hour = numbers[3];
  if (numbers.size() >= 5) p.minute = numbers[4];
  if (numbers.size() >= 6) p.second = numbers[5];
  if (p.hour > 23 || p.minute > 59 || p.second > 59) return false;
  value = EncodeDateTime(p);
  return true;
}

std::string FloatToStr(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15G", value);
  std::string s = buf;
  size_t e = s.find('E');
  std::string mantissa = e == std::string::npos ? s : s.substr(0, e);
  std::string exponent = e == std::string::npos ? "" : s.substr(e);
  if (mantissa.find('.') != std::string::npos) {
    while (!mantissa.empty() && mantissa.back() == '0') mantissa.pop_back();
    if (!mantissa.empty() && mantissa.back() == '.') mantissa.pop_back();
  }
  for (char& c : mantissa)
    if (c == '.') c = Regional().decimalSeparator;
  if (!exponent.empty()) {
    // E+05 -> E+5, as the usual shortest form writes exponents
    char sign = exponent[1];
    std::string digits = exponent.substr(2);
    while (digits.size() > 1 && digits.front() == '0') digits.erase(0, 1);
    exponent = std::string("E") + sign + digits;
  }
  return mantissa + exponent;
}

std::string ScaledToStr(long long value, int scale) {
  bool negative = value < 0;
  unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(value)
                                          : static_cast<unsigned long long>(value);
  unsigned long long divisor = 1;
  for (int i = 0; i < -scale; ++i) divisor *= 10;
  unsigned long long whole = magnitude / divisor;
  unsigned long long frac = magnitude % divisor;
  std::string s = std::to_string(whole);
  if (frac != 0) {
    std::string f = std::to_string(frac);
    f.insert(0, static_cast<size_t>(-scale) - f.size(), '0');
    while (!f.empty() && f.back() == '0') f.pop_back();
    s += Regional().decimalSeparator + f;
  }
  return negative ? "-" + s : s;
}

}  // namespace text
