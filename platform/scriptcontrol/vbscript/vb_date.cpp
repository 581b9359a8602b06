#include "platform/scriptcontrol/vbscript/vb_date.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <vector>

#include "platform/scriptcontrol/vbscript/vb_errors.h"
#include "platform/util/text.h"

namespace scriptcontrol::vbscript {

namespace {

// 1970-01-01 counted from 1899-12-30.
constexpr int64_t kUnixEpochDay = 25569;

// Days since 1970-01-01 of a valid civil date (H. Hinnant's algorithm).
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2 ? 1 : 0;
  const int64_t era = FloorDiv(y, 400);
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

constexpr std::string_view kMonthNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                            "July",    "August",   "September", "October", "November", "December"};
constexpr std::string_view kWeekdayNames[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                              "Thursday", "Friday", "Saturday"};

}  // namespace

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0); }

int64_t DayNumber(int64_t year, int64_t month, int64_t day) {
  year += FloorDiv(month - 1, 12);
  month = month - 1 - FloorDiv(month - 1, 12) * 12 + 1;
  return DaysFromCivil(year, month, 1) + kUnixEpochDay + (day - 1);
}

void CivilFromDayNumber(int64_t dayNumber, int32_t& year, int32_t& month, int32_t& day) {
  const int64_t z = dayNumber - kUnixEpochDay + 719468;
  const int64_t era = FloorDiv(z, 146097);
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int32_t>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int32_t>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int32_t>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

int32_t DaysInMonth(int32_t year, int32_t month) {
  return static_cast<int32_t>(DayNumber(year, month + 1, 1) - DayNumber(year, month, 1));
}

int32_t WeekdayOfDayNumber(int64_t dayNumber) {
  // Day 0 was a Saturday.
  return static_cast<int32_t>(((dayNumber % 7) + 7 + 6) % 7) + 1;
}

DaySecond SplitDate(automation::Date date) {
  // Far beyond the calendar's years a date has no parts to give.
  if (!(std::fabs(date.days) < 1e12)) Throw(kErrOverflow);
  double whole = std::trunc(date.days);
  double fraction = std::fabs(date.days - whole);
  int64_t seconds = std::llround(fraction * 86400.0);
  DaySecond out{static_cast<int64_t>(whole), static_cast<int32_t>(seconds)};
  if (out.second >= 86400) {
    // The time rounds up to the next midnight, which is the next day for
    // either sign of the day.
    out.second -= 86400;
    out.day += 1;
  }
  return out;
}

automation::Date JoinDate(int64_t dayNumber, double secondOfDay) {
  double time = secondOfDay / 86400.0;
  double day = static_cast<double>(dayNumber);
  return automation::Date{dayNumber < 0 ? day - time : day + time};
}

int64_t LinearSeconds(automation::Date date) {
  DaySecond ds = SplitDate(date);
  return ds.day * 86400 + ds.second;
}

automation::Date DateFromLinearSeconds(int64_t seconds) {
  int64_t day = FloorDiv(seconds, 86400);
  return JoinDate(day, static_cast<double>(seconds - day * 86400));
}

VbDateParts PartsOf(automation::Date date) {
  DaySecond ds = SplitDate(date);
  VbDateParts p;
  CivilFromDayNumber(ds.day, p.year, p.month, p.day);
  p.hour = ds.second / 3600;
  p.minute = ds.second / 60 % 60;
  p.second = ds.second % 60;
  p.weekday = WeekdayOfDayNumber(ds.day);
  return p;
}

bool InVbDateRange(automation::Date date) {
  if (!std::isfinite(date.days)) return false;
  double whole = std::trunc(date.days);
  return whole >= static_cast<double>(DayNumber(kMinVbYear, 1, 1)) &&
         whole <= static_cast<double>(DayNumber(kMaxVbYear, 12, 31));
}

int32_t WindowYear(int32_t year) {
  if (year < 0 || year > 99) return year;
  return year < 30 ? 2000 + year : 1900 + year;
}

automation::Date LocalNow() {
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  return JoinDate(DayNumber(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday),
                  tm.tm_hour * 3600.0 + tm.tm_min * 60.0 + tm.tm_sec);
}

double SecondsSinceMidnight() {
  std::timespec ts{};
  std::timespec_get(&ts, TIME_UTC);
  std::tm tm{};
  localtime_r(&ts.tv_sec, &tm);
  double seconds = tm.tm_hour * 3600.0 + tm.tm_min * 60.0 + tm.tm_sec;
  return seconds + std::floor(static_cast<double>(ts.tv_nsec) / 1e7) / 100.0;
}

std::string FormatShortDate(automation::Date date) {
  VbDateParts p = PartsOf(date);
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%d/%d/%d", p.month, p.day, p.year);
  return buffer;
}

std::string FormatLongTime(automation::Date date) {
  VbDateParts p = PartsOf(date);
  int hour12 = p.hour % 12 == 0 ? 12 : p.hour % 12;
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%d:%02d:%02d %s", hour12, p.minute, p.second, p.hour < 12 ? "AM" : "PM");
  return buffer;
}

std::string FormatShortTime(automation::Date date) {
  VbDateParts p = PartsOf(date);
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%02d:%02d", p.hour, p.minute);
  return buffer;
}

std::string FormatLongDate(automation::Date date) {
  VbDateParts p = PartsOf(date);
  return std::string(WeekdayNameOf(p.weekday, false)) + ", " + std::string(MonthNameOf(p.month, false)) + " " +
         std::to_string(p.day) + ", " + std::to_string(p.year);
}

std::string FormatGeneralDate(automation::Date date) {
  DaySecond ds = SplitDate(date);
  if (ds.day == 0) return FormatLongTime(date);
  if (ds.second == 0) return FormatShortDate(date);
  return FormatShortDate(date) + " " + FormatLongTime(date);
}

std::string_view MonthNameOf(int32_t month, bool abbreviate) {
  if (month < 1 || month > 12) return {};
  std::string_view name = kMonthNames[month - 1];
  return abbreviate ? name.substr(0, 3) : name;
}

std::string_view WeekdayNameOf(int32_t weekday, bool abbreviate) {
  if (weekday < 1 || weekday > 7) return {};
  std::string_view name = kWeekdayNames[weekday - 1];
  return abbreviate ? name.substr(0, 3) : name;
}

namespace {

struct Token {
  enum Kind : uint8_t { Number, Word, Separator };
  Kind kind = Number;
  int64_t value = 0;
  int digits = 0;
  std::string word;  // lower case
  char separator = 0;
};

bool Tokenize(std::string_view text, std::vector<Token>& tokens) {
  size_t i = 0;
  while (i < text.size()) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == ' ' || c == '\t') {
      ++i;
    } else if (c >= '0' && c <= '9') {
      Token t;
      while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        if (++t.digits > 9) return false;
        t.value = t.value * 10 + (text[i] - '0');
        ++i;
      }
      tokens.push_back(t);
    } else if ((c | 0x20) >= 'a' && (c | 0x20) <= 'z') {
      Token t;
      t.kind = Token::Word;
      while (i < text.size() && ((text[i] | 0x20) >= 'a' && (text[i] | 0x20) <= 'z'))
        t.word += static_cast<char>(text[i++] | 0x20);
      tokens.push_back(t);
    } else if (c == '/' || c == '-' || c == '.' || c == ',' || c == ':') {
      Token t;
      t.kind = Token::Separator;
      t.separator = static_cast<char>(c);
      tokens.push_back(t);
      ++i;
    } else {
      return false;
    }
  }
  return true;
}

