#include "kivhost/render/compositor.h"

#include <gtest/gtest.h>

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

TEST(Saturation, HundredKeepsBelowFadesAboveLightens) {
  Surface red(hosttest::SolidSurface(1, 1, 0xFFFF0000), cairo_surface_destroy);
  auto at = [&](int s) {
    Surface out(ApplySaturation(red.get(), s), cairo_surface_destroy);
    return PixelAt(out.get(), 0, 0);
  };
  EXPECT_EQ(at(100), 0xFFFF0000u);
  const uint32_t grey = at(0);
  EXPECT_EQ((grey >> 16) & 0xFF, grey & 0xFF);
  EXPECT_EQ(at(200), 0xFFFFFFFFu);
  const uint32_t half = at(150);
  EXPECT_EQ((half >> 16) & 0xFF, 0xFFu);
  EXPECT_NEAR(half & 0xFF, 128, 1);
  // Premultiplied: a half-transparent pixel never gets brighter than its alpha.
  Surface faint(hosttest::SolidSurface(1, 1, 0x80800000), cairo_surface_destroy);
  Surface lit(ApplySaturation(faint.get(), 200), cairo_surface_destroy);
  EXPECT_EQ(PixelAt(lit.get(), 0, 0), 0x80808080u);
}

}  // namespace
}  // namespace kivhost
