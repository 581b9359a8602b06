// The texts of layer properties, table by table.
#include "vorel/script/objects/layer_property_texts.h"

#include <gmock/gmock.h>

#include "platform/automation/variant_convert.h"

namespace {

using automation::Variant;

TEST(LayerPropertyTexts, ColoursReadAndReadBack) {
  struct Case {
    const char* text;
    uint32_t color;
    const char* back;
  } cases[] = {
      {"#FF0000", 0x0000FF, "clRed"},     {"$FF0000", 0x0000FF, "clRed"}, {"clred", 0x0000FF, "clRed"},
      {"red", 0, "clBlack"},              {"", 0, "clBlack"},             {"$123456", 0x563412, "$00563412"},
      {"#00FF00", 0x00FF00, "clLime"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(vorel::ColorFromScriptText(c.text), c.color) << c.text;
    EXPECT_EQ(vorel::ColorToScriptText(c.color), c.back) << c.text;
  }
  EXPECT_THROW(vorel::ColorFromScriptText("clNoSuch"), std::exception);
  EXPECT_THROW(vorel::ColorFromScriptText("cl255"), std::exception);
  EXPECT_THROW(vorel::ColorFromScriptText("#GG0000"), std::exception);
  EXPECT_THROW(vorel::ColorFromScriptText("#80000000"), std::exception) << "negative";
}

TEST(LayerPropertyTexts, LettersOfStyleAndAlignment) {
  EXPECT_EQ(vorel::FontStyleToText(1 | 4 | 16), "BU");
  EXPECT_EQ(vorel::FontStyleToText(15), "BIUS");
  EXPECT_EQ(vorel::FontAlignToText(9), "LT");
  EXPECT_EQ(vorel::FontAlignToText(2 | 16), "CM");
  EXPECT_EQ(vorel::FontAlignToText(0), "");
}

TEST(LayerPropertyTexts, Cursors) {
  EXPECT_EQ(vorel::CursorFromScriptText("crHandPoint"), static_cast<uint16_t>(-21));
  EXPECT_EQ(vorel::CursorToScriptText(static_cast<uint16_t>(-21)), "crHandPoint");
  EXPECT_EQ(vorel::CursorFromScriptText("idc_arrow"), 32512);
  EXPECT_EQ(vorel::CursorToScriptText(32512), "32512");
  EXPECT_EQ(vorel::CursorFromScriptText("-5"), static_cast<uint16_t>(-5));
  EXPECT_EQ(vorel::CursorToScriptText(65535), "");
  EXPECT_EQ(vorel::CursorToScriptText(static_cast<uint16_t>(-30)), "-30");
  EXPECT_THROW(vorel::CursorFromScriptText("70000"), std::exception);
  EXPECT_THROW(vorel::CursorFromScriptText("hand"), std::exception);
}

TEST(LayerPropertyTexts, ClipRectangles) {
  using Clip = std::array<int32_t, 4>;
  EXPECT_EQ(vorel::ClipFromVariant(Variant("1, 2, 3, 4")), (Clip{1, 2, 3, 4}));
  EXPECT_EQ(vorel::ClipFromVariant(Variant("1,2,3")), (Clip{0, 0, 0, 0}));
  EXPECT_EQ(vorel::ClipFromVariant(Variant("1,2,3,4,5")), (Clip{1, 2, 3, 4}));
  EXPECT_EQ(vorel::ClipFromVariant(Variant(automation::VariantArray({Variant(int32_t{9}), Variant("8")}))),
            (Clip{9, 8, 0, 0}))
      << "a short array leaves the rest zero";
  EXPECT_EQ(vorel::ClipFromVariant(Variant(3.5)), (Clip{0, 0, 0, 0}));
  const Variant back = vorel::ClipToVariant({4, 3, 2, 1});
  ASSERT_TRUE(back.IsArray());
  EXPECT_EQ(back.Array()->LowerBound(), 0);
  EXPECT_EQ(back.Array()->UpperBound(), 3);
  EXPECT_EQ(automation::ToInt32(back.Array()->At(0)), 4);
  EXPECT_EQ(back.Array()->At(0).Type(), automation::VarType::Int32);
}

}  // namespace