// 1..12 for a month's name or its first three letters ("sept" too).
int MonthOfWord(const std::string& word) {
  for (int m = 1; m <= 12; ++m) {
    std::string name = kiv::ToLowerAscii(kMonthNames[m - 1]);
    if (word == name || word == name.substr(0, 3) || (m == 9 && word == "sept")) return m;
  }
  return 0;
}

bool IsWeekdayWord(const std::string& word) {
  for (std::string_view name : kWeekdayNames) {
    std::string lower = kiv::ToLowerAscii(name);
    if (word == lower || word == lower.substr(0, 3)) return true;
  }
  return false;
}

// 1 for AM, 2 for PM, 0 for neither.
int MeridiemOfWord(const std::string& word) {
  if (word == "am" || word == "a") return 1;
  if (word == "pm" || word == "p") return 2;
  return 0;
}

bool IsSeparator(const std::vector<Token>& tokens, size_t i, char c) {
  return i < tokens.size() && tokens[i].kind == Token::Separator && tokens[i].separator == c;
}

}  // namespace

std::optional<automation::Date> ParseDateText(std::string_view text) {
  std::vector<Token> tokens;
  if (!Tokenize(text, tokens) || tokens.empty()) return std::nullopt;

  std::vector<Token> dateNumbers;
  int month = 0;
  bool haveTime = false;
  int64_t hour = 0, minute = 0, second = 0;
  double fraction = 0;
  for (size_t i = 0; i < tokens.size(); ++i) {
    const Token& t = tokens[i];
    if (t.kind == Token::Number) {
      bool colon = IsSeparator(tokens, i + 1, ':');
      bool meridiemNext = i + 1 < tokens.size() && tokens[i + 1].kind == Token::Word &&
                          MeridiemOfWord(tokens[i + 1].word) != 0;
      if (!colon && !meridiemNext) {
        dateNumbers.push_back(t);
        continue;
      }
      if (haveTime) return std::nullopt;
      haveTime = true;
      hour = t.value;
      if (colon) {
        if (i + 2 >= tokens.size() || tokens[i + 2].kind != Token::Number) return std::nullopt;
        minute = tokens[i + 2].value;
        i += 2;
        if (IsSeparator(tokens, i + 1, ':')) {
          if (i + 2 >= tokens.size() || tokens[i + 2].kind != Token::Number) return std::nullopt;
          second = tokens[i + 2].value;
          i += 2;
          if (IsSeparator(tokens, i + 1, '.') && i + 2 < tokens.size() && tokens[i + 2].kind == Token::Number) {
            fraction = static_cast<double>(tokens[i + 2].value) / std::pow(10.0, tokens[i + 2].digits);
            i += 2;
          }
        }
      }
      int meridiem = 0;
      if (i + 1 < tokens.size() && tokens[i + 1].kind == Token::Word) meridiem = MeridiemOfWord(tokens[i + 1].word);
      if (meridiem) {
        ++i;
        if (hour > 12) return std::nullopt;
        if (hour == 12) hour = 0;
        if (meridiem == 2) hour += 12;
      }
      if (hour > 23 || minute > 59 || second > 59) return std::nullopt;
    } else if (t.kind == Token::Word) {
      if (int m = MonthOfWord(t.word)) {
        if (month) return std::nullopt;
        month = m;
      } else if (!IsWeekdayWord(t.word)) {
        return std::nullopt;
      }
    } else if (t.separator == ':') {
      return std::nullopt;
    }
  }

  auto isYear = [](const Token& n) { return n.digits >= 3 || n.value > 31; };
  int64_t year = 0, day = 0;
  bool yearGiven = true;
  bool haveDate = true;
  const size_t n = dateNumbers.size();
  if (month) {
    if (n == 1) {
      if (isYear(dateNumbers[0])) {
        year = dateNumbers[0].value;
        day = 1;
      } else {
        day = dateNumbers[0].value;
        yearGiven = false;
      }
    } else if (n == 2) {
      const Token& a = dateNumbers[0];
      const Token& b = dateNumbers[1];
      if (isYear(a)) {
        year = a.value;
        day = b.value;
      } else {
        day = a.value;
        year = b.value;
      }
    } else {
      return std::nullopt;
    }
  } else if (n == 0) {
    if (!haveTime) return std::nullopt;
    haveDate = false;
  } else if (n == 2) {
    const Token& a = dateNumbers[0];
    const Token& b = dateNumbers[1];
    if (a.digits >= 3) {
      year = a.value;
      month = static_cast<int>(b.value);
      day = 1;
    } else if (isYear(b)) {
      month = static_cast<int>(a.value);
      year = b.value;
      day = 1;
    } else {
      month = static_cast<int>(a.value);
      day = b.value;
      yearGiven = false;
    }
  } else if (n == 3) {
    const Token& a = dateNumbers[0];
    if (a.digits >= 3) {
      year = a.value;
      month = static_cast<int>(dateNumbers[1].value);
      day = dateNumbers[2].value;
    } else {
      month = static_cast<int>(a.value);
      day = dateNumbers[1].value;
      year = dateNumbers[2].value;
    }
  } else {
    return std::nullopt;
  }

  int64_t dayNumber = 0;
  if (haveDate) {
    // A day-first date reads as such when the first number cannot be a month.
    if (month > 12 && day >= 1 && day <= 12) {
      int64_t first = month;
      month = static_cast<int>(day);
      day = first;
    }
    if (!yearGiven) year = PartsOf(LocalNow()).year;
    if (year < 100) year = WindowYear(static_cast<int32_t>(year));
    if (year < kMinVbYear || year > kMaxVbYear || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(static_cast<int32_t>(year), month))
      return std::nullopt;
    dayNumber = DayNumber(year, month, day);
  }
  return JoinDate(dayNumber, static_cast<double>(hour * 3600 + minute * 60 + second) + fraction);
}

}  // namespace scriptcontrol::vbscript
