#include "platform/automation/variant_convert.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/automation/automation_error.h"

namespace automation {
namespace {

// The message of the failure f raises.
template <class F>
std::string FailureText(F f) {
  try {
    f();
  } catch (const AutomationError& e) {
    return e.what();
  }
  return "(no failure)";
}

TEST(VariantConvertTest, RoundsHalfToEven) {
  EXPECT_EQ(ToInt32(Variant(2.5)), 2);
  EXPECT_EQ(ToInt32(Variant(3.5)), 4);
  EXPECT_EQ(ToInt32(Variant(-2.5)), -2);
  EXPECT_EQ(ToInt32(Variant(-3.5)), -4);
  EXPECT_EQ(ToInt32(Variant(2.4999)), 2);
  EXPECT_EQ(ToInt32(Variant(2.5001)), 3);
  EXPECT_EQ(RoundHalfEven(0.5), 0);
  EXPECT_EQ(RoundHalfEven(1.5), 2);
}

TEST(VariantConvertTest, OutOfRangeIsRangeCheckError) {
  EXPECT_EQ(FailureText([] { ToUInt8(Variant(256)); }), "Range check error");
  EXPECT_EQ(FailureText([] { ToUInt8(Variant(-1)); }), "Range check error");
  EXPECT_EQ(FailureText([] { ToInt16(Variant(40000)); }), "Range check error");
  EXPECT_EQ(FailureText([] { ToInt32(Variant(3e9)); }), "Range check error");
  EXPECT_EQ(FailureText([] { ToUInt32(Variant(-1)); }), "Range check error");
  EXPECT_EQ(FailureText([] { ToInt32(Variant(std::nan(""))); }), "Range check error");
  EXPECT_EQ(FailureText([] { ToSingle(Variant(1e300)); }), "Range check error");
  EXPECT_EQ(ToUInt8(Variant(255)), 255);
  EXPECT_EQ(ToUInt32(Variant(int64_t{4294967295})), 4294967295u);
}

TEST(VariantConvertTest, TextToInteger) {
  EXPECT_EQ(ToInt32(Variant(" 42 ")), 42);
  EXPECT_EQ(ToInt32(Variant("-7")), -7);
  EXPECT_EQ(ToInt32(Variant("$1F")), 31);
  EXPECT_EQ(ToInt32(Variant("0x10")), 16);
  EXPECT_EQ(ToInt32(Variant("2.5")), 2);
  EXPECT_EQ(FailureText([] { ToInt32(Variant("abc")); }), "'abc' is not a valid integer value");
  EXPECT_EQ(FailureText([] { ToInt32(Variant("")); }), "'' is not a valid integer value");
  EXPECT_EQ(FailureText([] { ToInt32(Variant("99999999999")); }), "Range check error");
}

TEST(VariantConvertTest, ImpossibleConversionsNameBothTypes) {
  EXPECT_EQ(FailureText([] { ToInt32(Variant::Null()); }),
            "Could not convert variant of type (Null) into type (Integer)");
  EXPECT_EQ(FailureText([] { ToString(Variant::Missing()); }),
            "Could not convert variant of type (Error) into type (OleStr)");
  EXPECT_EQ(FailureText([] { ToUInt8(Variant::Missing()); }),
            "Could not convert variant of type (Error) into type (Byte)");
  EXPECT_EQ(FailureText([] { ToDouble(Variant("x")); }),
            "Could not convert variant of type (OleStr) into type (Double)");
  EXPECT_EQ(FailureText([] { ToBool(Variant("maybe")); }),
            "Could not convert variant of type (OleStr) into type (Boolean)");
  EXPECT_EQ(FailureText([] { ToInt16(Variant(VariantArray())); }),
            "Could not convert variant of type (Array) into type (Smallint)");
  EXPECT_EQ(FailureText([] { ToDispatch(Variant(1)); }),
            "Could not convert variant of type (Integer) into type (Dispatch)");
}

TEST(VariantConvertTest, FailuresCarryUnexpected) {
  try {
    ToInt32(Variant("zz"));
    FAIL();
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.Code(), E_UNEXPECTED);
  }
}

TEST(VariantConvertTest, EmptyIsZeroFalseAndEmptyText) {
  EXPECT_EQ(ToInt32(Variant()), 0);
  EXPECT_FALSE(ToBool(Variant()));
  EXPECT_EQ(ToString(Variant()), "");
  EXPECT_EQ(ToDispatch(Variant()), nullptr);
}

TEST(VariantConvertTest, Booleans) {
  EXPECT_EQ(ToInt32(Variant(true)), -1);
  EXPECT_EQ(ToInt32(Variant(false)), 0);
  EXPECT_TRUE(ToBool(Variant(2)));
  EXPECT_FALSE(ToBool(Variant(0.0)));
  EXPECT_TRUE(ToBool(Variant("TRUE")));
  EXPECT_FALSE(ToBool(Variant("false")));
  EXPECT_TRUE(ToBool(Variant("1")));
  EXPECT_EQ(ToString(Variant(true)), "True");
  EXPECT_EQ(ToString(Variant(false)), "False");
}

TEST(VariantConvertTest, NumbersToText) {
  EXPECT_EQ(ToString(Variant(42)), "42");
  EXPECT_EQ(ToString(Variant(-5)), "-5");
  EXPECT_EQ(ToString(Variant(0.1)), "0.1");
  EXPECT_EQ(ToString(Variant(2.5)), "2.5");
  EXPECT_EQ(ToString(Variant(1e20)), "1E20");
  EXPECT_EQ(ToString(Variant(1.5e-7)), "1.5E-7");
  EXPECT_EQ(ToString(Variant(std::numeric_limits<double>::infinity())), "INF");
  EXPECT_EQ(ToString(Variant(Currency{125000})), "12.5");
  EXPECT_EQ(ToString(Variant(Currency{-10001})), "-1.0001");
  EXPECT_EQ(ToString(Variant(uint32_t{4000000000u})), "4000000000");
}

TEST(VariantConvertTest, TextToDouble) {
  EXPECT_DOUBLE_EQ(ToDouble(Variant("2.25")), 2.25);
  EXPECT_DOUBLE_EQ(ToDouble(Variant(" -1e3 ")), -1000.0);
  EXPECT_DOUBLE_EQ(ToDouble(Variant(7)), 7.0);
}

TEST(VariantConvertTest, Dates) {
  EXPECT_EQ(FormatDate(Date{0}), "1899-12-30");
  EXPECT_EQ(FormatDate(Date{2.5}), "1900-01-01 12:00:00");
  EXPECT_EQ(FormatDate(Date{45000}), "2023-03-15");
  EXPECT_EQ(FormatDate(Date{0.25}), "06:00:00");
  EXPECT_DOUBLE_EQ(ToDouble(Variant(Date{3.75})), 3.75);
  EXPECT_DOUBLE_EQ(ToDate(Variant(10)).days, 10.0);
}

TEST(VariantConvertTest, ByRefConvertsItsTarget) {
  Variant target("12");
  Variant ref = Variant::Ref(&target);
  EXPECT_EQ(ToInt32(ref), 12);
  EXPECT_EQ(ToString(ref), "12");
}

TEST(VariantConvertTest, ChangeType) {
  EXPECT_EQ(ChangeType(Variant("5"), VarType::Int16), Variant(int16_t{5}));
  EXPECT_EQ(ChangeType(Variant(3), VarType::String), Variant("3"));
  EXPECT_EQ(ChangeType(Variant(1.5), VarType::Variant), Variant(1.5));
  EXPECT_EQ(ChangeType(Variant(2), VarType::Bool), Variant(true));
  EXPECT_THROW(ChangeType(Variant(2), VarType::Error), AutomationError);
}

}  // namespace
}  // namespace automation
