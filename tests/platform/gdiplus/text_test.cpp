// Text: family resolution through the pinned font configuration, drawing in
// a layout rectangle with alignment, wrapping and clipping, and measuring.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "platform/gdiplus/graphics.h"
#include "platform/gdiplus/pixel.h"
#include "test_images.h"

namespace gdiplus {
namespace {

using gdiplus_test::FindInk;
using gdiplus_test::InkBox;

struct FamilyCase {
  const char* requested;
  const char* resolved;
};

class FamilyTest : public ::testing::TestWithParam<FamilyCase> {};

TEST_P(FamilyTest, ResolvesToItsMetricTwin) {
  EXPECT_EQ(FontFamily(GetParam().requested).ResolvedName(), GetParam().resolved);
}

INSTANTIATE_TEST_SUITE_P(
    Families, FamilyTest,
    ::testing::Values(FamilyCase{"Arial", "Liberation Sans"}, FamilyCase{"arial", "Liberation Sans"},
                      FamilyCase{"Times New Roman", "Liberation Serif"}, FamilyCase{"Courier New", "Liberation Mono"},
                      FamilyCase{"Tahoma", "Liberation Sans"}, FamilyCase{"Verdana", "Liberation Sans"},
                      FamilyCase{"Segoe UI", "Liberation Sans"}, FamilyCase{"MS Sans Serif", "Liberation Sans"},
                      FamilyCase{"No Such Family 123", "Liberation Sans"}, FamilyCase{"", "Liberation Sans"},
                      FamilyCase{"Courier New, Arial", "Liberation Sans"}));

class TextTest : public ::testing::Test {
 protected:
  // Draws text into rect on a fresh 200 by 100 bitmap and returns its ink.
  InkBox Draw(const std::string& text, const RectF& rect, StringAlignment align = StringAlignment::Near,
              StringAlignment lineAlign = StringAlignment::Near, const char* family = "Arial", float size = 14,
              int style = FontStyleRegular) {
    bitmap_ = std::make_unique<Bitmap>(200, 100);
    Graphics g(*bitmap_);
    g.DrawString(text, Font(FontFamily(family), size, style), rect, StringFormat(align, lineAlign),
                 SolidBrush(0xFF204080u));
    return FindInk(*bitmap_);
  }

  SizeF Measure(const std::string& text, const char* family = "Arial", float size = 14, int style = 0) {
    Bitmap scratch(1, 1);
    return Graphics(scratch).MeasureString(text, Font(FontFamily(family), size, style));
  }

  // Strongly inked pixels of the last drawing inside box.
  int CountInk(const InkBox& box) const {
    int count = 0;
    for (int y = box.top; y < box.bottom; ++y)
      for (int x = box.left; x < box.right; ++x) count += AlphaOf(bitmap_->GetPixel(x, y)) > 128;
    return count;
  }

