#include <gtest/gtest.h>

#include "platform/scriptcontrol/vbscript/vb_date.h"
#include "platform/vbscript/values/builtin_caller.h"
#include "platform/vbscript/values/vb_test_support.h"

namespace scriptcontrol::vbscript {
namespace {

using automation::Currency;
using automation::Date;
using automation::Variant;
using automation::VarType;

class VbConversionBuiltins : public ::testing::Test {
 protected:
  testing::BuiltinCaller call;
};

TEST_F(VbConversionBuiltins, ConversionsGiveTheirTypes) {
  EXPECT_EQ(call("CInt", 32767.4), Variant(int16_t{32767}));
  EXPECT_VB_ERROR(call("CInt", 32767.5), kErrOverflow);
  EXPECT_EQ(call("CLng", "  -7.5"), Variant(-8));
  EXPECT_EQ(call("CByte", 255), Variant(uint8_t{255}));
  EXPECT_VB_ERROR(call("CByte", 256), kErrOverflow);
  EXPECT_EQ(call("CCur", "0.03125"), Variant(Currency{312}));  // half to even at four decimals
  EXPECT_EQ(call("CCur", "0.09375"), Variant(Currency{938}));
  EXPECT_EQ(call("CSng", 0.5).Type(), VarType::Single);
  EXPECT_EQ(call("CDbl", "&H10"), Variant(16.0));
  EXPECT_EQ(call("CBool", "false"), Variant(false));
  EXPECT_EQ(call("CStr", true), Variant("True"));
  EXPECT_EQ(call("CDate", "1/2/2026").Type(), VarType::Date);
  for (const char* name : {"CInt", "CLng", "CByte", "CCur", "CSng", "CDbl", "CBool", "CStr", "CDate"})
    EXPECT_VB_ERROR(call(name, Variant::Null()), kErrInvalidNull);
  EXPECT_VB_ERROR(call("CDbl", "1x"), kErrTypeMismatch);
}

TEST_F(VbConversionBuiltins, IntFixKeepTheType) {
  EXPECT_EQ(call("Int", -1.5), Variant(-2.0));
  EXPECT_EQ(call("Fix", -1.5), Variant(-1.0));
  EXPECT_EQ(call("Int", int16_t{7}), Variant(int16_t{7}));
  EXPECT_EQ(call("Int", 2.5f), Variant(2.0f));
  EXPECT_EQ(call("Int", "3.7"), Variant(3.0));
  EXPECT_EQ(call("Int", Currency{-15000}), Variant(Currency{-20000}));
  EXPECT_EQ(call("Fix", Currency{-15000}), Variant(Currency{-10000}));
  EXPECT_EQ(call("Int", Variant()), Variant(int16_t{0}));
  EXPECT_EQ(call("Int", Date{1.75}), Variant(Date{1}));
  EXPECT_TRUE(call("Fix", Variant::Null()).IsNull());
  EXPECT_VB_ERROR(call("Int", "x"), kErrTypeMismatch);
}

TEST_F(VbConversionBuiltins, AbsAndSgn) {
  EXPECT_EQ(call("Abs", int16_t{-32768}), Variant(32768));
  EXPECT_EQ(call("Abs", -2147483647 - 1), Variant(2147483648.0));
  EXPECT_EQ(call("Abs", -2.5), Variant(2.5));
  EXPECT_EQ(call("Abs", true), Variant(int16_t{1}));
  EXPECT_EQ(call("Abs", Currency{-5}), Variant(Currency{5}));
  EXPECT_TRUE(call("Abs", Variant::Null()).IsNull());
  EXPECT_EQ(call("Sgn", -0.1), Variant(int16_t{-1}));
  EXPECT_EQ(call("Sgn", Variant()), Variant(int16_t{0}));
  EXPECT_EQ(call("Sgn", "5"), Variant(int16_t{1}));
}

TEST_F(VbConversionBuiltins, RoundIsHalfToEven) {
  EXPECT_EQ(call("Round", 2.5), Variant(2.0));
  EXPECT_EQ(call("Round", 3.5), Variant(4.0));
  EXPECT_EQ(call("Round", -2.5), Variant(-2.0));
  EXPECT_EQ(call("Round", 1.2345, 2), Variant(1.23));
  EXPECT_EQ(call("Round", 0.125, 2), Variant(0.12));
  EXPECT_EQ(call("Round", int16_t{5}), Variant(int16_t{5}));
  EXPECT_EQ(call("Round", Currency{12250}, 1), Variant(Currency{12000}));
  EXPECT_EQ(call("Round", Currency{12350}, 1), Variant(Currency{12000}));
  EXPECT_EQ(call("Round", Currency{12501}, 1), Variant(Currency{13000}));
  EXPECT_VB_ERROR(call("Round", 1.5, -1), kErrInvalidCall);
  EXPECT_TRUE(call("Round", Variant::Null()).IsNull());
}

TEST_F(VbConversionBuiltins, FormatNumberCurrencyPercent) {
  EXPECT_EQ(call("FormatNumber", 1234567.891), Variant("1,234,567.89"));
  EXPECT_EQ(call("FormatNumber", 0.5, 1), Variant("0.5"));
  EXPECT_EQ(call("FormatNumber", 0.5, 2, 0), Variant(".50"));
  EXPECT_EQ(call("FormatNumber", -3, 0, -2, -1), Variant("(3)"));
  EXPECT_EQ(call("FormatNumber", 1234.5, 1, -2, -2, 0), Variant("1234.5"));
  EXPECT_EQ(call("FormatNumber", -0.001), Variant("0.00"));
  EXPECT_EQ(call("FormatNumber", "12"), Variant("12.00"));
  EXPECT_EQ(call("FormatCurrency", 1234.5), Variant("$1,234.50"));
  EXPECT_EQ(call("FormatCurrency", -2), Variant("($2.00)"));
  EXPECT_EQ(call("FormatCurrency", -2, 0, -2, 0), Variant("-$2"));
  EXPECT_EQ(call("FormatPercent", 0.256), Variant("25.60%"));
  EXPECT_EQ(call("FormatPercent", -0.5, 0), Variant("-50%"));
  EXPECT_VB_ERROR(call("FormatNumber", 1, -2), kErrInvalidCall);
  EXPECT_VB_ERROR(call("FormatNumber", 1, 2, 5), kErrInvalidCall);
  EXPECT_VB_ERROR(call("FormatNumber", "abc"), kErrTypeMismatch);
}

TEST_F(VbConversionBuiltins, FormatDateTime) {
  Date d = JoinDate(DayNumber(2026, 12, 8), 15 * 3600 + 4 * 60 + 5);
  EXPECT_EQ(call("FormatDateTime", d), Variant("12/8/2026 3:04:05 PM"));
  EXPECT_EQ(call("FormatDateTime", d, 1), Variant("Tuesday, December 8, 2026"));
  EXPECT_EQ(call("FormatDateTime", d, 2), Variant("12/8/2026"));
  EXPECT_EQ(call("FormatDateTime", d, 3), Variant("3:04:05 PM"));
  EXPECT_EQ(call("FormatDateTime", d, 4), Variant("15:04"));
  EXPECT_EQ(call("FormatDateTime", "1/2/2026"), Variant("1/2/2026"));
  EXPECT_VB_ERROR(call("FormatDateTime", d, 5), kErrInvalidCall);
}

}  // namespace
}  // namespace scriptcontrol::vbscript
