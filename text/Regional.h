#pragma once
// Dates, times and numbers as text, by the regional settings of the system.
// The window fills the settings from the system locale at start; everything
// below the window reads them from here, so that the run log, statement texts
// and values read as text all follow one set of formats.
#include <ctime>
#include <string>
#include <string_view>

namespace text {

// Days since 30 December 1899, the fraction being the time of day.
using TDateTime = double;

struct RegionalSettings {
  // Format patterns use the letters d dd M MM yy yyyy H HH h hh m mm s ss ap AP.
  std::string shortDateFormat = "dd.MM.yyyy";
  std::string longTimeFormat = "HH:mm:ss";
  char decimalSeparator = ',';
};

RegionalSettings& Regional();

struct DateTimeParts {
  int year = 1899, month = 12, day = 30;
  int hour = 0, minute = 0, second = 0, millisecond = 0;
};

TDateTime EncodeDateTime(const DateTimeParts& parts);
// The calendar fields of a C time structure (year from 1900, month from 0).
DateTimeParts PartsFromTm(const std::tm& tm);
DateTimeParts DecodeDateTime(TDateTime value);
TDateTime Now();

std::string FormatDateTimePattern(std::string_view pattern, const DateTimeParts& parts);
// Short date; then a blank and the long time unless the time is midnight exactly.
std::string DateTimeToStr(TDateTime value);
std::string TimeToStr(TDateTime value);
// Reads a date, optionally followed by a time, in the short date and long time
// formats' order of fields; false when the text is not a valid date.
bool TryStrToDateTime(std::string_view s, TDateTime& value);

// Shortest text of up to 15 significant digits with the regional decimal separator.
std::string FloatToStr(double value);
// A scaled integer as a decimal number with at most four decimals, no trailing zeros.
std::string ScaledToStr(long long value, int scale);

}  // namespace text
