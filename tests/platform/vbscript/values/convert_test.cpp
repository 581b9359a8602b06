#include "platform/scriptcontrol/vbscript/vb_convert.h"

#include <gtest/gtest.h>

#include "platform/scriptcontrol/vbscript/vb_date.h"
#include "platform/vbscript/values/value_objects.h"
#include "platform/vbscript/values/vb_test_support.h"

namespace scriptcontrol::vbscript {
namespace {

using automation::Currency;
using automation::Date;
using automation::Variant;

Date D(int y, int m, int d, int hh = 0, int mm = 0, int ss = 0) {
  return JoinDate(DayNumber(y, m, d), hh * 3600 + mm * 60 + ss);
}

TEST(VbConvert, StringsOfBooleansAndNumbers) {
  EXPECT_EQ(ToVbString(Variant(true)), "True");
  EXPECT_EQ(ToVbString(Variant(false)), "False");
  EXPECT_EQ(ToVbString(Variant()), "");
  EXPECT_EQ(ToVbString(Variant(int16_t{-32768})), "-32768");
  EXPECT_EQ(ToVbString(Variant(0.1)), "0.1");
  EXPECT_EQ(ToVbString(Variant(1e20)), "1E+20");
  EXPECT_EQ(ToVbString(Variant(-1.5e-7)), "-1.5E-07");
  EXPECT_EQ(ToVbString(Variant(123456789012345.0)), "123456789012345");
  EXPECT_EQ(ToVbString(Variant(1e15)), "1E+15");
  EXPECT_EQ(ToVbString(Variant(1.0 / 3)), "0.333333333333333");
  EXPECT_EQ(ToVbString(Variant(-0.0)), "0");
  EXPECT_EQ(ToVbString(Variant(0.1f)), "0.1");
  EXPECT_EQ(ToVbString(Variant(Currency{-12345})), "-1.2345");
  EXPECT_EQ(ToVbString(Variant(Currency{150000})), "15");
}

TEST(VbConvert, StringsOfDates) {
  EXPECT_EQ(ToVbString(Variant(D(2026, 12, 8))), "12/8/2026");
  EXPECT_EQ(ToVbString(Variant(D(2026, 12, 8, 15, 4, 5))), "12/8/2026 3:04:05 PM");
  EXPECT_EQ(ToVbString(Variant(D(1899, 12, 30, 0, 4, 5))), "12:04:05 AM");
  EXPECT_EQ(ToVbString(Variant(Date{0})), "12:00:00 AM");
  EXPECT_EQ(ToVbString(Variant(D(2026, 1, 2, 12, 0, 0))), "1/2/2026 12:00:00 PM");
  // Before day 0 the fraction still counts forward from midnight.
  EXPECT_EQ(ToVbString(Variant(Date{-1.25})), "12/29/1899 6:00:00 AM");
}

TEST(VbConvert, NullAndNothingWhereAValueIsNeeded) {
  EXPECT_VB_ERROR(ToVbString(Variant::Null()), kErrInvalidNull);
  EXPECT_VB_ERROR(ToVbDouble(Variant::Null()), kErrInvalidNull);
  EXPECT_VB_ERROR(ToVbLong(Variant::Nothing()), kErrObjectNotSet);
  EXPECT_TRUE(ValueOf(Variant::Nothing()).IsNothing());
  EXPECT_EQ(ToVbDouble(Variant()), 0);
  EXPECT_VB_ERROR(ToVbString(Variant(automation::VariantArray({Variant(1)}))), kErrTypeMismatch);
}

TEST(VbConvert, LongAndIntegerRoundHalfToEvenAndOverflow) {
  EXPECT_EQ(ToVbLong(Variant(2.5)), 2);
  EXPECT_EQ(ToVbLong(Variant(3.5)), 4);
  EXPECT_EQ(ToVbLong(Variant(-2.5)), -2);
  EXPECT_EQ(ToVbLong(Variant("  1.5 ")), 2);
  EXPECT_EQ(ToVbLong(Variant(true)), -1);
  EXPECT_EQ(ToVbLong(Variant(Currency{25000})), 2);
  EXPECT_EQ(ToVbLong(Variant(Currency{35000})), 4);
  EXPECT_EQ(ToVbLong(Variant(2147483647.4)), 2147483647);
  EXPECT_VB_ERROR(ToVbLong(Variant(2147483647.5)), kErrOverflow);
  EXPECT_EQ(ToVbInteger(Variant(int32_t{32767})), 32767);
  EXPECT_VB_ERROR(ToVbInteger(Variant(int32_t{32768})), kErrOverflow);
  EXPECT_EQ(ToVbInteger(Variant(-32768.5)), -32768);
  EXPECT_VB_ERROR(ToVbByte(Variant(-1)), kErrOverflow);
  EXPECT_EQ(ToVbByte(Variant(255.4)), 255);
  EXPECT_VB_ERROR(ToVbLong(Variant("twelve")), kErrTypeMismatch);
}

TEST(VbConvert, NumericStrings) {
  EXPECT_EQ(ParseVbNumber(" -12.5e2 "), -1250);
  EXPECT_EQ(ParseVbNumber("+.5"), 0.5);
  EXPECT_EQ(ParseVbNumber("5."), 5);
  EXPECT_EQ(ParseVbNumber("1,234.5"), 1234.5);
  EXPECT_EQ(ParseVbNumber("&H1F"), 31);
  EXPECT_EQ(ParseVbNumber("&hFFFF"), -1);
  EXPECT_EQ(ParseVbNumber("&H10000"), 65536);
  EXPECT_EQ(ParseVbNumber("&O17"), 15);
  EXPECT_EQ(ParseVbNumber("&17"), 15);
  EXPECT_EQ(ParseVbNumber("1D3"), 1000);
  for (const char* bad : {"", "  ", "-", ".", "1e", "1.2.3", "12abc", "&H", "&HG", "&O8", ",5", "1 2"})
    EXPECT_FALSE(ParseVbNumber(bad).has_value()) << bad;
  EXPECT_TRUE(IsVbNumeric(Variant(" 7 ")));
  EXPECT_TRUE(IsVbNumeric(Variant()));
  EXPECT_TRUE(IsVbNumeric(Variant(true)));
  EXPECT_FALSE(IsVbNumeric(Variant("7a")));
  EXPECT_FALSE(IsVbNumeric(Variant::Null()));
  EXPECT_FALSE(IsVbNumeric(Variant(D(2026, 1, 1))));
  EXPECT_VB_ERROR(ToVbDouble(Variant("1e999")), kErrOverflow);
}

TEST(VbConvert, Booleans) {
  EXPECT_TRUE(ToVbBool(Variant("TRUE")));
  EXPECT_FALSE(ToVbBool(Variant(" false ")));
  EXPECT_TRUE(ToVbBool(Variant("-0.5")));
  EXPECT_FALSE(ToVbBool(Variant("0")));
  EXPECT_TRUE(ToVbBool(Variant(0.001)));
  EXPECT_FALSE(ToVbBool(Variant()));
  EXPECT_VB_ERROR(ToVbBool(Variant("yes")), kErrTypeMismatch);
  EXPECT_VB_ERROR(ToVbBool(Variant::Null()), kErrInvalidNull);
}

TEST(VbConvert, CurrencyAndSingle) {
  EXPECT_EQ(ToVbCurrency(Variant(1.23456)).scaled, 12346);
  EXPECT_EQ(ToVbCurrency(Variant(0.00005)).scaled, 0);
  EXPECT_EQ(ToVbCurrency(Variant("2.5")).scaled, 25000);
  EXPECT_VB_ERROR(ToVbCurrency(Variant(1e16)), kErrOverflow);
  EXPECT_VB_ERROR(ToVbSingle(Variant(1e39)), kErrOverflow);
}

TEST(VbConvert, Dates) {
  EXPECT_EQ(ToVbDate(Variant("12/8/2026")), D(2026, 12, 8));
  EXPECT_EQ(ToVbDate(Variant(45000)), Date{45000});
  EXPECT_EQ(ToVbDate(Variant()), Date{0});
  EXPECT_VB_ERROR(ToVbDate(Variant("soon")), kErrTypeMismatch);
  EXPECT_VB_ERROR(ToVbDate(Variant(1e9)), kErrOverflow);
  EXPECT_VB_ERROR(ToVbString(Variant(Date{1e300})), kErrOverflow);
}

TEST(VbConvert, TypeNamesAndVarTypes) {
  EXPECT_EQ(VbTypeName(Variant()), "Empty");
  EXPECT_EQ(VbTypeName(Variant::Null()), "Null");
  EXPECT_EQ(VbTypeName(Variant(int16_t{1})), "Integer");
  EXPECT_EQ(VbTypeName(Variant(1)), "Long");
  EXPECT_EQ(VbTypeName(Variant(uint8_t{1})), "Byte");
  EXPECT_EQ(VbTypeName(Variant(Currency{})), "Currency");
  EXPECT_EQ(VbTypeName(Variant(Date{})), "Date");
  EXPECT_EQ(VbTypeName(Variant(automation::VariantArray())), "Variant()");
  EXPECT_EQ(VbTypeName(Variant::Nothing()), "Nothing");
  EXPECT_EQ(VbVarType(Variant(automation::VariantArray())), 8204);
  EXPECT_EQ(VbVarType(Variant("x")), 8);
  Variant target(2.5);
  EXPECT_EQ(VbTypeName(Variant::Ref(&target)), "Double");
  EXPECT_EQ(VbVarType(Variant::Nothing()), 9);
}

TEST(VbConvert, ObjectsGiveTheirDefaultValue) {
  auto label = automation::MakeObject<testing::LabelObject>();
  label->value = Variant("42");
  Variant object(automation::ComPtr<automation::IDispatch>(label.Get()));
  EXPECT_EQ(ValueOf(object), Variant("42"));
  EXPECT_EQ(ToVbLong(object), 42);
  EXPECT_EQ(VbTypeName(object), "Label");
  // VarType reports the default value's type.
  EXPECT_EQ(VbVarType(object), 8);

  label->failWith = static_cast<automation::HRESULT>(0x800A0005u);
  try {
    ToVbString(object);
    ADD_FAILURE() << "no error";
  } catch (const VbError& e) {
    EXPECT_EQ(e.Number(), kErrInvalidCall);
    EXPECT_EQ(e.Description(), "broken");
  }
  label->failWith = automation::E_FAIL;
  EXPECT_VB_ERROR(ValueOf(object), automation::E_FAIL);

  Variant plain(automation::ComPtr<automation::IDispatch>(automation::MakeObject<testing::PlainObject>().Get()));
  EXPECT_EQ(VbTypeName(plain), "Widget");
  EXPECT_EQ(VbVarType(plain), 9);
  EXPECT_VB_ERROR(ValueOf(plain), kErrNoSuchMember);
  EXPECT_FALSE(IsVbNumeric(plain));
  EXPECT_VB_ERROR(ToVbString(plain), kErrNoSuchMember);
}

}  // namespace
}  // namespace scriptcontrol::vbscript
