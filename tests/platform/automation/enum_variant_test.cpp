#include "platform/automation/enum_variant.h"

#include <gtest/gtest.h>

namespace automation {
namespace {

ComPtr<IEnumVARIANT> ThreeItems() {
  return MakeObject<VariantListEnumerator>(std::vector<Variant>{Variant(1), Variant("two"), Variant(3.0)});
}

TEST(EnumVariantTest, NextFetchesUntilTheEnd) {
  ComPtr<IEnumVARIANT> e = ThreeItems();
  Variant items[2];
  uint32_t fetched = 99;
  EXPECT_EQ(e->Next(2, items, &fetched), S_OK);
  EXPECT_EQ(fetched, 2u);
  EXPECT_EQ(items[1], Variant("two"));
  EXPECT_EQ(e->Next(2, items, &fetched), S_FALSE);
  EXPECT_EQ(fetched, 1u);
  EXPECT_EQ(items[0], Variant(3.0));
  EXPECT_EQ(e->Next(1, items, nullptr), S_FALSE);
}

TEST(EnumVariantTest, SkipResetAndClone) {
  ComPtr<IEnumVARIANT> e = ThreeItems();
  EXPECT_EQ(e->Skip(1), S_OK);
  IEnumVARIANT* raw = nullptr;
  ASSERT_EQ(e->Clone(&raw), S_OK);
  ComPtr<IEnumVARIANT> clone = ComPtr<IEnumVARIANT>::Attach(raw);
  EXPECT_EQ(e->Skip(5), S_FALSE);
  Variant item;
  EXPECT_EQ(e->Next(1, &item, nullptr), S_FALSE);
  // The clone stayed where the original was when cloned.
  EXPECT_EQ(clone->Next(1, &item, nullptr), S_OK);
  EXPECT_EQ(item, Variant("two"));
  EXPECT_EQ(e->Reset(), S_OK);
  EXPECT_EQ(e->Next(1, &item, nullptr), S_OK);
  EXPECT_EQ(item, Variant(1));
}

TEST(EnumVariantTest, BadArgumentsAreRefused) {
  ComPtr<IEnumVARIANT> e = ThreeItems();
  EXPECT_EQ(e->Next(1, nullptr, nullptr), E_POINTER);
  EXPECT_EQ(e->Clone(nullptr), E_POINTER);
  EXPECT_EQ(e->Next(0, nullptr, nullptr), S_OK);
}

TEST(EnumVariantTest, IsAnUnknown) {
  ComPtr<IEnumVARIANT> e = ThreeItems();
  EXPECT_TRUE(e.As<IUnknown>());
  EXPECT_TRUE(e.As<IEnumVARIANT>());
}

}  // namespace
}  // namespace automation
