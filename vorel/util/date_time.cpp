#include "vorel/util/date_time.h"

#include <cmath>
#include <ctime>
#include <optional>

#include "vorel/util/errors.h"

namespace vorel {

namespace {

constexpr double kDaysBeforeUnixEpoch = 25569.0;  // 1899-12-30 to 1970-01-01

// A run of 1 to `most` decimal digits at `pos`; advances past it.
std::optional<int32_t> Digits(std::string_view text, size_t& pos, size_t most) {
  size_t start = pos;
  int32_t value = 0;
  while (pos < text.size() && pos - start < most && text[pos] >= '0' && text[pos] <= '9')
    value = value * 10 + (text[pos++] - '0');
  if (pos == start) return std::nullopt;
  return value;
}

bool Take(std::string_view text, size_t& pos, char c) {
  if (pos < text.size() && text[pos] == c) {
    ++pos;
    return true;
  }
  return false;
}

// The day number of a calendar date, or none when there is no such date.
std::optional<int32_t> DayOf(int32_t year, int32_t month, int32_t day) {
  using namespace std::chrono;
  const year_month_day date{std::chrono::year(year), std::chrono::month(static_cast<unsigned>(month)),
                            std::chrono::day(static_cast<unsigned>(day))};
  if (month < 1 || month > 12 || day < 1 || !date.ok()) return std::nullopt;
  return static_cast<int32_t>(sys_days(date).time_since_epoch().count() + static_cast<int32_t>(kDaysBeforeUnixEpoch));
}

// date := YYYY-MM-DD | MM/DD/YY | MM/DD/YYYY
std::optional<int32_t> ReadDate(std::string_view text, size_t& pos) {
  const size_t start = pos;
  const std::optional<int32_t> first = Digits(text, pos, 4);
  if (!first) return std::nullopt;
  if (pos - start == 4 && Take(text, pos, '-')) {
    const auto month = Digits(text, pos, 2);
    if (!month || !Take(text, pos, '-')) return std::nullopt;
    const auto day = Digits(text, pos, 2);
    if (!day) return std::nullopt;
    return DayOf(*first, *month, *day);
  }
  if (pos - start > 2 || !Take(text, pos, '/')) return std::nullopt;
  const auto day = Digits(text, pos, 2);
  if (!day || !Take(text, pos, '/')) return std::nullopt;
  const size_t yearStart = pos;
  auto year = Digits(text, pos, 4);
  if (!year) return std::nullopt;
  if (pos - yearStart == 2) *year += *year >= 69 ? 1900 : 2000;
  else if (pos - yearStart != 4) return std::nullopt;
  return DayOf(*year, *first, *day);
}

// time := HH:MM [:SS [.fraction]]
std::optional<double> ReadTime(std::string_view text, size_t& pos) {
  const auto hour = Digits(text, pos, 2);
  if (!hour || !Take(text, pos, ':')) return std::nullopt;
  const auto minute = Digits(text, pos, 2);
  if (!minute) return std::nullopt;
  int32_t second = 0;
  double fraction = 0;
  if (Take(text, pos, ':')) {
    const auto s = Digits(text, pos, 2);
    if (!s) return std::nullopt;
    second = *s;
    if (Take(text, pos, '.')) {
      double scale = 0.1;
      const size_t start = pos;
      for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos, scale /= 10) fraction += (text[pos] - '0') * scale;
      if (pos == start) return std::nullopt;
    }
  }
  if (*hour > 23 || *minute > 59 || second > 59) return std::nullopt;
  return ((*hour * 60.0 + *minute) * 60.0 + second + fraction) / 86400.0;
}

}  // namespace

double ToDateTime(std::chrono::system_clock::time_point t) {
  using namespace std::chrono;
  const auto micros = duration_cast<microseconds>(t.time_since_epoch()).count();
  std::time_t secs = static_cast<std::time_t>(micros / 1000000);
  std::tm local{};
  localtime_r(&secs, &local);
  // Local seconds since the Unix epoch, then days since 1899-12-30.
  const double localSeconds = static_cast<double>(secs + local.tm_gmtoff) + (micros % 1000000) / 1e6;
  return localSeconds / 86400.0 + kDaysBeforeUnixEpoch;
}

double NowAsDateTime() { return ToDateTime(std::chrono::system_clock::now()); }

TDayAndTime SplitDateTime(double value) {
  double whole = std::floor(value);
  long long seconds = std::llround((value - whole) * 86400.0);
  if (seconds >= 86400) {
    seconds -= 86400;
    whole += 1;
  }
  TDayAndTime parts;
  parts.day = static_cast<int32_t>(whole);
  parts.hour = static_cast<int32_t>(seconds / 3600);
  parts.minute = static_cast<int32_t>(seconds / 60 % 60);
  parts.second = static_cast<int32_t>(seconds % 60);
  return parts;
}

bool LooksLikeDateOrTime(std::string_view text) {
  return text.size() > 1 && text.find_first_of("-/:", 1) != std::string_view::npos;
}

std::string NotADateTime(std::string_view text) { return "'" + std::string(text) + "' is not a valid date and time"; }

// text := [blanks] (date [(" " | "T") time] | time) [blanks]
double ReadDateTime(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  const size_t last = text.find_last_not_of(' ');
  const std::string_view t = first == std::string_view::npos ? std::string_view() : text.substr(first, last - first + 1);
  size_t pos = 0;
  double value = 0;
  if (t.find_first_of("-/") != std::string_view::npos) {
    const std::optional<int32_t> day = ReadDate(t, pos);
    if (!day) throw KivError(NotADateTime(text));
    value = *day;
    if (pos < t.size()) {
      if (t[pos] != ' ' && t[pos] != 'T') throw KivError(NotADateTime(text));
      while (++pos < t.size() && t[pos] == ' ') {
      }
    }
  }
  if (pos < t.size()) {
    const std::optional<double> time = ReadTime(t, pos);
    if (!time || pos != t.size()) throw KivError(NotADateTime(text));
    value += *time;
  }
  if (t.empty()) throw KivError(NotADateTime(text));
  return value;
}

}  // namespace vorel
