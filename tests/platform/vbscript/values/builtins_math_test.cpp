#include <gtest/gtest.h>

#include <cmath>

#include "platform/vbscript/values/builtin_caller.h"
#include "platform/vbscript/values/vb_test_support.h"

namespace scriptcontrol::vbscript {
namespace {

using automation::Variant;
using automation::VarType;

class VbMathBuiltins : public ::testing::Test {
 protected:
  testing::BuiltinCaller call;
  float Random(Variant arg = Variant::Missing()) {
    std::vector<Variant> args;
    if (!arg.IsMissing()) args.push_back(arg);
    Variant r = call.CallWith("Rnd", args);
    EXPECT_EQ(r.Type(), VarType::Single);
    return r.Get<float>() ? *r.Get<float>() : -1;
  }
};

TEST_F(VbMathBuiltins, FunctionsAndTheirDomains) {
  EXPECT_EQ(call("Sqr", 16), Variant(4.0));
  EXPECT_VB_ERROR(call("Sqr", -1), kErrInvalidCall);
  EXPECT_EQ(call("Log", 1), Variant(0.0));
  EXPECT_VB_ERROR(call("Log", 0), kErrInvalidCall);
  EXPECT_VB_ERROR(call("Exp", 710), kErrOverflow);
  EXPECT_DOUBLE_EQ(*call("Atn", 1).Get<double>() * 4, std::acos(-1.0));
  EXPECT_EQ(call("Cos", 0), Variant(1.0));
  EXPECT_TRUE(call("Sin", Variant::Null()).IsNull());
  EXPECT_VB_ERROR(call("Tan", "x"), kErrTypeMismatch);
}

TEST_F(VbMathBuiltins, RndFollowsItsArgumentRules) {
  float a = Random();
  float b = Random();
  EXPECT_GE(a, 0.0f);
  EXPECT_LT(a, 1.0f);
  EXPECT_NE(a, b);
  EXPECT_EQ(Random(Variant(0)), b);  // Rnd(0) repeats the last number
  float seeded = Random(Variant(-3));
  Random();
  EXPECT_EQ(Random(Variant(-3)), seeded);  // a negative argument always gives the same number
  EXPECT_NE(Random(Variant(-4)), seeded);
}

TEST_F(VbMathBuiltins, RandomizeReseedsTheContextsGenerator) {
  call("Randomize", 42);
  float first = Random();
  call("Randomize", 42);
  EXPECT_EQ(Random(), first);
  call("Randomize", 43);
  EXPECT_NE(Random(), first);
  std::vector<Variant> none;
  EXPECT_TRUE(call.CallWith("Randomize", none).IsEmpty());
}

}  // namespace
}  // namespace scriptcontrol::vbscript
