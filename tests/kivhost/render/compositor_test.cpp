#include "kivhost/render/compositor.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "render/surfaces.h"

namespace kivhost {
namespace {

using hosttest::PixelAt;
using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;

Surface Render(const HostDesklet& d, cairo_surface_t* image = nullptr) {
  return Surface(RenderDesklet(d, image), cairo_surface_destroy);
}

TEST(Compositor, PlacementIsScaledToTheDeskletSize) {
  HostDesklet d(1);
  d.SetSize({200, 200});
  HostLayer& l = *d.Layer(d.AddLayer("red"));
  l.image = hosttest::Picture(hosttest::SolidSurface(10, 10, 0xFFFF0000));
  l.placement = RefRect{{50, 50, 100, 100}, 100, 100};  // 100..200 at this size
  auto s = Render(d);
  EXPECT_EQ(PixelAt(s.get(), 99, 99), 0u);
  EXPECT_EQ(PixelAt(s.get(), 100, 100), 0xFFFF0000u);
  EXPECT_EQ(PixelAt(s.get(), 199, 199), 0xFFFF0000u);
}

TEST(Compositor, ClipRectChoosesThePartShown) {
  HostDesklet d(1);
  d.SetSize({10, 10});
  cairo_surface_t* two = hosttest::SolidSurface(20, 10, 0xFF0000FF);  // blue left
  cairo_t* cr = cairo_create(two);
  cairo_set_source_rgb(cr, 0, 1, 0);
  cairo_rectangle(cr, 10, 0, 10, 10);  // green right
  cairo_fill(cr);
  cairo_destroy(cr);
  HostLayer& l = *d.Layer(d.AddLayer("strip"));
  l.image = hosttest::Picture(two);
  l.placement = RefRect{{0, 0, 10, 10}, 10, 10};
  l.clip = RefRect{{10, 0, 20, 10}, 20, 10};
  auto s = Render(d);
  EXPECT_EQ(PixelAt(s.get(), 0, 0), 0xFF00FF00u);
  EXPECT_EQ(PixelAt(s.get(), 9, 9), 0xFF00FF00u);
}

TEST(Compositor, AlphaAndVisibilityAndOrder) {
  HostDesklet d(1);
  d.SetSize({4, 4});
  d.Layer(d.AddLayer("under"))->image = hosttest::Picture(hosttest::SolidSurface(4, 4, 0xFF0000FF));
  HostLayer& over = *d.Layer(d.AddLayer("over"));
  over.image = hosttest::Picture(hosttest::SolidSurface(4, 4, 0xFFFF0000));
  over.alpha = 0;
  EXPECT_EQ(PixelAt(Render(d).get(), 1, 1), 0xFF0000FFu);
  over.alpha = 255;
  EXPECT_EQ(PixelAt(Render(d).get(), 1, 1), 0xFFFF0000u);
  over.alpha = 128;
  const uint32_t mixed = PixelAt(Render(d).get(), 1, 1);
  EXPECT_NEAR((mixed >> 16) & 0xFF, 128, 2);
  EXPECT_NEAR(mixed & 0xFF, 127, 2);
  over.visible = false;
  EXPECT_EQ(PixelAt(Render(d).get(), 1, 1), 0xFF0000FFu);
}

TEST(Compositor, DeskletPictureIsStretchedUnderTheLayers) {
  HostDesklet d(1);
  d.SetSize({8, 8});
  Surface picture(hosttest::SolidSurface(2, 2, 0xFF00FF00), cairo_surface_destroy);
  auto s = Render(d, picture.get());
  EXPECT_EQ(PixelAt(s.get(), 7, 7), 0xFF00FF00u);
}

TEST(Compositor, RotationTurnsAboutTheCentre) {
  HostDesklet d(1);
  d.SetSize({20, 20});
  cairo_surface_t* bar = hosttest::SolidSurface(20, 20, 0);
  cairo_t* cr = cairo_create(bar);
  cairo_set_source_rgb(cr, 1, 0, 0);
  cairo_rectangle(cr, 0, 8, 20, 4);  // a horizontal bar
  cairo_fill(cr);
  cairo_destroy(cr);
  HostLayer& l = *d.Layer(d.AddLayer("bar"));
  l.image = hosttest::Picture(bar);
  l.rotation = 90;
  auto s = Render(d);
  EXPECT_EQ(PixelAt(s.get(), 10, 1) >> 24, 0xFFu);  // now vertical
  EXPECT_EQ(PixelAt(s.get(), 1, 10) >> 24, 0u);
}

TEST(Compositor, RotatedLayerEdgesAreSmoothed) {
  // A bar inside a transparent picture, turned by 30 degrees: its edges cut
  // through pixels, so a smooth filter leaves some partly covered, where a
  // nearest filter gives each pixel all or nothing. Only pixels well inside
  // the layer's rectangle count, so the rectangle's own antialiased border
  // cannot pass for the bar's.
  HostDesklet d(1);
  d.SetSize({40, 40});
  cairo_surface_t* bar = hosttest::SolidSurface(40, 40, 0);
  cairo_t* cr = cairo_create(bar);
  cairo_set_source_rgb(cr, 1, 0, 0);
  cairo_rectangle(cr, 0, 16, 40, 8);
  cairo_fill(cr);
  cairo_destroy(cr);
  HostLayer& l = *d.Layer(d.AddLayer("bar"));
  l.image = hosttest::Picture(bar);
  l.rotation = 30;
  auto s = Render(d);
  int partly = 0, opaque = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) {
      if ((x - 20) * (x - 20) + (y - 20) * (y - 20) > 14 * 14) continue;
      const uint32_t a = PixelAt(s.get(), x, y) >> 24;
      if (a > 0 && a < 255) ++partly;
      if (a == 255) ++opaque;
    }
  EXPECT_GT(opaque, 0);
  EXPECT_GE(partly, 10);
}

TEST(Compositor, UnscaledUnrotatedLayerIsPixelForPixel) {
  HostDesklet d(1);
  d.SetSize({4, 4});
  cairo_surface_t* checker = hosttest::SolidSurface(4, 4, 0);
  cairo_t* cr = cairo_create(checker);
  cairo_set_source_rgb(cr, 0, 0, 1);
  cairo_rectangle(cr, 0, 0, 2, 4);
  cairo_fill(cr);
  cairo_destroy(cr);
  d.Layer(d.AddLayer("half"))->image = hosttest::Picture(checker);
  auto s = Render(d);
  EXPECT_EQ(PixelAt(s.get(), 1, 1), 0xFF0000FFu);
  EXPECT_EQ(PixelAt(s.get(), 2, 1), 0u);
}

// The expected colour of a straight (not premultiplied) pixel at a
// saturation, worked out here on its own: Rec. 601 luma, chroma scaled
// about it, each channel clamped.
struct Straight {
  double r, g, b;
};
Straight Expected(Straight c, double saturation) {
  const double luma = 0.299 * c.r + 0.587 * c.g + 0.114 * c.b;
  auto channel = [&](double v) { return std::clamp(luma + (v - luma) * saturation / 100.0, 0.0, 255.0); };
  return {channel(c.r), channel(c.g), channel(c.b)};
}

uint32_t Saturated(uint32_t pixel, int saturation) {
  Surface one(hosttest::SolidSurface(1, 1, pixel), cairo_surface_destroy);
  Surface out(ApplySaturation(one.get(), saturation), cairo_surface_destroy);
  return PixelAt(out.get(), 0, 0);
}

void ExpectPixel(uint32_t got, uint32_t alpha, Straight want) {
  EXPECT_EQ(got >> 24, alpha);
  EXPECT_NEAR((got >> 16) & 0xFF, want.r * alpha / 255.0, 1.0);
  EXPECT_NEAR((got >> 8) & 0xFF, want.g * alpha / 255.0, 1.0);
  EXPECT_NEAR(got & 0xFF, want.b * alpha / 255.0, 1.0);
}

TEST(Saturation, HundredKeepsTheColour) {
  EXPECT_EQ(Saturated(0xFFFF0000, 100), 0xFFFF0000u);
  EXPECT_EQ(Saturated(0xFFC85050, 100), 0xFFC85050u);
}

TEST(Saturation, ZeroIsTheLuminanceGrey) {
  // 200, 80, 80: 0.299 * 200 + 0.587 * 80 + 0.114 * 80 = 115.88.
  ExpectPixel(Saturated(0xFFC85050, 0), 255, {115.88, 115.88, 115.88});
  ExpectPixel(Saturated(0xFF3080F0, 40), 255, Expected({48, 128, 240}, 40));
}

TEST(Saturation, AboveHundredIsMoreVividNeverWhite) {
  // A highlight (300) on a muted red: red 115.88 + 84.12 * 3 clamps to 255,
  // green and blue 115.88 - 35.88 * 3 = 8.24: a stronger red.
  const uint32_t lit = Saturated(0xFFC85050, 300);
  ExpectPixel(lit, 255, {255, 8.24, 8.24});
  EXPECT_GT((lit >> 16) & 0xFF, 200u);
  EXPECT_LT((lit >> 8) & 0xFF, 80u);
  // A pure red stays pure red, a grey stays grey.
  EXPECT_EQ(Saturated(0xFFFF0000, 300), 0xFFFF0000u);
  EXPECT_EQ(Saturated(0xFF808080, 300), 0xFF808080u);
  ExpectPixel(Saturated(0xFF3080F0, 150), 255, Expected({48, 128, 240}, 150));
}

TEST(Saturation, PremultipliedPixelsKeepTheirAlpha) {
  // A half-transparent pixel (premultiplied 100, 60, 40): the result is the
  // straight colour's highlight, premultiplied again.
  const uint32_t faint = Saturated(0x80643C28, 300);
  ExpectPixel(faint, 0x80, Expected({100 * 255.0 / 128, 60 * 255.0 / 128, 40 * 255.0 / 128}, 300));
  EXPECT_LE((faint >> 16) & 0xFF, 0x80u);
  EXPECT_EQ(Saturated(0x00000000, 300), 0u);
}

TEST(Compositor, HighlightedLayerIsAStrongerRed) {
  HostDesklet d(1);
  d.SetSize({4, 4});
  HostLayer& l = *d.Layer(d.AddLayer("button"));
  l.image = hosttest::Picture(hosttest::SolidSurface(4, 4, 0xFFC85050));
  l.saturation = 300;
  ExpectPixel(PixelAt(Render(d).get(), 2, 2), 255, Expected({200, 80, 80}, 300));
}

}  // namespace
}  // namespace kivhost
