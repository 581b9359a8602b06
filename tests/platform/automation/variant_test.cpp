#include "platform/automation/variant.h"

#include <gtest/gtest.h>

#include "platform/automation/automation_error.h"

namespace automation {
namespace {

TEST(VariantTest, DefaultIsEmpty) {
  Variant v;
  EXPECT_EQ(v.Type(), VarType::Empty);
  EXPECT_TRUE(v.IsEmpty());
  EXPECT_FALSE(v.IsNull());
}

TEST(VariantTest, EachConstructorGivesItsType) {
  EXPECT_EQ(Variant(true).Type(), VarType::Bool);
  EXPECT_EQ(Variant(int8_t{1}).Type(), VarType::Int8);
  EXPECT_EQ(Variant(int16_t{1}).Type(), VarType::Int16);
  EXPECT_EQ(Variant(1).Type(), VarType::Int32);
  EXPECT_EQ(Variant(uint8_t{1}).Type(), VarType::UInt8);
  EXPECT_EQ(Variant(1u).Type(), VarType::UInt32);
  EXPECT_EQ(Variant(1.5).Type(), VarType::Double);
  EXPECT_EQ(Variant(1.5f).Type(), VarType::Single);
  EXPECT_EQ(Variant(Date{2.0}).Type(), VarType::Date);
  EXPECT_EQ(Variant(Currency{15000}).Type(), VarType::Currency);
  EXPECT_EQ(Variant("x").Type(), VarType::String);
  EXPECT_EQ(Variant::Null().Type(), VarType::Null);
  EXPECT_EQ(Variant::Nothing().Type(), VarType::Dispatch);
  EXPECT_EQ(Variant::Unknown(nullptr).Type(), VarType::Unknown);
  EXPECT_EQ(Variant::Error(E_FAIL).Type(), VarType::Error);
  EXPECT_EQ(Variant(VariantArray()).Type(), VarType::Array);
}

TEST(VariantTest, NothingIsANullDispatch) {
  Variant v = Variant::Nothing();
  EXPECT_TRUE(v.IsObject());
  EXPECT_TRUE(v.IsNothing());
  EXPECT_EQ(v.Dispatch(), nullptr);
  EXPECT_FALSE(Variant(1).IsNothing());
}

TEST(VariantTest, MissingIsTheParamNotFoundError) {
  Variant v = Variant::Missing();
  EXPECT_TRUE(v.IsMissing());
  EXPECT_EQ(v.ErrorCode(), DISP_E_PARAMNOTFOUND);
  EXPECT_FALSE(Variant::Error(E_FAIL).IsMissing());
}

TEST(VariantTest, StringsAreUtf8AndNullTextIsEmpty) {
  Variant v("Grüße");
  EXPECT_EQ(*v.Get<std::string>(), "Grüße");
  EXPECT_EQ(*Variant(static_cast<const char*>(nullptr)).Get<std::string>(), "");
}

TEST(VariantTest, ArrayCopiesAreDeep) {
  Variant a(VariantArray({Variant(1), Variant("two")}, 1));
  Variant b = a;
  b.Array()->At(1) = Variant(99);
  EXPECT_EQ(*a.Array()->At(1).Get<int32_t>(), 1);
  EXPECT_EQ(*b.Array()->At(1).Get<int32_t>(), 99);
  EXPECT_EQ(a.Array()->LowerBound(), 1);
  EXPECT_EQ(a.Array()->UpperBound(), 2);
}

TEST(VariantTest, ArrayIndexOutsideBoundsFails) {
  VariantArray array({Variant(1)}, 0);
  EXPECT_THROW(array.At(1), AutomationError);
  EXPECT_THROW(array.At(-1), AutomationError);
  try {
    array.At(5);
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.Code(), DISP_E_BADINDEX);
  }
}

TEST(VariantTest, EmptyArrayHasUpperBelowLower) {
  VariantArray array({}, 0);
  EXPECT_EQ(array.UpperBound(), -1);
  EXPECT_EQ(array.Count(), 0u);
}

TEST(VariantTest, ByRefReachesAndChangesTarget) {
  Variant target(5);
  Variant ref = Variant::Ref(&target);
  EXPECT_TRUE(ref.IsByRef());
  EXPECT_EQ(ref.RefTarget(), &target);
  ref.Deref() = Variant("changed");
  EXPECT_EQ(*target.Get<std::string>(), "changed");
  Variant copy = ref;
  EXPECT_EQ(copy.RefTarget(), &target);
}

TEST(VariantTest, RefChainAndCycleEnd) {
  Variant a(1);
  Variant b = Variant::Ref(&a);
  Variant c = Variant::Ref(&b);
  EXPECT_EQ(&c.Deref(), &a);
  Variant x;
  Variant y = Variant::Ref(&x);
  x = Variant::Ref(&y);
  EXPECT_TRUE(x.Deref().IsByRef());  // cut, not an endless loop
}

TEST(VariantTest, MoveLeavesSourceEmpty) {
  Variant a(VariantArray({Variant(1)}));
  Variant b(std::move(a));
  EXPECT_TRUE(a.IsEmpty());  // NOLINT(bugprone-use-after-move)
  EXPECT_EQ(b.Array()->Count(), 1u);
}

TEST(VariantTest, EqualityComparesTypeAndValue) {
  EXPECT_EQ(Variant(1), Variant(1));
  EXPECT_NE(Variant(1), Variant(1.0));
  EXPECT_NE(Variant(1), Variant(int16_t{1}));
  EXPECT_EQ(Variant("a"), Variant("a"));
  EXPECT_EQ(Variant(VariantArray({Variant(1)})), Variant(VariantArray({Variant(1)})));
  EXPECT_NE(Variant(VariantArray({Variant(1)}, 0)), Variant(VariantArray({Variant(1)}, 1)));
  EXPECT_EQ(Variant(), Variant());
  EXPECT_EQ(Variant::Null(), Variant::Null());
}

TEST(VariantTest, TypeNamesAreTheSystemSpelling) {
  EXPECT_STREQ(TypeName(VarType::Int32), "Integer");
  EXPECT_STREQ(TypeName(VarType::Int16), "Smallint");
  EXPECT_STREQ(TypeName(VarType::String), "OleStr");
  EXPECT_STREQ(TypeName(VarType::Bool), "Boolean");
  EXPECT_STREQ(TypeName(VarType::UInt8), "Byte");
  EXPECT_STREQ(TypeName(VarType::UInt32), "LongWord");
  EXPECT_STREQ(TypeName(VarType::Int8), "ShortInt");
  EXPECT_STREQ(TypeName(VarType::Error), "Error");
}

}  // namespace
}  // namespace automation
