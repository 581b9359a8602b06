#include "vorel/util/date_format.h"

#include <cctype>
#include <cstdio>

#include "vorel/util/errors.h"

namespace vorel {

namespace {

constexpr const char* kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};
constexpr const char* kDays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

bool IsLeap(int32_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int32_t DaysIn(int32_t year, int32_t month) {
  static constexpr int32_t days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeap(year) ? 29 : days[month - 1];
}

// 0 for Sunday (Sakamoto's method).
int32_t WeekDay(int32_t year, int32_t month, int32_t day) {
  static constexpr int32_t t[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (month < 3) year -= 1;
  return (year + year / 4 - year / 100 + year / 400 + t[month - 1] + day) % 7;
}

std::string Padded(int32_t value, int width) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*d", width, value);
  return text;
}

// How many times the letter repeats from `at`, without regard to case.
size_t RunOf(std::string_view format, size_t at) {
  const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(format[at])));
  size_t n = 1;
  while (at + n < format.size() && std::tolower(static_cast<unsigned char>(format[at + n])) == c) ++n;
  return n;
}

bool StartsWithNoCase(std::string_view text, size_t at, std::string_view word) {
  if (text.size() - at < word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[at + i])) != word[i]) return false;
  return true;
}

}  // namespace

void CheckDateParts(const TDateParts& p) {
  if (p.year < 1 || p.year > 9999 || p.month < 1 || p.month > 12 || p.day < 1 || p.day > DaysIn(p.year, p.month))
    throw KivError("Invalid argument to date encode");
  if (p.hour < 0 || p.hour > 23 || p.minute < 0 || p.minute > 59 || p.second < 0 || p.second > 59 ||
      p.millisecond < 0 || p.millisecond > 999)
    throw KivError("Invalid argument to time encode");
}

std::string FormatDateParts(const TDateParts& p, std::string_view format) {
  // A twelve-hour clock applies to the whole format when it asks for one.
  bool twelve = false;
  for (size_t i = 0; i < format.size(); ++i)
    if (StartsWithNoCase(format, i, "am/pm") || StartsWithNoCase(format, i, "a/p")) twelve = true;
  const int32_t hour = twelve ? (p.hour % 12 == 0 ? 12 : p.hour % 12) : p.hour;

  std::string out;
  bool afterHour = false;
  size_t i = 0;
  while (i < format.size()) {
    const char c = format[i];
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (c == '"' || c == '\'') {
      const size_t end = format.find(c, i + 1);
      out += format.substr(i + 1, end == std::string_view::npos ? std::string_view::npos : end - i - 1);
      i = end == std::string_view::npos ? format.size() : end + 1;
      continue;
    }
    if (StartsWithNoCase(format, i, "am/pm")) {
      out += p.hour < 12 ? "am" : "pm";
      i += 5;
      continue;
    }
    if (StartsWithNoCase(format, i, "a/p")) {
      out += p.hour < 12 ? "a" : "p";
      i += 3;
      continue;
    }
    const size_t n = RunOf(format, i);
    switch (lower) {
      case 'y':
        out += n <= 2 ? Padded(p.year % 100, 2) : Padded(p.year, 4);
        break;
      case 'm':
        if (afterHour && n <= 2) out += Padded(p.minute, n == 2 ? 2 : 1);
        else if (n == 1) out += std::to_string(p.month);
        else if (n == 2) out += Padded(p.month, 2);
        else if (n == 3) out += std::string(kMonths[p.month - 1]).substr(0, 3);
        else out += kMonths[p.month - 1];
        break;
      case 'd': {
        const int32_t weekDay = WeekDay(p.year, p.month, p.day);
        if (n == 1) out += std::to_string(p.day);
        else if (n == 2) out += Padded(p.day, 2);
        else if (n == 3) out += std::string(kDays[weekDay]).substr(0, 3);
        else out += kDays[weekDay];
        break;
      }
      case 'h': out += n >= 2 ? Padded(hour, 2) : std::to_string(hour); break;
      case 'n': out += n >= 2 ? Padded(p.minute, 2) : std::to_string(p.minute); break;
      case 's': out += n >= 2 ? Padded(p.second, 2) : std::to_string(p.second); break;
      case 'z': out += n >= 3 ? Padded(p.millisecond, 3) : std::to_string(p.millisecond); break;
      default: out.append(n, c); break;
    }
    if (lower == 'h') afterHour = true;
    else if (std::isalpha(static_cast<unsigned char>(c))) afterHour = false;
    i += n;
  }
  return out;
}

}  // namespace vorel
