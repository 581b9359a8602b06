// Attribute texts of layers: colours, style and alignment letters, cursors
// and clip rectangles.
#include "vorel/skin/layer_attributes.h"

#include <gtest/gtest.h>

#include "vorel/skin/color_names.h"
#include "vorel/skin/cursor_names.h"

namespace vorel {
namespace {

TEST(LayerColors, HexIsWebOrderStoredRedLow) {
  EXPECT_EQ(ColorFromText("#0080FF"), 0xFF8000u);
  EXPECT_EQ(ColorFromText("$FF0000"), 255u);
  // Bits above the 24 are dropped.
  EXPECT_EQ(ColorFromText("#7F0000FF"), 0xFF0000u);
  EXPECT_EQ(ColorFromText("#zz"), std::nullopt);
  EXPECT_EQ(ColorFromText("#FFFFFFFF"), std::nullopt) << "negative";
}

TEST(LayerColors, NamesAndOtherTexts) {
  EXPECT_EQ(ColorFromText("clRed"), 255u);
  EXPECT_EQ(ColorFromText("clred"), 255u) << "names ignore case";
  EXPECT_EQ(ColorFromText("clBtnFace"), kSystemColorFlag + 15);
  EXPECT_EQ(ColorFromText("clMenuBar"), kSystemColorFlag + 30);
  EXPECT_EQ(ColorFromText("clNone"), 0x1FFFFFFFu);
  EXPECT_EQ(ColorFromText("clNoSuch"), std::nullopt);
  EXPECT_EQ(ColorFromText("red"), 0u);
  EXPECT_EQ(ColorFromText("CLRed"), 0u) << "the prefix test is case-sensitive";
  EXPECT_EQ(NameOfColor(0xFF0000), "clBlue");
  EXPECT_EQ(ColorToRgb(kSystemColorFlag + 5), 0xFFFFFFu) << "window background is white";
  EXPECT_EQ(ColorToRgb(0x12345678), 0x345678u);
}

TEST(LayerFontStyle, LettersAnywhereCaseSensitive) {
  EXPECT_EQ(FontStyleFromText("BI", true), 19);
  EXPECT_EQ(FontStyleFromText("BI", false), 3);
  EXPECT_EQ(FontStyleFromText("xSxUx", false), 12);
  EXPECT_EQ(FontStyleFromText("bius", false), 0);
  EXPECT_EQ(FontStyleFromText("", true), 16);
}

TEST(LayerFontAlign, EmptyIsLeftTopNoLetterIsZero) {
  EXPECT_EQ(FontAlignFromText(""), 9);
  EXPECT_EQ(FontAlignFromText("CM"), 18);
  EXPECT_EQ(FontAlignFromText("RB"), 36);
  EXPECT_EQ(FontAlignFromText("xyz"), 0);
}

TEST(LayerCursor, NamesNumbersAndSystemNames) {
  EXPECT_EQ(CursorFromText("crHandPoint"), 65515);
  EXPECT_EQ(CursorFromText("CRHANDPOINT"), std::nullopt) << "the cr prefix is case-sensitive";
  EXPECT_EQ(CursorFromText("crhandpoint"), 65515) << "names ignore case";
  EXPECT_EQ(CursorFromText("crSize"), 65514);
  EXPECT_EQ(CursorFromText("crDefault"), 0);
  EXPECT_EQ(CursorFromText("crNope"), std::nullopt);
  EXPECT_EQ(CursorFromText("IDC_HAND"), 32649);
  EXPECT_EQ(CursorFromText("IDC_whatever"), 0);
  EXPECT_EQ(CursorFromText("12"), 12);
  EXPECT_EQ(CursorFromText("-21"), 65515);
  EXPECT_EQ(CursorFromText("hand"), std::nullopt);
  EXPECT_EQ(NameOfCursor(-22), "crSizeAll");
  EXPECT_EQ(NameOfCursor(5), std::nullopt);
  EXPECT_EQ(CursorFromName("idc_arrow"), 32512);
}

TEST(LayerClipSource, ExactlyFourIntegers) {
  using Clip = std::array<int32_t, 4>;
  EXPECT_EQ(ClipSourceFromText("1, 2, 30, 40"), (Clip{1, 2, 30, 40}));
  EXPECT_EQ(ClipSourceFromText("$10,0,x20,5"), (Clip{16, 0, 32, 5}));
  EXPECT_EQ(ClipSourceFromText("1,2,3"), (Clip{0, 0, 0, 0}));
  EXPECT_EQ(ClipSourceFromText("1,2,3,4,5"), (Clip{0, 0, 0, 0}));
  EXPECT_EQ(ClipSourceFromText("1,2,three,4"), (Clip{0, 0, 0, 0}));
  EXPECT_EQ(ClipSourceFromText(""), (Clip{0, 0, 0, 0}));
}

}  // namespace
}  // namespace vorel
