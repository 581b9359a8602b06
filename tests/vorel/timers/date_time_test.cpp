// Reading date and time texts, and taking date-and-time values apart.
#include <gtest/gtest.h>

#include "vorel/util/date_time.h"
#include "vorel/util/errors.h"

namespace {

using vorel::ReadDateTime;
using vorel::SplitDateTime;

constexpr double kDay20261208 = 46364;  // 2026-12-08 as a day number

TEST(DateTimeText, IsoDatesAndTimes) {
  EXPECT_DOUBLE_EQ(ReadDateTime("2026-12-08"), kDay20261208);
  EXPECT_DOUBLE_EQ(ReadDateTime("1899-12-30"), 0);
  EXPECT_DOUBLE_EQ(ReadDateTime("1970-01-01"), 25569);
  EXPECT_DOUBLE_EQ(ReadDateTime("2026-12-08 01:00:00"), kDay20261208 + 1.0 / 24);
  EXPECT_DOUBLE_EQ(ReadDateTime("2026-12-08T12:00"), kDay20261208 + 0.5);
  EXPECT_DOUBLE_EQ(ReadDateTime("  2026-12-08   06:00:00 "), kDay20261208 + 0.25);
}

TEST(DateTimeText, CLocaleDatesTakeMonthFirstAndTwoDigitYears) {
  EXPECT_DOUBLE_EQ(ReadDateTime("12/08/26"), kDay20261208);
  EXPECT_DOUBLE_EQ(ReadDateTime("12/08/2026 01:00:00"), kDay20261208 + 1.0 / 24);
  EXPECT_DOUBLE_EQ(ReadDateTime("01/01/70"), 25569);   // 69 to 99 are 19xx
  EXPECT_DOUBLE_EQ(ReadDateTime("01/01/68"), 25569 + 365 * 98 + 24);  // 2068
}

TEST(DateTimeText, TimesAloneAreOnDayZero) {
  EXPECT_DOUBLE_EQ(ReadDateTime("01:00:00"), 1.0 / 24);
  EXPECT_DOUBLE_EQ(ReadDateTime("1:30"), 1.5 / 24);
  EXPECT_DOUBLE_EQ(ReadDateTime("00:00:00"), 0);
  EXPECT_NEAR(ReadDateTime("23:59:59.5"), (86399.5) / 86400, 1e-12);
}

TEST(DateTimeText, AnythingElseIsRefusedWithTheText) {
  for (const char* bad : {"", "24:00:00", "12:60", "12:30:60", "2026-13-01", "2026-02-29", "02/30/2026", "13/01/26",
                          "2026-12-08x", "2026-12-08 1", "12:30 pm", "1-2", "12:", "/", "2026-12-08 01:00:00 UTC"}) {
    try {
      ReadDateTime(bad);
      ADD_FAILURE() << "read: " << bad;
    } catch (const vorel::KivError& e) {
      EXPECT_EQ(e.what(), "'" + std::string(bad) + "' is not a valid date and time");
    }
  }
  EXPECT_DOUBLE_EQ(ReadDateTime("2024-02-29"), ReadDateTime("2024-03-01") - 1);  // a leap day is a day
}

TEST(DateTimeText, SeparatorsAfterTheFirstCharacterMarkADateOrTime) {
  EXPECT_TRUE(vorel::LooksLikeDateOrTime("01:00:00"));
  EXPECT_TRUE(vorel::LooksLikeDateOrTime("2026-12-08"));
  EXPECT_TRUE(vorel::LooksLikeDateOrTime("12/08/26"));
  EXPECT_FALSE(vorel::LooksLikeDateOrTime("-5"));  // a negative number
  EXPECT_FALSE(vorel::LooksLikeDateOrTime("3600"));
  EXPECT_FALSE(vorel::LooksLikeDateOrTime(":"));
  EXPECT_FALSE(vorel::LooksLikeDateOrTime(""));
}

TEST(DateTimeSplit, RoundsToTheNearestSecondAndCarriesIntoTheNextDay) {
  const vorel::TDayAndTime t = SplitDateTime(kDay20261208 + (3600 + 2 * 60 + 3) / 86400.0);
  EXPECT_EQ(t.day, kDay20261208);
  EXPECT_EQ(t.hour, 1);
  EXPECT_EQ(t.minute, 2);
  EXPECT_EQ(t.second, 3);
  EXPECT_EQ(t.SecondsOfDay(), 3723);
  const vorel::TDayAndTime late = SplitDateTime(kDay20261208 + 86399.9 / 86400.0);
  EXPECT_EQ(late.day, kDay20261208 + 1);
  EXPECT_EQ(late.SecondsOfDay(), 0);
  EXPECT_EQ(SplitDateTime(kDay20261208 + 0.4 / 86400).SecondsOfDay(), 0);
}

}  // namespace
