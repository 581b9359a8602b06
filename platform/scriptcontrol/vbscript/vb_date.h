// The calendar behind VBScript's dates. A Date is days since 1899-12-30 in
// local time; the whole part counts days and the fraction is the time of
// day. Before 1899-12-30 the whole part still counts days back while the
// fraction counts the time forward from that day's midnight, so -1.25 is
// 1899-12-29 06:00 (as VBScript reads them). Dates run from 100-01-01 to
// 9999-12-31 and are split to the nearest second.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/automation/variant.h"

namespace scriptcontrol::vbscript {

inline constexpr int32_t kMinVbYear = 100;
inline constexpr int32_t kMaxVbYear = 9999;

// A date taken apart; weekday is 1 (Sunday) to 7 (Saturday).
struct VbDateParts {
  int32_t year = 1899, month = 12, day = 30;
  int32_t hour = 0, minute = 0, second = 0;
  int32_t weekday = 7;
};

// Division rounding toward negative infinity.
int64_t FloorDiv(int64_t a, int64_t b);

// Day numbers (days since 1899-12-30) of the proleptic Gregorian calendar.
// Month and day may lie outside their ranges and carry into the next
// unit, as DateSerial does (month 13 is January of the next year, day 0
// the last day of the month before).
int64_t DayNumber(int64_t year, int64_t month, int64_t day);
void CivilFromDayNumber(int64_t dayNumber, int32_t& year, int32_t& month, int32_t& day);
int32_t DaysInMonth(int32_t year, int32_t month);
// 1 (Sunday) to 7.
int32_t WeekdayOfDayNumber(int64_t dayNumber);

// The calendar day and the second of that day; 6 "Overflow" for a value
// that is no date at all (not finite, or trillions of days away).
struct DaySecond {
  int64_t day = 0;
  int32_t second = 0;  // 0 .. 86399
};
DaySecond SplitDate(automation::Date date);
automation::Date JoinDate(int64_t dayNumber, double secondOfDay);
// Seconds on one line through every date (day * 86400 + second), for
// differences that must not care about the sign rule above.
int64_t LinearSeconds(automation::Date date);
automation::Date DateFromLinearSeconds(int64_t seconds);

VbDateParts PartsOf(automation::Date date);
// Whether the date lies between 100-01-01 and 9999-12-31 23:59:59.
bool InVbDateRange(automation::Date date);
// Two-digit years as VBScript reads them: 0..29 are 2000..2029, 30..99
// are 1930..1999.
int32_t WindowYear(int32_t year);

// The local time now, to the second.
automation::Date LocalNow();
// Seconds since local midnight, with hundredths.
double SecondsSinceMidnight();

// United States forms: "12/8/2026", "3:04:05 PM", "15:04",
// "Tuesday, December 8, 2026".
std::string FormatShortDate(automation::Date date);
std::string FormatLongTime(automation::Date date);
std::string FormatShortTime(automation::Date date);
std::string FormatLongDate(automation::Date date);
// CStr's form: date and time, leaving out a midnight time and a zero date.
std::string FormatGeneralDate(automation::Date date);

std::string_view MonthNameOf(int32_t month, bool abbreviate);  // 1..12
std::string_view WeekdayNameOf(int32_t weekday, bool abbreviate);  // 1 (Sunday)..7

// The date and time forms CDate reads; the current year fills a date
// without one. Nothing when the text is no date.
std::optional<automation::Date> ParseDateText(std::string_view text);

}  // namespace scriptcontrol::vbscript
