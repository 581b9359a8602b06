// Date-and-time values as the object model keeps them: days since
// 1899-12-30 as a double, in local time; the whole part is the day, the
// fraction the time of day.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace vorel {

double NowAsDateTime();
double ToDateTime(std::chrono::system_clock::time_point t);

// A date-and-time value taken apart, to the nearest second.
struct TDayAndTime {
  int32_t day = 0;
  int32_t hour = 0, minute = 0, second = 0;
  int32_t SecondsOfDay() const { return hour * 3600 + minute * 60 + second; }
};
TDayAndTime SplitDateTime(double value);

// Whether a text is meant as a date or a time: it holds a date separator
// ("-" or "/") or the time separator (":") after its first character.
bool LooksLikeDateOrTime(std::string_view text);

// Reads a date, a time of day, or both (date first, a blank or "T"
// between): dates as "YYYY-MM-DD" or "MM/DD/YY" (or "MM/DD/YYYY"; two-digit
// years 69 to 99 are 19xx, the others 20xx), times as "HH:MM" or
// "HH:MM:SS" with an optional fraction of a second. A time alone is on
// day 0. Raises KivError("'TEXT' is not a valid date and time") for
// anything else.
double ReadDateTime(std::string_view text);
std::string NotADateTime(std::string_view text);

}  // namespace vorel
