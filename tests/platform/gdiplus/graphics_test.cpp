// Graphics on a bitmap: clearing, and drawing images scaled into rectangles
// with each interpolation mode.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/gdiplus/graphics.h"
#include "platform/gdiplus/pixel.h"

namespace gdiplus {
namespace {

void Fill(Bitmap& bitmap, ARGB color) {
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) bitmap.SetPixel(x, y, color);
}

int CountNot(const Bitmap& bitmap, ARGB color) {
  int count = 0;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) count += bitmap.GetPixel(x, y) != color;
  return count;
}

TEST(GraphicsTest, ClearReplacesEveryPixel) {
  Bitmap bitmap(5, 4);
  bitmap.SetPixel(1, 1, 0xFFFFFFFFu);
  Graphics g(bitmap);
  g.Clear(0x80FF0000u);
  EXPECT_EQ(CountNot(bitmap, 0x80FF0000u), 0);
  g.Clear(0);
  EXPECT_EQ(CountNot(bitmap, 0), 0);
}

TEST(GraphicsTest, NearestDoublingIsExact) {
  Bitmap source(3, 2);
  const ARGB colors[] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0x80FFFFFFu, 0xFF000000u, 0x40123456u};
  for (int i = 0; i < 6; ++i) source.SetPixel(i % 3, i / 3, colors[i]);
  Bitmap target(6, 4);
  Graphics g(target);
  g.SetInterpolationMode(InterpolationMode::NearestNeighbor);
  g.DrawImage(source, 0, 0, 6, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(target.GetPixel(x, y), source.GetPixel(x / 2, y / 2)) << x << "," << y;
}

struct ScaleCase {
  InterpolationMode mode;
  int fromW, fromH, toW, toH;
};

class SolidScaleTest : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(SolidScaleTest, SolidImageKeepsItsColourToTheEdges) {
  const ScaleCase& c = GetParam();
  Bitmap source(c.fromW, c.fromH);
  Fill(source, 0xFF3C78B4u);
  Bitmap target(c.toW, c.toH);
  Graphics g(target);
  g.SetInterpolationMode(c.mode);
  g.DrawImage(source, 0, 0, static_cast<float>(c.toW), static_cast<float>(c.toH));
  EXPECT_EQ(CountNot(target, 0xFF3C78B4u), 0);
}

INSTANTIATE_TEST_SUITE_P(Modes, SolidScaleTest,
                         ::testing::Values(ScaleCase{InterpolationMode::HighQualityBicubic, 64, 48, 17, 13},
                                           ScaleCase{InterpolationMode::HighQualityBicubic, 10, 7, 33, 29},
                                           ScaleCase{InterpolationMode::Bilinear, 64, 48, 17, 13},
                                           ScaleCase{InterpolationMode::Bilinear, 10, 7, 33, 29},
                                           ScaleCase{InterpolationMode::NearestNeighbor, 10, 7, 33, 29}));

TEST(GraphicsTest, BicubicShrinkAveragesWhereBilinearAliases) {
  // One-pixel black and white columns shrunk three times: every target
  // pixel centre falls on one source pixel centre, so bilinear sampling sees
  // pure black or white, while a filter that reads every covered pixel mixes.
  Bitmap stripes(48, 6);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 48; ++x) stripes.SetPixel(x, y, x % 2 ? 0xFFFFFFFFu : 0xFF000000u);
  auto shrink = [&stripes](InterpolationMode mode) {
    auto target = std::make_unique<Bitmap>(16, 2);
    Graphics g(*target);
    g.SetInterpolationMode(mode);
    g.DrawImage(stripes, 0, 0, 16, 2);
    return target;
  };
  auto smooth = shrink(InterpolationMode::HighQualityBicubic);
  auto bilinear = shrink(InterpolationMode::Bilinear);
  for (int x = 2; x < 14; ++x) {
    const int grey = static_cast<int>(RedOf(smooth->GetPixel(x, 1)));
    EXPECT_GT(grey, 40) << x;
    EXPECT_LT(grey, 215) << x;
    const uint32_t red = RedOf(bilinear->GetPixel(x, 1));
    EXPECT_TRUE(red == 0 || red == 255) << x << " " << red;
  }
}

TEST(GraphicsTest, DrawImageCompositesOverAndStaysInItsRectangle) {
  Bitmap target(10, 10);
  Fill(target, 0xFF0000FFu);
  Bitmap half(2, 2);
  Fill(half, 0x80FF0000u);
  Graphics g(target);
  g.DrawImage(half, 2, 3, 4, 5);
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) {
      const bool inside = x >= 2 && x < 6 && y >= 3 && y < 8;
      const ARGB p = target.GetPixel(x, y);
      if (!inside) {
        EXPECT_EQ(p, 0xFF0000FFu) << x << "," << y;
      } else {
        EXPECT_EQ(AlphaOf(p), 255u);
        EXPECT_NEAR(static_cast<int>(RedOf(p)), 128, 1);
        EXPECT_NEAR(static_cast<int>(BlueOf(p)), 127, 1);
      }
    }
  }
}

TEST(GraphicsTest, DrawImageAtOwnSizeAndOffset) {
  Bitmap source(2, 1);
  source.SetPixel(0, 0, 0xFF112233u);
  source.SetPixel(1, 0, 0xFF445566u);
  Bitmap target(5, 3);
  Graphics g(target);
  g.DrawImage(source, 3, 2);
  EXPECT_EQ(target.GetPixel(3, 2), 0xFF112233u);
  EXPECT_EQ(target.GetPixel(4, 2), 0xFF445566u);
  EXPECT_EQ(CountNot(target, 0), 2);
}

TEST(GraphicsTest, EmptyOrNonFiniteRectanglesDrawNothing) {
  Bitmap source(2, 2);
  Fill(source, 0xFFFFFFFFu);
  Bitmap target(4, 4);
  Graphics g(target);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  g.DrawImage(source, 0, 0, 0, 4);
  g.DrawImage(source, 0, 0, 4, -1);
  g.DrawImage(source, nan, 0, 4, 4);
  g.DrawImage(source, 0, 0, inf, 4);
  g.FillRectangle(SolidBrush(0xFFFFFFFFu), RectF{0, 0, nan, 4});
  EXPECT_EQ(CountNot(target, 0), 0);
}

TEST(GraphicsTest, DrawingABitmapOntoItselfUsesTheOriginal) {
  Bitmap bitmap(4, 1);
  for (int x = 0; x < 4; ++x) bitmap.SetPixel(x, 0, MakeArgb(255, static_cast<uint32_t>(x * 60), 0, 0));
  Graphics g(bitmap);
  g.SetInterpolationMode(InterpolationMode::NearestNeighbor);
  g.DrawImage(bitmap, 1, 0, 4, 1);
  EXPECT_EQ(RedOf(bitmap.GetPixel(0, 0)), 0u);
  for (int x = 1; x < 4; ++x) EXPECT_EQ(RedOf(bitmap.GetPixel(x, 0)), static_cast<uint32_t>((x - 1) * 60)) << x;
}

TEST(GraphicsTest, GraphicsMayOutliveItsBitmapObject) {
  auto bitmap = std::make_unique<Bitmap>(3, 3);
  Graphics g(*bitmap);
  bitmap.reset();
  g.Clear(0xFFFFFFFFu);  // draws on the surface the context still holds
  SUCCEED();
}

}  // namespace
}  // namespace gdiplus
