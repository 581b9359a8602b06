#include "platform/scriptcontrol/vbscript/vb_date_literal.h"

#include <gtest/gtest.h>

namespace {

using scriptcontrol::vbscript::ReadDateLiteral;

double Days(std::string_view text) {
  auto d = ReadDateLiteral(text);
  EXPECT_TRUE(d.has_value()) << text;
  return d ? d->days : -99999;
}

TEST(VbDateLiteral, DatesAreDaysSince18991230) {
  EXPECT_EQ(Days("12/30/1899"), 0);
  EXPECT_EQ(Days("12/31/1899"), 1);
  EXPECT_EQ(Days("1/1/1900"), 2);
  EXPECT_EQ(Days("3/1/1900"), 61);  // 1900 is no leap year
  EXPECT_EQ(Days("1/2/2003"), 37623);
  EXPECT_EQ(Days("2003-01-02"), 37623);
  EXPECT_EQ(Days("2003/1/2"), 37623);
  EXPECT_EQ(Days("1-2-2003"), 37623);
  EXPECT_EQ(Days("2/29/2000"), 36585);
  EXPECT_EQ(Days("12/31/9999"), 2958465);
  EXPECT_EQ(Days("1/1/100"), -657434);
}

TEST(VbDateLiteral, TwoDigitYears) {
  EXPECT_EQ(Days("1/2/03"), 37623);
  EXPECT_EQ(Days("1/1/30"), Days("1/1/1930"));
  EXPECT_EQ(Days("12/31/29"), Days("12/31/2029"));
}

TEST(VbDateLiteral, TimesAreFractions) {
  EXPECT_EQ(Days("12:00"), 0.5);
  EXPECT_EQ(Days("6:00 AM"), 0.25);
  EXPECT_EQ(Days("12:00 AM"), 0);
  EXPECT_EQ(Days("12:00 PM"), 0.5);
  EXPECT_EQ(Days("6:00pm"), 0.75);
  EXPECT_DOUBLE_EQ(Days("1/2/2003 18:00:36"), 37623 + (18 * 3600 + 36) / 86400.0);
  EXPECT_DOUBLE_EQ(Days("  2003-01-02   10:00  "), 37623 + 10 / 24.0);
  // Before the epoch the time counts away from zero.
  EXPECT_EQ(Days("12/29/1899 6:00"), -1.25);
}

TEST(VbDateLiteral, RefusesWhatIsNoDate) {
  for (const char* text : {"", "  ", "2/30/2003", "2/29/1900", "13/1/2003", "0/1/2003", "1/0/2003", "1/2",
                           "1/2/2003 x", "24:00", "12:60", "1:00:60", "13:00 PM", "0:30 AM", "1/2-2003",
                           "12345/1/1", "1/2/99999", "abc", "1:", "1/2/2003 10", "10000-1-1"})
    EXPECT_FALSE(ReadDateLiteral(text).has_value()) << text;
}

}  // namespace