  std::unique_ptr<Bitmap> bitmap_;
};

TEST_F(TextTest, InkStaysInsideTheLayoutRectangle) {
  const RectF rect{20, 10, 80, 30};
  const InkBox ink = Draw("The quick brown fox jumps over the lazy dog again and again", rect);
  ASSERT_FALSE(ink.Empty());
  EXPECT_GE(ink.left, 20);
  EXPECT_GE(ink.top, 10);
  EXPECT_LE(ink.right, 100);
  EXPECT_LE(ink.bottom, 40);
  // Wrapped onto more than one line and cut at the bottom.
  EXPECT_GT(ink.bottom - ink.top, 20);
}

TEST_F(TextTest, InkHasTheBrushColour) {
  Draw("Hello", RectF{0, 0, 200, 100});
  int solid = 0;
  for (int y = 0; y < 100; ++y) {
    for (int x = 0; x < 200; ++x) {
      const ARGB p = bitmap_->GetPixel(x, y);
      if (AlphaOf(p) == 255) {
        ++solid;
        EXPECT_EQ(p, 0xFF204080u);
      }
    }
  }
  EXPECT_GT(solid, 10);
}

TEST_F(TextTest, HorizontalAlignmentPlacesInk) {
  const RectF rect{10, 10, 180, 40};
  const InkBox nearInk = Draw("Word", rect, StringAlignment::Near);
  const InkBox centerInk = Draw("Word", rect, StringAlignment::Center);
  const InkBox farInk = Draw("Word", rect, StringAlignment::Far);
  ASSERT_FALSE(nearInk.Empty());
  EXPECT_LE(std::abs(nearInk.left - 10), 3);
  EXPECT_LE(std::abs(centerInk.CenterX() - 100), 2.5);
  EXPECT_LE(std::abs(farInk.right - 190), 3);
  // Same glyphs, same ink width, only moved.
  EXPECT_EQ(nearInk.right - nearInk.left, farInk.right - farInk.left);
  EXPECT_EQ(nearInk.top, centerInk.top);
  EXPECT_EQ(nearInk.top, farInk.top);
}

TEST_F(TextTest, LineAlignmentPlacesInkVertically) {
  const RectF rect{0, 0, 200, 100};
  const InkBox top = Draw("Word", rect, StringAlignment::Near, StringAlignment::Near);
  const InkBox middle = Draw("Word", rect, StringAlignment::Near, StringAlignment::Center);
  const InkBox bottom = Draw("Word", rect, StringAlignment::Near, StringAlignment::Far);
  EXPECT_LT(top.bottom, 25);
  EXPECT_NEAR(middle.CenterY(), 50, 5);
  EXPECT_GT(bottom.top, 75);
}

TEST_F(TextTest, UnboundedRectangleAlignsOnItsEdge) {
  // A zero-width rectangle: centre alignment centres the text on x.
  const InkBox centred = Draw("Word", RectF{100, 10, 0, 0}, StringAlignment::Center);
  EXPECT_NEAR(centred.CenterX(), 100, 2.5);
  const InkBox far = Draw("Word", RectF{100, 10, 0, 0}, StringAlignment::Far);
  EXPECT_LE(far.right, 100);
  EXPECT_GE(far.right, 96);
}

TEST_F(TextTest, LineBreaksAndWrapping) {
  const SizeF one = Measure("Ab");
  const SizeF lf = Measure("Ab\nAb");
  const SizeF crlf = Measure("Ab\r\nAb");
  EXPECT_NEAR(lf.height, 2 * one.height, 1);
  EXPECT_FLOAT_EQ(crlf.height, lf.height);
  EXPECT_FLOAT_EQ(crlf.width, one.width);

  Bitmap scratch(1, 1);
  Graphics g(scratch);
  const Font font(FontFamily("Arial"), 14);
  const SizeF wide = g.MeasureString("alpha beta gamma", font);
  const SizeF wrapped = g.MeasureString("alpha beta gamma", font, wide.width / 2);
  EXPECT_GT(wrapped.height, 1.5f * wide.height);
  EXPECT_LE(wrapped.width, wide.width / 2);
  // A single long word still breaks inside the width.
  const SizeF word = g.MeasureString("abcdefghijklmnopqrstuvwxyz", font, 40);
  EXPECT_LE(word.width, 40);
}

TEST_F(TextTest, MeasureGrowsWithTextAndSize) {
  const SizeF shortText = Measure("Hello");
  const SizeF longText = Measure("Hello, world");
  const SizeF big = Measure("Hello", "Arial", 28);
  EXPECT_GT(longText.width, shortText.width);
  EXPECT_FLOAT_EQ(longText.height, shortText.height);
  EXPECT_NEAR(big.width / shortText.width, 2.0, 0.05);
  EXPECT_NEAR(big.height / shortText.height, 2.0, 0.05);
  EXPECT_GT(Measure("Hello", "Arial", 14, FontStyleBold).width, shortText.width);
  EXPECT_EQ(Measure("").width, 0);
}

TEST_F(TextTest, MetricTwinsKeepTheirCharacterWidths) {
  // Courier New is monospaced; Arial is not.
  EXPECT_FLOAT_EQ(Measure("iiii", "Courier New").width, Measure("MMMM", "Courier New").width);
  EXPECT_LT(Measure("iiii", "Arial").width, Measure("MMMM", "Arial").width);
  // Liberation Sans shares Arial's advance widths: "M" is 0.833 em.
  EXPECT_NEAR(Measure("MMMMMMMMMM", "Arial", 100).width, 833, 2);
}

TEST_F(TextTest, MissingFamilyStillDraws) {
  const InkBox ink = Draw("Fallback", RectF{0, 0, 200, 100}, StringAlignment::Near, StringAlignment::Near,
                          "Font That Does Not Exist");
  EXPECT_FALSE(ink.Empty());
  EXPECT_FLOAT_EQ(Measure("Fallback", "Font That Does Not Exist").width, Measure("Fallback", "Arial").width);
}

TEST_F(TextTest, UnderlineAndStrikeoutAddInk) {
  const RectF rect{0, 0, 200, 100};
  const InkBox plain = Draw("aaaa", rect);
  const int plainInk = CountInk(plain);
  // "a" has no descender: the underline is the lowest ink.
  const InkBox underlined = Draw("aaaa", rect, StringAlignment::Near, StringAlignment::Near, "Arial", 14,
                                 FontStyleUnderline);
  EXPECT_GT(underlined.bottom, plain.bottom);
  // The strike line runs through the letters, inside their box.
  Draw("aaaa", rect, StringAlignment::Near, StringAlignment::Near, "Arial", 14, FontStyleStrikeout);
  EXPECT_GT(CountInk(plain), plainInk + 10);
}

TEST_F(TextTest, BadInputDrawsNothingOrSomethingButNeverFails) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  EXPECT_TRUE(Draw("Text", RectF{0, 0, 200, 100}, StringAlignment::Near, StringAlignment::Near, "Arial", 0).Empty());
  EXPECT_TRUE(Draw("Text", RectF{0, 0, 200, 100}, StringAlignment::Near, StringAlignment::Near, "Arial", nan).Empty());
  EXPECT_TRUE(Draw("Text", RectF{nan, 0, 200, 100}).Empty());
  EXPECT_TRUE(Draw("", RectF{0, 0, 200, 100}).Empty());
  EXPECT_EQ(Measure("Text", "Arial", -3).width, 0);
  // Invalid UTF-8 and an embedded NUL are repaired, not passed to Pango.
  EXPECT_FALSE(Draw(std::string("ab\xC3\x28\xFF", 5), RectF{0, 0, 200, 100}).Empty());
  EXPECT_FALSE(Draw(std::string("a\0b", 3), RectF{0, 0, 200, 100}).Empty());
  // UTF-8 text draws.
  EXPECT_FALSE(Draw("Grüße €", RectF{0, 0, 200, 100}).Empty());
}

}  // namespace
}  // namespace gdiplus
