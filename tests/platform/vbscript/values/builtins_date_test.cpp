#include <gtest/gtest.h>

#include "platform/scriptcontrol/vbscript/vb_date.h"
#include "platform/vbscript/values/builtin_caller.h"
#include "platform/vbscript/values/vb_test_support.h"

namespace scriptcontrol::vbscript {
namespace {

using automation::Date;
using automation::Variant;
using automation::VarType;

Date D(int y, int m, int d, int hh = 0, int mm = 0, int ss = 0) {
  return JoinDate(DayNumber(y, m, d), hh * 3600 + mm * 60 + ss);
}

class VbDateBuiltins : public ::testing::Test {
 protected:
  testing::BuiltinCaller call;
  Variant Call0(std::string_view name) {
    std::vector<Variant> none;
    return call.CallWith(name, none);
  }
};

TEST_F(VbDateBuiltins, TheClockFunctions) {
  Variant now = Call0("Now");
  ASSERT_EQ(now.Type(), VarType::Date);
  Variant today = Call0("Date");
  EXPECT_EQ(today.Get<Date>()->days, std::trunc(now.Get<Date>()->days));
  Variant time = Call0("Time");
  EXPECT_LT(time.Get<Date>()->days, 1.0);
  Variant timer = Call0("Timer");
  ASSERT_EQ(timer.Type(), VarType::Single);
  EXPECT_GE(*timer.Get<float>(), 0.0f);
  EXPECT_LT(*timer.Get<float>(), 86400.0f);
}

TEST_F(VbDateBuiltins, Serials) {
  EXPECT_EQ(call("DateSerial", 2026, 12, 8), Variant(D(2026, 12, 8)));
  EXPECT_EQ(call("DateSerial", 2026, 14, 1), Variant(D(2027, 2, 1)));
  EXPECT_EQ(call("DateSerial", 2026, 3, 0), Variant(D(2026, 2, 28)));
  EXPECT_EQ(call("DateSerial", 26, 1, 1), Variant(D(2026, 1, 1)));
  EXPECT_EQ(call("DateSerial", 99, 1, 1), Variant(D(1999, 1, 1)));
  EXPECT_VB_ERROR(call("DateSerial", 10000, 1, 1), kErrInvalidCall);
  EXPECT_VB_ERROR(call("DateSerial", 2026, Variant::Null(), 1), kErrInvalidNull);
  EXPECT_EQ(call("TimeSerial", 15, 4, 5), Variant(D(1899, 12, 30, 15, 4, 5)));
  EXPECT_EQ(call("TimeSerial", 0, 90, 0), Variant(D(1899, 12, 30, 1, 30)));
  EXPECT_EQ(call("TimeSerial", -1, 0, 0), Variant(D(1899, 12, 29, 23, 0)));
  EXPECT_EQ(call("DateValue", "12/8/2026 3:04 PM"), Variant(D(2026, 12, 8)));
  EXPECT_EQ(call("TimeValue", "12/8/2026 3:04 PM"), Variant(D(1899, 12, 30, 15, 4)));
  EXPECT_VB_ERROR(call("DateValue", "tomorrow"), kErrTypeMismatch);
}

TEST_F(VbDateBuiltins, Parts) {
  Date d = D(2026, 12, 8, 15, 4, 5);
  EXPECT_EQ(call("Year", d), Variant(int16_t{2026}));
  EXPECT_EQ(call("Month", "12/8/2026"), Variant(int16_t{12}));
  EXPECT_EQ(call("Day", d), Variant(int16_t{8}));
  EXPECT_EQ(call("Hour", d), Variant(int16_t{15}));
  EXPECT_EQ(call("Minute", d), Variant(int16_t{4}));
  EXPECT_EQ(call("Second", d), Variant(int16_t{5}));
  EXPECT_EQ(call("Year", 0), Variant(int16_t{1899}));
  EXPECT_TRUE(call("Year", Variant::Null()).IsNull());
  EXPECT_EQ(call("Weekday", d), Variant(int16_t{3}));
  EXPECT_EQ(call("Weekday", d, 2), Variant(int16_t{2}));
  EXPECT_VB_ERROR(call("Weekday", d, 8), kErrInvalidCall);
  EXPECT_EQ(call("WeekdayName", 1), Variant("Sunday"));
  EXPECT_EQ(call("WeekdayName", 1, true, 2), Variant("Mon"));
  EXPECT_VB_ERROR(call("WeekdayName", 0), kErrInvalidCall);
  EXPECT_EQ(call("MonthName", 9, true), Variant("Sep"));
  EXPECT_VB_ERROR(call("MonthName", 13), kErrInvalidCall);
}

TEST_F(VbDateBuiltins, DateAdd) {
  EXPECT_EQ(call("DateAdd", "m", 1, D(2026, 1, 31)), Variant(D(2026, 2, 28)));
  EXPECT_EQ(call("DateAdd", "yyyy", 1, D(2024, 2, 29)), Variant(D(2025, 2, 28)));
  EXPECT_EQ(call("DateAdd", "q", -1, D(2026, 3, 15, 6)), Variant(D(2025, 12, 15, 6)));
  EXPECT_EQ(call("DateAdd", "d", 2, D(2026, 12, 31, 12)), Variant(D(2027, 1, 2, 12)));
  EXPECT_EQ(call("DateAdd", "ww", 1, D(2026, 12, 8)), Variant(D(2026, 12, 15)));
  EXPECT_EQ(call("DateAdd", "h", -1, D(1899, 12, 30, 0, 30)), Variant(D(1899, 12, 29, 23, 30)));
  EXPECT_EQ(call("DateAdd", "N", 90, "12/8/2026"), Variant(D(2026, 12, 8, 1, 30)));
  EXPECT_EQ(call("DateAdd", "s", 1, D(2026, 12, 8, 23, 59, 59)), Variant(D(2026, 12, 9)));
  EXPECT_VB_ERROR(call("DateAdd", "x", 1, D(2026, 1, 1)), kErrInvalidCall);
  EXPECT_VB_ERROR(call("DateAdd", "yyyy", 9000, D(2026, 1, 1)), kErrInvalidCall);
  EXPECT_TRUE(call("DateAdd", "d", 1, Variant::Null()).IsNull());
}

TEST_F(VbDateBuiltins, DateDiffCountsBoundaries) {
  EXPECT_EQ(call("DateDiff", "yyyy", D(2025, 12, 31), D(2026, 1, 1)), Variant(1));
  EXPECT_EQ(call("DateDiff", "m", D(2026, 1, 31), D(2026, 2, 1)), Variant(1));
  EXPECT_EQ(call("DateDiff", "q", D(2026, 3, 31), D(2026, 4, 1)), Variant(1));
  EXPECT_EQ(call("DateDiff", "d", D(2026, 1, 1, 23), D(2026, 1, 2, 1)), Variant(1));
  EXPECT_EQ(call("DateDiff", "d", D(2026, 1, 2), D(2026, 1, 1)), Variant(-1));
  EXPECT_EQ(call("DateDiff", "h", D(2026, 1, 1, 0, 59), D(2026, 1, 1, 1, 0)), Variant(1));
  EXPECT_EQ(call("DateDiff", "n", D(1899, 12, 29, 23, 59), D(1899, 12, 30, 0, 1)), Variant(2));
  EXPECT_EQ(call("DateDiff", "s", D(2026, 1, 1), D(2026, 1, 2)), Variant(86400));
  // 2026-12-05 is a Saturday, 2026-12-06 a Sunday.
  EXPECT_EQ(call("DateDiff", "ww", D(2026, 12, 5), D(2026, 12, 6)), Variant(1));
  EXPECT_EQ(call("DateDiff", "w", D(2026, 12, 5), D(2026, 12, 6)), Variant(0));
  EXPECT_EQ(call("DateDiff", "ww", D(2026, 12, 6), D(2026, 12, 7), 2), Variant(1));
  EXPECT_VB_ERROR(call("DateDiff", "s", D(100, 1, 1), D(9999, 1, 1)), kErrOverflow);
  EXPECT_TRUE(call("DateDiff", "d", Variant::Null(), D(2026, 1, 1)).IsNull());
}

TEST_F(VbDateBuiltins, DatePartAndWeeksOfTheYear) {
  Date d = D(2026, 12, 8, 15, 4, 5);
  EXPECT_EQ(call("DatePart", "q", d), Variant(int16_t{4}));
  EXPECT_EQ(call("DatePart", "y", d), Variant(int16_t{342}));
  EXPECT_EQ(call("DatePart", "w", d), Variant(int16_t{3}));
  EXPECT_EQ(call("DatePart", "n", d), Variant(int16_t{4}));
  // 2026-01-01 is a Thursday.
  EXPECT_EQ(call("DatePart", "ww", D(2026, 1, 3)), Variant(int16_t{1}));
  EXPECT_EQ(call("DatePart", "ww", D(2026, 1, 4)), Variant(int16_t{2}));
  EXPECT_EQ(call("DatePart", "ww", D(2026, 1, 4), 2, 2), Variant(int16_t{1}));
  EXPECT_EQ(call("DatePart", "ww", D(2026, 1, 5), 2, 2), Variant(int16_t{2}));
  EXPECT_EQ(call("DatePart", "ww", D(2026, 1, 3), 1, 3), Variant(int16_t{52}));  // last full week of 2025
  EXPECT_VB_ERROR(call("DatePart", "ww", d, 1, 4), kErrInvalidCall);
}

TEST_F(VbDateBuiltins, IsDate) {
  EXPECT_EQ(call("IsDate", "12/8/2026"), Variant(true));
  EXPECT_EQ(call("IsDate", D(2026, 1, 1)), Variant(true));
  EXPECT_EQ(call("IsDate", "2/30/2026"), Variant(false));
  EXPECT_EQ(call("IsDate", 45000), Variant(false));
  EXPECT_EQ(call("IsDate", Variant::Null()), Variant(false));
}

}  // namespace
}  // namespace scriptcontrol::vbscript
