#include "platform/scriptcontrol/vbscript/vb_date_literal.h"

#include <cstdint>

#include "platform/util/text.h"

namespace scriptcontrol::vbscript {

namespace {

// A cursor over the literal's text; every reader leaves it unchanged when
// it finds nothing.
struct Cursor {
  std::string_view text;
  size_t at = 0;

  bool AtEnd() const { return at >= text.size(); }
  char Peek() const { return AtEnd() ? '\0' : text[at]; }
  void SkipBlanks() {
    while (!AtEnd() && (text[at] == ' ' || text[at] == '\t')) ++at;
  }
  bool Accept(char c) {
    if (Peek() != c) return false;
    ++at;
    return true;
  }
  // Up to 4 digits: no part of a date or time needs more, and a cap keeps
  // the value far from overflowing.
  std::optional<int32_t> Digits(int* count = nullptr) {
    size_t start = at;
    int32_t value = 0;
    while (!AtEnd() && text[at] >= '0' && text[at] <= '9' && at - start < 4) value = value * 10 + (text[at++] - '0');
    if (at == start) return std::nullopt;
    if (!AtEnd() && text[at] >= '0' && text[at] <= '9') {
      at = start;
      return std::nullopt;
    }
    if (count) *count = static_cast<int>(at - start);
    return value;
  }
};

bool IsLeapYear(int32_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int32_t DaysInMonth(int32_t y, int32_t m) {
  static constexpr int32_t kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeapYear(y) ? 29 : kDays[m - 1];
}

// Days from 1970-01-01 to a civil date (proleptic Gregorian calendar).
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

// 1899-12-30 is 25569 days before 1970-01-01.
constexpr int64_t kEpochOffset = 25569;

struct Day {
  int32_t year, month, day;
};

// M/D/Y, M-D-Y, Y-M-D or Y/M/D; two-digit years read as 1930-2029.
std::optional<Day> ReadDay(Cursor& c) {
  const size_t start = c.at;
  int firstLen = 0;
  auto first = c.Digits(&firstLen);
  if (!first) return std::nullopt;
  const char sep = c.Peek();
  if (sep != '/' && sep != '-') {
    c.at = start;
    return std::nullopt;
  }
  ++c.at;
  auto second = c.Digits();
  if (!second || !c.Accept(sep)) {
    c.at = start;
    return std::nullopt;
  }
  int thirdLen = 0;
  auto third = c.Digits(&thirdLen);
  if (!third) {
    c.at = start;
    return std::nullopt;
  }
  Day day{};
  if (firstLen >= 3) {
    day = {*first, *second, *third};
  } else {
    int32_t year = *third;
    if (thirdLen <= 2) year += year < 30 ? 2000 : 1900;
    day = {year, *first, *second};
  }
  if (day.year < 100 || day.month < 1 || day.month > 12 || day.day < 1 ||
      day.day > DaysInMonth(day.year, day.month))
    return std::nullopt;
  return day;
}

// H:MM[:SS] [AM|PM], as the fraction of a day.
std::optional<double> ReadTime(Cursor& c) {
  const size_t start = c.at;
  auto hour = c.Digits();
  if (!hour || !c.Accept(':')) {
    c.at = start;
    return std::nullopt;
  }
  auto minute = c.Digits();
  if (!minute) return std::nullopt;
  int32_t second = 0;
  if (c.Accept(':')) {
    auto s = c.Digits();
    if (!s) return std::nullopt;
    second = *s;
  }
  c.SkipBlanks();
  int32_t h = *hour;
  const std::string_view rest = c.text.substr(c.at);
  if (kiv::StartsWithIgnoreCase(rest, "AM") || kiv::StartsWithIgnoreCase(rest, "PM")) {
    if (h < 1 || h > 12) return std::nullopt;
    const bool pm = rest[0] == 'P' || rest[0] == 'p';
    h = h % 12 + (pm ? 12 : 0);
    c.at += 2;
  }
  if (h > 23 || *minute > 59 || second > 59) return std::nullopt;
  return (h * 3600 + *minute * 60 + second) / 86400.0;
}

}  // namespace

std::optional<automation::Date> ReadDateLiteral(std::string_view text) {
  Cursor c{text};
  c.SkipBlanks();
  auto day = ReadDay(c);
  c.SkipBlanks();
  std::optional<double> time = ReadTime(c);
  c.SkipBlanks();
  if (!c.AtEnd() || (!day && !time)) return std::nullopt;
  const double days =
      day ? static_cast<double>(DaysFromCivil(day->year, day->month, day->day) + kEpochOffset) : 0.0;
  const double fraction = time.value_or(0.0);
  // Before the epoch the time still counts away from zero: 1899-12-29
  // 06:00 is -1.25.
  return automation::Date{days < 0 ? days - fraction : days + fraction};
}

}  // namespace scriptcontrol::vbscript
