// The pixel work of rendering: rounding, scaled placement, recolouring,
// masking and composing.
#include "vorel/runtime/image_ops.h"

#include <gtest/gtest.h>

#include <optional>

#include "platform/gdiplus/graphics.h"
#include "platform/gdiplus/pixel.h"
#include "platform/win/system_colors.h"
#include "vorel/model/layer_record.h"
#include "vorel/skin/color_names.h"

namespace vorel {
namespace {

std::unique_ptr<gdiplus::Bitmap> Solid(int w, int h, gdiplus::ARGB color) {
  auto b = std::make_unique<gdiplus::Bitmap>(w, h);
  gdiplus::Graphics(*b).Clear(color);
  return b;
}

TEST(RoundHalfEven, TiesGoToEven) {
  EXPECT_EQ(RoundHalfEven(12.5), 12);
  EXPECT_EQ(RoundHalfEven(13.5), 14);
  EXPECT_EQ(RoundHalfEven(-0.5), 0);
  EXPECT_EQ(RoundHalfEven(-1.5), -2);
  EXPECT_EQ(RoundHalfEven(2.4999), 2);
}

TEST(ScaledPlacement, ByTheScaleFlags) {
  // Wide image into a square, proportional and centred: 12.5 rounds to 12.
  EXPECT_EQ(ScaledPlacement(200, 100, 50, 50, Scale | ScaleProportional | CenterSrc), (DrawnRect{0, 12, 50, 25}));
  EXPECT_EQ(ScaledPlacement(200, 100, 50, 50, Scale | ScaleProportional), (DrawnRect{0, 0, 50, 25}));
  // Tall (and square) images take the full height.
  EXPECT_EQ(ScaledPlacement(100, 300, 60, 60, Scale | ScaleProportional | CenterSrc), (DrawnRect{20, 0, 20, 60}));
  EXPECT_EQ(ScaledPlacement(40, 40, 60, 30, Scale | ScaleProportional), (DrawnRect{0, 0, 30, 30}));
  EXPECT_EQ(ScaledPlacement(200, 100, 50, 50, Scale | CenterSrc), (DrawnRect{0, 0, 50, 50}));
  EXPECT_EQ(ScaledPlacement(10, 10, 50, 50, CenterSrc), (DrawnRect{20, 20, 10, 10}));
  EXPECT_EQ(ScaledPlacement(10, 10, 50, 50, 0), (DrawnRect{0, 0, 10, 10}));
}

TEST(ScaleIntoLayer, SolidImageKeepsItsColourAndLeavesTheRestClear) {
  auto src = Solid(200, 100, 0xFF2040C0);
  auto out = ScaleIntoLayer(*src, 50, 50, Scale | ScaleProportional | CenterSrc);
  ASSERT_EQ(out->Width(), 50);
  ASSERT_EQ(out->Height(), 50);
  EXPECT_EQ(out->GetPixel(25, 24), 0xFF2040C0u);
  EXPECT_EQ(out->GetPixel(25, 2), 0u);
  EXPECT_EQ(out->GetPixel(25, 47), 0u);
}

TEST(Recolor, VisiblePixelsTakeTheColourAndKeepAlpha) {
  gdiplus::Bitmap b(3, 1);
  b.SetPixel(0, 0, 0xFF112233);
  b.SetPixel(1, 0, 0x80FFFFFF);
  Recolor(b, 0x0000FF);  // red, COLORREF
  EXPECT_EQ(b.GetPixel(0, 0), 0xFFFF0000u);
  EXPECT_EQ(b.GetPixel(1, 0) >> 24, 0x80u);
  EXPECT_EQ(b.GetPixel(1, 0) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(b.GetPixel(2, 0), 0u);
}

TEST(Recolor, SystemColourTakesItsCurrentRgb) {
  const std::optional<uint32_t> btnFace = ColorFromName("clBtnFace");
  ASSERT_TRUE(btnFace.has_value());
  const uint32_t rgb = win::GetSysColor(15);  // the button face, as COLORREF
  const gdiplus::ARGB want = gdiplus::MakeArgb(0, rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
  gdiplus::Bitmap b(2, 1);
  b.SetPixel(0, 0, 0xFF112233);
  b.SetPixel(1, 0, 0x80FFFFFF);
  Recolor(b, *btnFace);
  EXPECT_EQ(b.GetPixel(0, 0), 0xFF000000u | want);
  EXPECT_EQ(b.GetPixel(1, 0) >> 24, 0x80u);
  // Half alpha keeps the colour only to within a step of the rounding.
  EXPECT_NEAR(static_cast<double>(gdiplus::RedOf(b.GetPixel(1, 0))), gdiplus::RedOf(want), 1);
  EXPECT_NEAR(static_cast<double>(gdiplus::GreenOf(b.GetPixel(1, 0))), gdiplus::GreenOf(want), 1);
  EXPECT_NEAR(static_cast<double>(gdiplus::BlueOf(b.GetPixel(1, 0))), gdiplus::BlueOf(want), 1);
}

TEST(ApplyMask, LuminanceBetweenTheBoundsKeepsThePixel) {
  EXPECT_NEAR(MaskLuminance(0xFF0A0A0A), 10.009, 1e-9) << "0.2999, not 0.299";
  EXPECT_DOUBLE_EQ(MaskLuminance(0xFFFFFFFF), 255.0) << "limited to 255";

  gdiplus::Bitmap mask(5, 1);
  mask.SetPixel(0, 0, 0xFF000000);  // L = 0
  mask.SetPixel(1, 0, 0xFF0A0A0A);  // L = 10.009
  mask.SetPixel(2, 0, 0xFFFFFFFF);  // L = 255
  mask.SetPixel(3, 0, 0x00000000);  // transparent mask pixel: keep
  mask.SetPixel(4, 0, 0xFF646464);  // L = 100.09
  auto image = Solid(6, 1, 0xFF336699);
  ApplyMask(*image, mask, 10, 100);
  EXPECT_EQ(image->GetPixel(0, 0), 0u);
  EXPECT_EQ(image->GetPixel(1, 0), 0xFF336699u);
  EXPECT_EQ(image->GetPixel(2, 0), 0u);
  EXPECT_EQ(image->GetPixel(3, 0), 0xFF336699u);
  EXPECT_EQ(image->GetPixel(4, 0), 0u) << "100.09 is above 100";
  EXPECT_EQ(image->GetPixel(5, 0), 0xFF336699u) << "beyond the mask";
}

TEST(ComposeImages, StripsInCellsOfTheLargestImage) {
  std::vector<std::unique_ptr<gdiplus::Bitmap>> images;
  images.push_back(Solid(10, 4, 0xFFFF0000));
  images.push_back(Solid(6, 8, 0xFF00FF00));
  auto across = ComposeImages(images, false);
  ASSERT_TRUE(across);
  EXPECT_EQ(across->Width(), 20);
  EXPECT_EQ(across->Height(), 8);
  EXPECT_EQ(across->GetPixel(9, 0), 0xFFFF0000u);
  EXPECT_EQ(across->GetPixel(10, 7), 0xFF00FF00u) << "the second starts right after the first";
  EXPECT_EQ(across->GetPixel(17, 0), 0u);
  auto down = ComposeImages(images, true);
  EXPECT_EQ(down->Width(), 10);
  EXPECT_EQ(down->Height(), 16);
  EXPECT_EQ(down->GetPixel(0, 4), 0xFF00FF00u);
  EXPECT_EQ(ComposeImages({}, true), nullptr);
}

}  // namespace
}  // namespace vorel
