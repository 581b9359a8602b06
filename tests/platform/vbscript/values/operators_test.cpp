#include "platform/scriptcontrol/vbscript/vb_operators.h"

#include <gtest/gtest.h>

#include "platform/scriptcontrol/vbscript/vb_convert.h"
#include "platform/scriptcontrol/vbscript/vb_date.h"
#include "platform/vbscript/values/value_objects.h"
#include "platform/vbscript/values/vb_test_support.h"

namespace scriptcontrol::vbscript {
namespace {

using automation::Currency;
using automation::Date;
using automation::Variant;
using automation::VarType;

Variant I(int16_t v) { return Variant(v); }
Variant B(uint8_t v) { return Variant(v); }

TEST(VbOperators, IntegersWidenOnOverflow) {
  EXPECT_EQ(Binary(BinaryOp::Add, I(32766), I(1)), I(32767));
  EXPECT_EQ(Binary(BinaryOp::Add, I(32767), I(1)), Variant(32768));
  EXPECT_EQ(Binary(BinaryOp::Multiply, I(-32768), I(-1)), Variant(32768));
  EXPECT_EQ(Binary(BinaryOp::Add, Variant(2147483647), I(1)), Variant(2147483648.0));
  EXPECT_EQ(Binary(BinaryOp::Add, B(200), B(55)), B(255));
  EXPECT_EQ(Binary(BinaryOp::Add, B(200), B(56)), I(256));
  EXPECT_EQ(Binary(BinaryOp::Subtract, B(1), B(2)), I(-1));
  EXPECT_EQ(Binary(BinaryOp::Add, Variant(true), Variant(true)), I(-2));
  EXPECT_EQ(Binary(BinaryOp::Add, Variant(), Variant()), I(0));
  EXPECT_EQ(Binary(BinaryOp::Add, Variant(), B(3)), B(3));
  EXPECT_EQ(Binary(BinaryOp::Add, Variant(1.5f), I(1)), Variant(2.5f));
  EXPECT_EQ(Binary(BinaryOp::Add, Variant(1.5f), Variant(1)).Type(), VarType::Double);
  EXPECT_VB_ERROR(Binary(BinaryOp::Multiply, Variant(1e300), Variant(1e300)), kErrOverflow);
}

TEST(VbOperators, PlusJoinsTextAndAddsNumbers) {
  EXPECT_EQ(Binary(BinaryOp::Add, Variant("a"), Variant("b")), Variant("ab"));
  EXPECT_EQ(Binary(BinaryOp::Add, Variant("1"), Variant("2")), Variant("12"));
  EXPECT_EQ(Binary(BinaryOp::Add, Variant("1"), I(2)), Variant(3.0));
  EXPECT_EQ(Binary(BinaryOp::Add, Variant(), Variant("x")), Variant("x"));
  EXPECT_EQ(Binary(BinaryOp::Subtract, Variant("5"), Variant("2")), Variant(3.0));
  EXPECT_VB_ERROR(Binary(BinaryOp::Add, Variant("a"), I(1)), kErrTypeMismatch);
  EXPECT_TRUE(Binary(BinaryOp::Add, Variant::Null(), Variant("a")).IsNull());
}

TEST(VbOperators, Concatenation) {
  EXPECT_EQ(Binary(BinaryOp::Concat, I(1), Variant(true)), Variant("1True"));
  EXPECT_EQ(Binary(BinaryOp::Concat, Variant::Null(), Variant(2.5)), Variant("2.5"));
  EXPECT_EQ(Binary(BinaryOp::Concat, Variant(), Variant()), Variant(""));
  EXPECT_TRUE(Binary(BinaryOp::Concat, Variant::Null(), Variant::Null()).IsNull());
  EXPECT_VB_ERROR(Binary(BinaryOp::Concat, Variant("a"), Variant::Nothing()), kErrObjectNotSet);
}

TEST(VbOperators, Division) {
  EXPECT_EQ(Binary(BinaryOp::Divide, I(1), I(2)), Variant(0.5));
  EXPECT_EQ(Binary(BinaryOp::Divide, I(4), I(2)), Variant(2.0));
  EXPECT_VB_ERROR(Binary(BinaryOp::Divide, I(1), I(0)), kErrDivisionByZero);
  EXPECT_VB_ERROR(Binary(BinaryOp::Divide, I(0), Variant()), kErrOverflow);
  EXPECT_EQ(Binary(BinaryOp::IntDivide, Variant(7.5), I(2)), Variant(4));  // 8 \ 2
  EXPECT_EQ(Binary(BinaryOp::IntDivide, I(7), I(2)), I(3));
  EXPECT_EQ(Binary(BinaryOp::IntDivide, B(7), B(2)), B(3));
  EXPECT_EQ(Binary(BinaryOp::IntDivide, I(-32768), I(-1)), Variant(32768));
  EXPECT_EQ(Binary(BinaryOp::Mod, I(-7), I(3)), I(-1));
  EXPECT_EQ(Binary(BinaryOp::Mod, Variant(6.5), Variant(2.5)), Variant(0));  // 6 Mod 2
  EXPECT_VB_ERROR(Binary(BinaryOp::Mod, I(5), Variant(0.4)), kErrDivisionByZero);
  EXPECT_VB_ERROR(Binary(BinaryOp::IntDivide, Variant(-2147483647 - 1), Variant(-1)), kErrOverflow);
  EXPECT_VB_ERROR(Binary(BinaryOp::IntDivide, Variant(3e9), I(1)), kErrOverflow);
  EXPECT_TRUE(Binary(BinaryOp::Mod, Variant::Null(), I(0)).IsNull());
}

TEST(VbOperators, Power) {
  EXPECT_EQ(Binary(BinaryOp::Power, I(2), I(10)), Variant(1024.0));
  EXPECT_EQ(Binary(BinaryOp::Power, I(-8), I(3)), Variant(-512.0));
  EXPECT_VB_ERROR(Binary(BinaryOp::Power, I(-8), Variant(1.0 / 3)), kErrInvalidCall);
  EXPECT_VB_ERROR(Binary(BinaryOp::Power, I(0), I(-1)), kErrInvalidCall);
  EXPECT_VB_ERROR(Binary(BinaryOp::Power, I(10), I(400)), kErrOverflow);
}

TEST(VbOperators, CurrencyAndDates) {
  EXPECT_EQ(Binary(BinaryOp::Multiply, Variant(Currency{15000}), Variant(Currency{15000})), Variant(Currency{22500}));
  EXPECT_EQ(Binary(BinaryOp::Add, Variant(Currency{10000}), Variant(0.5)), Variant(Currency{15000}));
  EXPECT_EQ(Binary(BinaryOp::Add, Variant(Currency{10000}), I(2)), Variant(Currency{30000}));
  EXPECT_VB_ERROR(Binary(BinaryOp::Multiply, Variant(Currency{INT64_MAX}), I(2)), kErrOverflow);
  Date d{46364};
  EXPECT_EQ(Binary(BinaryOp::Add, Variant(d), I(1)), Variant(Date{46365}));
  EXPECT_EQ(Binary(BinaryOp::Subtract, Variant(d), Variant(Date{46360})), Variant(4.0));
  EXPECT_EQ(Binary(BinaryOp::Subtract, Variant(d), Variant(0.5)), Variant(Date{46363.5}));
  EXPECT_VB_ERROR(Binary(BinaryOp::Add, Variant(d), Variant(1e8)), kErrOverflow);
}

TEST(VbOperators, NullPropagatesThroughArithmeticAndComparison) {
  for (BinaryOp op : {BinaryOp::Add, BinaryOp::Subtract, BinaryOp::Multiply, BinaryOp::Divide, BinaryOp::Power,
                      BinaryOp::Equal, BinaryOp::Less, BinaryOp::Xor, BinaryOp::Eqv})
    EXPECT_TRUE(Binary(op, Variant::Null(), I(1)).IsNull());
  EXPECT_TRUE(Unary(UnaryOp::Negate, Variant::Null()).IsNull());
  EXPECT_TRUE(Unary(UnaryOp::Not, Variant::Null()).IsNull());
  EXPECT_EQ(CompareValues(Variant::Null(), Variant::Null()), kCompareNull);
}

TEST(VbOperators, LogicalOperatorsAreBitwiseAndThreeValued) {
  EXPECT_EQ(Binary(BinaryOp::And, Variant(true), Variant(false)), Variant(false));
  EXPECT_EQ(Binary(BinaryOp::Or, I(12), I(3)), I(15));
  EXPECT_EQ(Binary(BinaryOp::Xor, Variant(6), I(3)), Variant(5));
  EXPECT_EQ(Binary(BinaryOp::And, B(0xF0), B(0x3C)), B(0x30));
  EXPECT_EQ(Binary(BinaryOp::Eqv, Variant(true), Variant(true)), Variant(true));
  EXPECT_EQ(Binary(BinaryOp::Imp, Variant(true), Variant(false)), Variant(false));
  EXPECT_EQ(Binary(BinaryOp::And, Variant(true), I(5)), I(5));
  EXPECT_EQ(Binary(BinaryOp::And, Variant(7.5), I(6)), Variant(0));  // 8 And 6
  EXPECT_EQ(Binary(BinaryOp::Or, Variant("True"), Variant(false)), Variant(true));

  EXPECT_EQ(Binary(BinaryOp::And, Variant::Null(), Variant(false)), Variant(false));
  EXPECT_TRUE(Binary(BinaryOp::And, Variant::Null(), Variant(true)).IsNull());
  EXPECT_EQ(Binary(BinaryOp::Or, Variant(true), Variant::Null()), Variant(true));
  EXPECT_TRUE(Binary(BinaryOp::Or, Variant::Null(), Variant(false)).IsNull());
  EXPECT_EQ(Binary(BinaryOp::Imp, Variant(false), Variant::Null()), Variant(true));
  EXPECT_EQ(Binary(BinaryOp::Imp, Variant::Null(), Variant(true)), Variant(true));
  EXPECT_TRUE(Binary(BinaryOp::Imp, Variant(true), Variant::Null()).IsNull());
  EXPECT_TRUE(Binary(BinaryOp::Imp, Variant::Null(), Variant(false)).IsNull());

  EXPECT_EQ(Unary(UnaryOp::Not, Variant(true)), Variant(false));
  EXPECT_EQ(Unary(UnaryOp::Not, I(0)), I(-1));
  EXPECT_EQ(Unary(UnaryOp::Not, Variant()), I(-1));
  EXPECT_EQ(Unary(UnaryOp::Not, B(0)), B(255));
  EXPECT_EQ(Unary(UnaryOp::Not, Variant(1.4)), Variant(-2));
  EXPECT_VB_ERROR(Binary(BinaryOp::And, Variant("x"), I(1)), kErrTypeMismatch);
}

TEST(VbOperators, Negation) {
  EXPECT_EQ(Unary(UnaryOp::Negate, I(-32768)), Variant(32768));
  EXPECT_EQ(Unary(UnaryOp::Negate, Variant(-2147483647 - 1)), Variant(2147483648.0));
  EXPECT_EQ(Unary(UnaryOp::Negate, Variant(true)), I(1));
  EXPECT_EQ(Unary(UnaryOp::Negate, B(5)), I(-5));
  EXPECT_EQ(Unary(UnaryOp::Negate, Variant()), I(0));
  EXPECT_EQ(Unary(UnaryOp::Negate, Variant("2")), Variant(-2.0));
  EXPECT_EQ(Unary(UnaryOp::Plus, Variant("abc")), Variant("abc"));
  EXPECT_VB_ERROR(Unary(UnaryOp::Negate, Variant("abc")), kErrTypeMismatch);
}

TEST(VbOperators, Comparisons) {
  EXPECT_EQ(Binary(BinaryOp::Equal, I(1), Variant(1.0)), Variant(true));
  EXPECT_EQ(Binary(BinaryOp::Less, Variant("a"), Variant("b")), Variant(true));
  EXPECT_EQ(Binary(BinaryOp::Less, Variant("B"), Variant("a")), Variant(true));
  EXPECT_EQ(CompareValues(Variant("B"), Variant("a"), true), 1);
  EXPECT_EQ(CompareValues(Variant("ABC"), Variant("abc"), true), 0);
  // A number is less than any text, numeric or not.
  EXPECT_EQ(Binary(BinaryOp::Less, I(9), Variant("1")), Variant(true));
  EXPECT_EQ(Binary(BinaryOp::Equal, Variant("1"), I(1)), Variant(false));
  EXPECT_EQ(Binary(BinaryOp::Equal, Variant(), Variant("")), Variant(true));
  EXPECT_EQ(Binary(BinaryOp::Equal, Variant(), I(0)), Variant(true));
  EXPECT_EQ(Binary(BinaryOp::Equal, Variant(true), I(-1)), Variant(true));
  EXPECT_EQ(Binary(BinaryOp::GreaterEqual, Variant(Currency{INT64_MAX}), Variant(Currency{INT64_MAX - 1})),
            Variant(true));
  // UTF-16 order: U+FF21 sorts after U+1F600's high surrogate.
  EXPECT_EQ(CompareValues(Variant("\xEF\xBC\xA1"), Variant("\xF0\x9F\x98\x80")), 1);
  EXPECT_VB_ERROR(CompareValues(Variant(automation::VariantArray()), I(1)), kErrTypeMismatch);
}

TEST(VbOperators, ObjectsAndIdentity) {
  auto label = automation::MakeObject<testing::LabelObject>();
  label->value = Variant(int16_t{5});
  Variant a(automation::ComPtr<automation::IDispatch>(label.Get()));
  Variant other(automation::ComPtr<automation::IDispatch>(automation::MakeObject<testing::LabelObject>().Get()));
  EXPECT_EQ(Binary(BinaryOp::Add, a, I(1)), I(6));
  Variant ref = Variant::Ref(&a);
  EXPECT_TRUE(SameObject(ref, a));
  EXPECT_FALSE(SameObject(a, other));
  EXPECT_TRUE(SameObject(Variant::Nothing(), Variant::Nothing()));
  EXPECT_FALSE(SameObject(a, Variant::Nothing()));
  EXPECT_VB_ERROR(SameObject(a, I(1)), kErrObjectRequired);
  EXPECT_VB_ERROR(Binary(BinaryOp::Add, Variant::Nothing(), I(1)), kErrObjectNotSet);
}

}  // namespace
}  // namespace scriptcontrol::vbscript
