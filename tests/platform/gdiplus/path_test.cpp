// Paths: text outlines added with AddString and filled with FillPath.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/gdiplus/graphics.h"
#include "platform/gdiplus/pixel.h"
#include "test_images.h"

namespace gdiplus {
namespace {

using gdiplus_test::FindInk;
using gdiplus_test::InkBox;

struct AlphaCounts {
  int partial = 0;
  int full = 0;
};

AlphaCounts CountAlpha(const Bitmap& bitmap) {
  AlphaCounts counts;
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      const uint32_t a = AlphaOf(bitmap.GetPixel(x, y));
      counts.partial += a > 0 && a < 255;
      counts.full += a == 255;
    }
  }
  return counts;
}

double AlphaSum(const Bitmap& bitmap) {
  double sum = 0;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) sum += AlphaOf(bitmap.GetPixel(x, y));
  return sum;
}

void FillText(Bitmap& bitmap, SmoothingMode mode, const StringFormat& format = StringFormat()) {
  Graphics g(bitmap);
  g.SetSmoothingMode(mode);
  GraphicsPath path;
  path.AddString("Path text", FontFamily("Arial"), FontStyleBold, 20, RectF{10, 10, 180, 60}, format);
  ASSERT_FALSE(path.IsEmpty());
  g.FillPath(SolidBrush(0xFFC01020u), path);
}

TEST(PathTest, AntialiasedFillHasSoftEdges) {
  Bitmap bitmap(200, 80);
  FillText(bitmap, SmoothingMode::AntiAlias);
  const AlphaCounts counts = CountAlpha(bitmap);
  EXPECT_GT(counts.full, 50);
  EXPECT_GT(counts.partial, 50);
}

TEST(PathTest, UnsmoothedFillHasHardEdges) {
  Bitmap bitmap(200, 80);
  FillText(bitmap, SmoothingMode::None);
  const AlphaCounts counts = CountAlpha(bitmap);
  EXPECT_GT(counts.full, 50);
  EXPECT_EQ(counts.partial, 0);
}

TEST(PathTest, PathTextLandsWhereDrawStringPutsIt) {
  for (StringAlignment align : {StringAlignment::Near, StringAlignment::Center, StringAlignment::Far}) {
    Bitmap viaPath(200, 80);
    FillText(viaPath, SmoothingMode::AntiAlias, StringFormat(align));
    Bitmap viaString(200, 80);
    {
      Graphics g(viaString);
      g.DrawString("Path text", Font(FontFamily("Arial"), 20, FontStyleBold), RectF{10, 10, 180, 60},
                   StringFormat(align), SolidBrush(0xFFC01020u));
    }
    const InkBox a = FindInk(viaPath, 64);
    const InkBox b = FindInk(viaString, 64);
    ASSERT_FALSE(a.Empty());
    EXPECT_LE(std::abs(a.left - b.left), 1);
    EXPECT_LE(std::abs(a.right - b.right), 1);
    EXPECT_LE(std::abs(a.top - b.top), 1);
    EXPECT_LE(std::abs(a.bottom - b.bottom), 1);
  }
}

// Small text far from the rectangle's left edge: every glyph outline must
// be there, not only those near the origin (cairo drops glyphs it judges
// to be off the surface it is building the path on).
TEST(PathTest, SmallTextAlignedFarFromTheLeftKeepsEveryGlyph) {
  const std::string text = "a desklet in one skin file";
  for (int style : {FontStyleRegular, FontStyleUnderline}) {
    for (StringAlignment align : {StringAlignment::Near, StringAlignment::Center, StringAlignment::Far}) {
      SCOPED_TRACE(testing::Message() << "style " << style << " alignment " << static_cast<int>(align));
      const RectF rect{0, 0, 300, 20};
      GraphicsPath path;
      path.AddString(text, FontFamily("Arial"), style, 14, rect, StringFormat(align));
      Bitmap viaPath(300, 20);
      Graphics filled(viaPath);
      filled.SetSmoothingMode(SmoothingMode::AntiAlias);
      filled.FillPath(SolidBrush(0xFF000000u), path);
      Bitmap viaString(300, 20);
      Graphics(viaString).DrawString(text, Font(FontFamily("Arial"), 14, style), rect, StringFormat(align),
                                     SolidBrush(0xFF000000u));
      const InkBox a = FindInk(viaPath, 64);
      const InkBox b = FindInk(viaString, 64);
      ASSERT_FALSE(b.Empty());
      if (a.Empty()) {
        ADD_FAILURE() << "no glyph outlines at all";
        continue;
      }
      EXPECT_LE(std::abs(a.left - b.left), 1);
      EXPECT_LE(std::abs(a.right - b.right), 1);
      EXPECT_LE(std::abs(a.top - b.top), 1);
      EXPECT_LE(std::abs(a.bottom - b.bottom), 1);
      // An underline spans the whole text even when glyphs are missing.
      EXPECT_NEAR(AlphaSum(viaPath) / AlphaSum(viaString), 1.0, 0.05);
    }
  }
}

TEST(PathTest, LinesBelowTheRectangleAreLeftOut) {
  GraphicsPath all;
  all.AddString("one\ntwo\nthree", FontFamily("Arial"), 0, 20, RectF{0, 0, 200, 0}, StringFormat());
  GraphicsPath first;
  first.AddString("one\ntwo\nthree", FontFamily("Arial"), 0, 20, RectF{0, 0, 200, 20}, StringFormat());
  Bitmap a(200, 100);
  Bitmap b(200, 100);
  Graphics(a).FillPath(SolidBrush(0xFF000000u), all);
  Graphics(b).FillPath(SolidBrush(0xFF000000u), first);
  EXPECT_GT(FindInk(a).bottom, 60);
  EXPECT_LT(FindInk(b).bottom, 25);
}

TEST(PathTest, EmptyAndInvalidPathsFillNothing) {
  GraphicsPath path;
  path.AddString("text", FontFamily("Arial"), 0, 0, RectF{0, 0, 50, 50}, StringFormat());
  path.AddString("", FontFamily("Arial"), 0, 12, RectF{0, 0, 50, 50}, StringFormat());
  EXPECT_TRUE(path.IsEmpty());
  Bitmap bitmap(50, 50);
  Graphics(bitmap).FillPath(SolidBrush(0xFF000000u), path);
  EXPECT_TRUE(FindInk(bitmap).Empty());
}

TEST(PathTest, RectangleFillModes) {
  // Two nested rectangles: even-odd leaves a hole, non-zero fills it.
  for (FillMode mode : {FillMode::Alternate, FillMode::Winding}) {
    GraphicsPath path(mode);
    path.AddRectangle(RectF{0, 0, 10, 10});
    path.AddRectangle(RectF{3, 3, 4, 4});
    Bitmap bitmap(10, 10);
    Graphics(bitmap).FillPath(SolidBrush(0xFF00FF00u), path);
    EXPECT_EQ(bitmap.GetPixel(1, 1), 0xFF00FF00u);
    EXPECT_EQ(bitmap.GetPixel(5, 5), mode == FillMode::Winding ? 0xFF00FF00u : 0u);
  }
}

}  // namespace
}  // namespace gdiplus
