// The date and time functions. Intervals are VBScript's codes ("yyyy",
// "q", "m", "y", "d", "w", "ww", "h", "n", "s"); weeks start on the day a
// firstdayofweek argument names (vbSunday by default, vbUseSystemDayOfWeek
// meaning Sunday) and the first week of a year follows vbFirstJan1,
// vbFirstFourDays or vbFirstFullWeek.
#include <algorithm>
#include <limits>

#include "platform/scriptcontrol/vbscript/vb_builtin_support.h"
#include "platform/scriptcontrol/vbscript/vb_convert.h"
#include "platform/scriptcontrol/vbscript/vb_date.h"
#include "platform/scriptcontrol/vbscript/vb_errors.h"
#include "platform/util/text.h"

namespace scriptcontrol::vbscript {

namespace {

using automation::Date;
using automation::Variant;
using namespace builtin_args;

enum class Interval : uint8_t { Year, Quarter, Month, DayOfYear, Day, Weekday, Week, Hour, Minute, Second };

Interval IntervalArg(const BuiltinCall& call, size_t index) {
  std::string code = kiv::ToLowerAscii(String(call, index));
  if (code == "yyyy") return Interval::Year;
  if (code == "q") return Interval::Quarter;
  if (code == "m") return Interval::Month;
  if (code == "y") return Interval::DayOfYear;
  if (code == "d") return Interval::Day;
  if (code == "w") return Interval::Weekday;
  if (code == "ww") return Interval::Week;
  if (code == "h") return Interval::Hour;
  if (code == "n") return Interval::Minute;
  if (code == "s") return Interval::Second;
  Throw(kErrInvalidCall);
}

int32_t FirstDayArg(const BuiltinCall& call, size_t index) {
  int32_t day = LongOr(call, index, 1);
  if (day < 0 || day > 7) Throw(kErrInvalidCall);
  return day == 0 ? 1 : day;
}

int32_t FirstWeekArg(const BuiltinCall& call, size_t index) {
  int32_t rule = LongOr(call, index, 1);
  if (rule < 0 || rule > 3) Throw(kErrInvalidCall);
  return rule == 0 ? 1 : rule;
}

Date DateArg(const BuiltinCall& call, size_t index) { return ToVbDate(Arg(call, index)); }

Variant Checked(Date date) {
  if (!InVbDateRange(date)) Throw(kErrInvalidCall);
  return date;
}

// Days from the start of the week that holds dayNumber.
int32_t DaysIntoWeek(int64_t dayNumber, int32_t firstDay) {
  return (WeekdayOfDayNumber(dayNumber) - firstDay + 7) % 7;
}

int64_t WeekOneStart(int32_t year, int32_t firstDay, int32_t firstWeek) {
  int64_t jan1 = DayNumber(year, 1, 1);
  int32_t into = DaysIntoWeek(jan1, firstDay);
  int64_t start = jan1 - into;
  if (firstWeek == 2 && into > 3) start += 7;  // the week needs four days of the year
  if (firstWeek == 3 && into > 0) start += 7;  // the week must lie wholly in the year
  return start;
}

int32_t WeekOfYear(int64_t dayNumber, int32_t firstDay, int32_t firstWeek) {
  int32_t y, m, d;
  CivilFromDayNumber(dayNumber, y, m, d);
  int64_t start = WeekOneStart(y, firstDay, firstWeek);
  if (dayNumber < start) start = WeekOneStart(y - 1, firstDay, firstWeek);
  return static_cast<int32_t>((dayNumber - start) / 7 + 1);
}

Date AddMonths(Date date, int64_t months) {
  VbDateParts p = PartsOf(date);
  int64_t total = static_cast<int64_t>(p.year) * 12 + (p.month - 1) + months;
  int64_t year = total >= 0 ? total / 12 : -((-total + 11) / 12);
  int32_t month = static_cast<int32_t>(total - year * 12 + 1);
  if (year < kMinVbYear || year > kMaxVbYear) Throw(kErrInvalidCall);
  int32_t day = std::min(p.day, DaysInMonth(static_cast<int32_t>(year), month));
  return JoinDate(DayNumber(year, month, day), p.hour * 3600.0 + p.minute * 60.0 + p.second);
}

Variant DateAdd(BuiltinCall& call) {
  Interval interval = IntervalArg(call, 0);
  if (IsNull(call, 1)) Throw(kErrInvalidNull);
  int64_t n = Long(call, 1);
  if (IsNull(call, 2)) return Variant::Null();
  Date date = DateArg(call, 2);
  int64_t seconds = LinearSeconds(date);
  switch (interval) {
    case Interval::Year: return Checked(AddMonths(date, n * 12));
    case Interval::Quarter: return Checked(AddMonths(date, n * 3));
    case Interval::Month: return Checked(AddMonths(date, n));
    case Interval::DayOfYear:
    case Interval::Day:
    case Interval::Weekday: return Checked(DateFromLinearSeconds(seconds + n * 86400));
    case Interval::Week: return Checked(DateFromLinearSeconds(seconds + n * 7 * 86400));
    case Interval::Hour: return Checked(DateFromLinearSeconds(seconds + n * 3600));
    case Interval::Minute: return Checked(DateFromLinearSeconds(seconds + n * 60));
    case Interval::Second: return Checked(DateFromLinearSeconds(seconds + n));
  }
  Throw(kErrInvalidCall);
}

Variant DateDiff(BuiltinCall& call) {
  Interval interval = IntervalArg(call, 0);
  int32_t firstDay = FirstDayArg(call, 3);
  FirstWeekArg(call, 4);
  if (IsNull(call, 1) || IsNull(call, 2)) return Variant::Null();
  Date a = DateArg(call, 1);
  Date b = DateArg(call, 2);
  VbDateParts pa = PartsOf(a), pb = PartsOf(b);
  int64_t da = SplitDate(a).day, db = SplitDate(b).day;
  int64_t sa = LinearSeconds(a), sb = LinearSeconds(b);
  int64_t r = 0;
  switch (interval) {
    case Interval::Year: r = pb.year - pa.year; break;
    case Interval::Quarter: r = (pb.year * 4 + (pb.month - 1) / 3) - (pa.year * 4 + (pa.month - 1) / 3); break;
    case Interval::Month: r = (pb.year * 12 + pb.month) - (pa.year * 12 + pa.month); break;
    case Interval::DayOfYear:
    case Interval::Day: r = db - da; break;
    case Interval::Weekday: r = (db - da) / 7; break;
    case Interval::Week: r = ((db - DaysIntoWeek(db, firstDay)) - (da - DaysIntoWeek(da, firstDay))) / 7; break;
    case Interval::Hour: r = FloorDiv(sb, 3600) - FloorDiv(sa, 3600); break;
    case Interval::Minute: r = FloorDiv(sb, 60) - FloorDiv(sa, 60); break;
    case Interval::Second: r = sb - sa; break;
  }
  if (r > std::numeric_limits<int32_t>::max() || r < std::numeric_limits<int32_t>::min()) Throw(kErrOverflow);
  return static_cast<int32_t>(r);
}

Variant DatePart(BuiltinCall& call) {
  Interval interval = IntervalArg(call, 0);
  int32_t firstDay = FirstDayArg(call, 2);
  int32_t firstWeek = FirstWeekArg(call, 3);
  if (IsNull(call, 1)) return Variant::Null();
  Date date = DateArg(call, 1);
  VbDateParts p = PartsOf(date);
  int64_t day = SplitDate(date).day;
  int32_t r = 0;
  switch (interval) {
    case Interval::Year: r = p.year; break;
    case Interval::Quarter: r = (p.month - 1) / 3 + 1; break;
    case Interval::Month: r = p.month; break;
    case Interval::DayOfYear: r = static_cast<int32_t>(day - DayNumber(p.year, 1, 1) + 1); break;
    case Interval::Day: r = p.day; break;
    case Interval::Weekday: r = DaysIntoWeek(day, firstDay) + 1; break;
    case Interval::Week: r = WeekOfYear(day, firstDay, firstWeek); break;
    case Interval::Hour: r = p.hour; break;
    case Interval::Minute: r = p.minute; break;
    case Interval::Second: r = p.second; break;
  }
  return static_cast<int16_t>(r);
}

Variant DateSerial(BuiltinCall& call) {
  for (size_t i = 0; i < 3; ++i)
    if (IsNull(call, i)) Throw(kErrInvalidNull);
  int64_t year = WindowYear(Long(call, 0));
  int64_t month = Long(call, 1);
  int64_t day = Long(call, 2);
  if (year < 0 || year > kMaxVbYear) Throw(kErrInvalidCall);
  return Checked(JoinDate(DayNumber(year, month, day), 0));
}

Variant TimeSerial(BuiltinCall& call) {
  for (size_t i = 0; i < 3; ++i)
    if (IsNull(call, i)) Throw(kErrInvalidNull);
  int64_t hours = Long(call, 0), minutes = Long(call, 1), seconds = Long(call, 2);
  seconds += hours * 3600 + minutes * 60;
  return Checked(DateFromLinearSeconds(seconds));
}

Variant DateValue(BuiltinCall& call) {
  if (IsNull(call, 0)) return Variant::Null();
  return JoinDate(SplitDate(DateArg(call, 0)).day, 0);
}

Variant TimeValue(BuiltinCall& call) {
  if (IsNull(call, 0)) return Variant::Null();
  return JoinDate(0, SplitDate(DateArg(call, 0)).second);
}

template <int32_t VbDateParts::*Field>
Variant PartOf(BuiltinCall& call) {
  if (IsNull(call, 0)) return Variant::Null();
  return static_cast<int16_t>(PartsOf(DateArg(call, 0)).*Field);
}

Variant Weekday(BuiltinCall& call) {
  int32_t firstDay = FirstDayArg(call, 1);
  if (IsNull(call, 0)) return Variant::Null();
  return static_cast<int16_t>(DaysIntoWeek(SplitDate(DateArg(call, 0)).day, firstDay) + 1);
}

Variant WeekdayName(BuiltinCall& call) {
  int32_t weekday = Long(call, 0);
  bool abbreviate = BoolOr(call, 1, false);
  int32_t firstDay = FirstDayArg(call, 2);
  if (weekday < 1 || weekday > 7) Throw(kErrInvalidCall);
  return WeekdayNameOf((weekday - 1 + firstDay - 1) % 7 + 1, abbreviate);
}

Variant MonthName(BuiltinCall& call) {
  int32_t month = Long(call, 0);
  bool abbreviate = BoolOr(call, 1, false);
  if (month < 1 || month > 12) Throw(kErrInvalidCall);
  return MonthNameOf(month, abbreviate);
}

Variant IsDate(BuiltinCall& call) {
  Variant v = Value(call, 0);
  if (v.Type() == automation::VarType::Date) return true;
  if (const std::string* text = v.Get<std::string>()) return ParseVbDate(*text).has_value();
  return false;
}

Variant Now(BuiltinCall&) { return LocalNow(); }
Variant Today(BuiltinCall&) { return JoinDate(SplitDate(LocalNow()).day, 0); }
Variant TimeNow(BuiltinCall&) { return JoinDate(0, SplitDate(LocalNow()).second); }
Variant Timer(BuiltinCall&) { return static_cast<float>(SecondsSinceMidnight()); }

constexpr Builtin kDateBuiltins[] = {
    {"Date", 0, 0, Today},
    {"DateAdd", 3, 3, DateAdd},
    {"DateDiff", 3, 5, DateDiff},
    {"DatePart", 2, 4, DatePart},
    {"DateSerial", 3, 3, DateSerial},
    {"DateValue", 1, 1, DateValue},
    {"Day", 1, 1, PartOf<&VbDateParts::day>},
    {"Hour", 1, 1, PartOf<&VbDateParts::hour>},
    {"IsDate", 1, 1, IsDate},
    {"Minute", 1, 1, PartOf<&VbDateParts::minute>},
    {"Month", 1, 1, PartOf<&VbDateParts::month>},
    {"MonthName", 1, 2, MonthName},
    {"Now", 0, 0, Now},
    {"Second", 1, 1, PartOf<&VbDateParts::second>},
    {"Time", 0, 0, TimeNow},
    {"Timer", 0, 0, Timer},
    {"TimeSerial", 3, 3, TimeSerial},
    {"TimeValue", 1, 1, TimeValue},
    {"Weekday", 1, 2, Weekday},
    {"WeekdayName", 1, 3, WeekdayName},
    {"Year", 1, 1, PartOf<&VbDateParts::year>},
};

}  // namespace

std::span<const Builtin> DateBuiltins() { return kDateBuiltins; }

}  // namespace scriptcontrol::vbscript
