// Bitmap storage: construction limits, straight-alpha pixel round trips,
// clones, and the surface being the storage itself.
#include <gtest/gtest.h>

#include <cairo.h>

#include <cstdlib>
#include <stdexcept>

#include "platform/gdiplus/bitmap.h"
#include "platform/gdiplus/pixel.h"

namespace gdiplus {
namespace {

TEST(BitmapTest, NewBitmapIsTransparentAndSized) {
  Bitmap bitmap(7, 3);
  EXPECT_EQ(bitmap.Width(), 7);
  EXPECT_EQ(bitmap.Height(), 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 7; ++x) EXPECT_EQ(bitmap.GetPixel(x, y), 0u);
  EXPECT_EQ(cairo_image_surface_get_format(bitmap.Surface()), CAIRO_FORMAT_ARGB32);
}

TEST(BitmapTest, RejectsSizesCairoCannotHold) {
  const int sizes[][2] = {{0, 1}, {1, 0}, {-5, 10}, {40000, 10}, {10, 32768}};
  for (const auto& size : sizes) {
    EXPECT_THROW(Bitmap(size[0], size[1]), std::invalid_argument) << size[0] << "x" << size[1];
  }
  EXPECT_NO_THROW(Bitmap(32767, 1));
}

TEST(BitmapTest, OpaqueAndTransparentPixelsRoundTripExactly) {
  Bitmap bitmap(2, 1);
  for (uint32_t rgb : {0x000000u, 0xFFFFFFu, 0x123456u, 0xFF0080u}) {
    bitmap.SetPixel(0, 0, 0xFF000000u | rgb);
    EXPECT_EQ(bitmap.GetPixel(0, 0), 0xFF000000u | rgb);
  }
  // Premultiplied storage keeps no colour under alpha 0.
  bitmap.SetPixel(1, 0, 0x00ABCDEFu);
  EXPECT_EQ(bitmap.GetPixel(1, 0), 0u);
}

TEST(BitmapTest, AlphaOneRoundsEachChannelToNearest) {
  Bitmap bitmap(1, 1);
  // Under alpha 1 a channel premultiplies to round(c / 255): 0 below 128, 1
  // from 128 on, which reads back as 0 or 255.
  bitmap.SetPixel(0, 0, 0x017F80FFu);
  EXPECT_EQ(bitmap.GetPixel(0, 0), 0x0100FFFFu);
}

TEST(BitmapTest, SemiTransparentRoundTripIsWithinRoundingAndStable) {
  Bitmap bitmap(1, 1);
  for (uint32_t a : {1u, 2u, 127u, 128u, 254u, 255u}) {
    // The most a channel can move is half a premultiplied step, 127.5 / a.
    const int tolerance = static_cast<int>(127.5 / a + 0.5);
    for (uint32_t c = 0; c < 256; ++c) {
      const uint32_t in = MakeArgb(a, c, 255 - c, c / 2);
      bitmap.SetPixel(0, 0, in);
      const uint32_t out = bitmap.GetPixel(0, 0);
      ASSERT_EQ(AlphaOf(out), a);
      ASSERT_LE(std::abs(static_cast<int>(RedOf(out)) - static_cast<int>(c)), tolerance) << a << " " << c;
      ASSERT_LE(std::abs(static_cast<int>(GreenOf(out)) - static_cast<int>(255 - c)), tolerance) << a << " " << c;
      // Writing back what was read changes nothing.
      bitmap.SetPixel(0, 0, out);
      ASSERT_EQ(bitmap.GetPixel(0, 0), out) << a << " " << c;
    }
  }
}

TEST(BitmapTest, OutOfRangeAccessIsHarmless) {
  Bitmap bitmap(2, 2);
  bitmap.SetPixel(-1, 0, 0xFFFFFFFFu);
  bitmap.SetPixel(2, 0, 0xFFFFFFFFu);
  bitmap.SetPixel(0, 2, 0xFFFFFFFFu);
  EXPECT_EQ(bitmap.GetPixel(-1, 0), 0u);
  EXPECT_EQ(bitmap.GetPixel(0, 5), 0u);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) EXPECT_EQ(bitmap.GetPixel(x, y), 0u);
}

TEST(BitmapTest, CloneIsIndependent) {
  Bitmap original(3, 2);
  original.SetPixel(1, 1, 0x80FF0000u);
  auto clone = original.Clone();
  ASSERT_EQ(clone->Width(), 3);
  ASSERT_EQ(clone->Height(), 2);
  EXPECT_EQ(clone->GetPixel(1, 1), original.GetPixel(1, 1));
  EXPECT_NE(clone->Surface(), original.Surface());
  clone->SetPixel(1, 1, 0xFF00FF00u);
  original.SetPixel(0, 0, 0xFF0000FFu);
  EXPECT_EQ(original.GetPixel(1, 1) & 0xFF000000u, 0x80000000u);
  EXPECT_EQ(clone->GetPixel(1, 1), 0xFF00FF00u);
  EXPECT_EQ(clone->GetPixel(0, 0), 0u);
}

TEST(BitmapTest, SurfaceIsTheStorage) {
  Bitmap bitmap(4, 4);
  bitmap.SetPixel(2, 3, 0xFF336699u);
  cairo_surface_t* surface = bitmap.Surface();
  cairo_surface_flush(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  EXPECT_EQ(*reinterpret_cast<const uint32_t*>(data + 3 * stride + 2 * 4), 0xFF336699u);

  // Drawing through the surface is seen by GetPixel.
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgb(cr, 1, 0, 0);
  cairo_rectangle(cr, 0, 0, 1, 1);
  cairo_fill(cr);
  cairo_destroy(cr);
  EXPECT_EQ(bitmap.GetPixel(0, 0), 0xFFFF0000u);
}

TEST(BitmapTest, SurfaceReferenceOutlivesTheBitmap) {
  cairo_surface_t* kept = nullptr;
  {
    Bitmap bitmap(2, 2);
    bitmap.SetPixel(1, 1, 0xFF00FF00u);
    kept = cairo_surface_reference(bitmap.Surface());
  }
  const unsigned char* data = cairo_image_surface_get_data(kept);
  EXPECT_EQ(*reinterpret_cast<const uint32_t*>(data + cairo_image_surface_get_stride(kept) + 4), 0xFF00FF00u);
  cairo_surface_destroy(kept);
}

TEST(BitmapTest, PixelAccessRowsArePremultiplied) {
  Bitmap bitmap(3, 2);
  {
    PixelAccess pixels(bitmap);
    pixels.Row(1)[2] = Premultiply(0x80FF0000u);
  }
  EXPECT_EQ(bitmap.Row(1)[2], 0x80800000u);
  EXPECT_EQ(bitmap.GetPixel(2, 1), 0x80FF0000u);
}

TEST(PixelTest, PremultiplyAndBack) {
  struct Case {
    uint32_t straight;
    uint32_t premultiplied;
  };
  const Case cases[] = {
      {0xFF123456u, 0xFF123456u}, {0x00FFFFFFu, 0u},          {0x80FFFFFFu, 0x80808080u},
      {0x01FFFFFFu, 0x01010101u}, {0xFE808080u, 0xFE7F7F7Fu}, {0x40FF0000u, 0x40400000u},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Premultiply(c.straight), c.premultiplied) << std::hex << c.straight;
  }
  EXPECT_EQ(Unpremultiply(0x80808080u), 0x80FFFFFFu);
  EXPECT_EQ(Unpremultiply(0x40400000u), 0x40FF0000u);
  // A malformed premultiplied word (colour above alpha) clamps.
  EXPECT_EQ(Unpremultiply(0x10FF0000u), 0x10FF0000u);
}

}  // namespace
}  // namespace gdiplus
