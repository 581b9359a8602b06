#include "platform/scriptcontrol/vbscript/vb_date.h"

#include <gtest/gtest.h>

namespace scriptcontrol::vbscript {
namespace {

using automation::Date;

Date D(int y, int m, int d, int hh = 0, int mm = 0, int ss = 0) {
  return JoinDate(DayNumber(y, m, d), hh * 3600 + mm * 60 + ss);
}

TEST(VbDate, DayNumbersAroundTheEpochAndTheRange) {
  EXPECT_EQ(DayNumber(1899, 12, 30), 0);
  EXPECT_EQ(DayNumber(1900, 1, 1), 2);
  EXPECT_EQ(DayNumber(1970, 1, 1), 25569);
  EXPECT_EQ(DayNumber(100, 1, 1), -657434);
  EXPECT_EQ(DayNumber(9999, 12, 31), 2958465);
  // Months and days carry, as DateSerial needs.
  EXPECT_EQ(DayNumber(2026, 13, 1), DayNumber(2027, 1, 1));
  EXPECT_EQ(DayNumber(2026, 3, 0), DayNumber(2026, 2, 28));
  EXPECT_EQ(DayNumber(2026, 0, 1), DayNumber(2025, 12, 1));
  EXPECT_EQ(DayNumber(2026, -11, 1), DayNumber(2025, 1, 1));
  EXPECT_EQ(DaysInMonth(2024, 2), 29);
  EXPECT_EQ(DaysInMonth(1900, 2), 28);
  EXPECT_EQ(DaysInMonth(2000, 2), 29);
}

TEST(VbDate, PartsRoundTripOnBothSidesOfDayZero) {
  for (int64_t day : {-657434ll, -1000ll, -1ll, 0ll, 1ll, 46364ll, 2958465ll}) {
    VbDateParts p = PartsOf(JoinDate(day, 3723));
    EXPECT_EQ(DayNumber(p.year, p.month, p.day), day);
    EXPECT_EQ(p.hour, 1);
    EXPECT_EQ(p.minute, 2);
    EXPECT_EQ(p.second, 3);
  }
  EXPECT_EQ(PartsOf(Date{0}).weekday, 7);           // a Saturday
  EXPECT_EQ(PartsOf(D(2026, 12, 8)).weekday, 3);    // a Tuesday
  EXPECT_EQ(LinearSeconds(Date{-1.25}), -86400 + 21600);
  EXPECT_EQ(DateFromLinearSeconds(-86400 + 21600), Date{-1.25});
  // A time that rounds to the next midnight moves to the next day.
  EXPECT_EQ(SplitDate(Date{1.9999999999}).day, 2);
  EXPECT_TRUE(InVbDateRange(D(100, 1, 1)));
  EXPECT_FALSE(InVbDateRange(Date{-657435}));
  EXPECT_FALSE(InVbDateRange(Date{2958466}));
}

TEST(VbDate, Formats) {
  EXPECT_EQ(FormatShortDate(D(2026, 12, 8)), "12/8/2026");
  EXPECT_EQ(FormatLongTime(D(2026, 12, 8, 0, 5)), "12:05:00 AM");
  EXPECT_EQ(FormatLongTime(D(2026, 12, 8, 12, 5)), "12:05:00 PM");
  EXPECT_EQ(FormatShortTime(D(2026, 12, 8, 15, 4)), "15:04");
  EXPECT_EQ(FormatLongDate(D(2026, 12, 8)), "Tuesday, December 8, 2026");
}

TEST(VbDate, ParsesTheUsualForms) {
  EXPECT_EQ(ParseDateText("12/8/2026"), D(2026, 12, 8));
  EXPECT_EQ(ParseDateText("2026-12-08"), D(2026, 12, 8));
  EXPECT_EQ(ParseDateText("8 Dec 2026"), D(2026, 12, 8));
  EXPECT_EQ(ParseDateText("December 8, 2026"), D(2026, 12, 8));
  EXPECT_EQ(ParseDateText("Tuesday, December 8, 2026"), D(2026, 12, 8));
  EXPECT_EQ(ParseDateText("8-dec-26"), D(2026, 12, 8));
  EXPECT_EQ(ParseDateText("1/2/45"), D(1945, 1, 2));
  EXPECT_EQ(ParseDateText("25/12/2026"), D(2026, 12, 25));  // no month 25: day first
  EXPECT_EQ(ParseDateText("15:04"), D(1899, 12, 30, 15, 4));
  EXPECT_EQ(ParseDateText("3:04:05 pm"), D(1899, 12, 30, 15, 4, 5));
  EXPECT_EQ(ParseDateText("12 AM"), D(1899, 12, 30, 0, 0));
  EXPECT_EQ(ParseDateText("12/8/2026 3:04 PM"), D(2026, 12, 8, 15, 4));
  EXPECT_EQ(ParseDateText("15:04 12/8/2026"), D(2026, 12, 8, 15, 4));
  EXPECT_EQ(ParseDateText("1/1/1899 6:00"), Date{static_cast<double>(DayNumber(1899, 1, 1)) - 0.25});
}

TEST(VbDate, RejectsWhatIsNoDate) {
  for (const char* bad : {"", "2026", "hello", "2/30/2026", "13/13/2026", "24:00", "12:60", "13 PM", "1/2/3/4",
                          "Dec", "12/8/10000", "1/1/99 25:00", "12:", "5 $", "Dec Jan 2026"})
    EXPECT_FALSE(ParseDateText(bad).has_value()) << bad;
}

}  // namespace
}  // namespace scriptcontrol::vbscript
