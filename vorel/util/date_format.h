// Dates and times built from their parts and written with a format of
// date-time letters: y/yy/yyyy the year, m/mm the month (mmm, mmmm its
// name), d/dd the day (ddd, dddd the weekday's name), h/hh the hour, n/nn
// (or m/mm right after an hour) the minute, s/ss the second, z/zzz the
// millisecond, am/pm and a/p a twelve-hour clock, "/" the date separator
// and ":" the time separator; text in quotes is copied as it is.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vorel {

struct TDateParts {
  int32_t year = 1899, month = 12, day = 30;
  int32_t hour = 0, minute = 0, second = 0, millisecond = 0;
};

// Raises KivError("Invalid argument to date encode") for a date that does
// not exist (month 13, 30 February, year 0 or beyond 9999) and
// "Invalid argument to time encode" for a time beyond 23:59:59.999.
void CheckDateParts(const TDateParts& parts);
std::string FormatDateParts(const TDateParts& parts, std::string_view format);

}  // namespace vorel
