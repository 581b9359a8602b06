#include "kivhost/render/hit_test.h"

#include <gtest/gtest.h>

#include "render/surfaces.h"

namespace kivhost {
namespace {

// A desklet of 100 by 100 with an opaque base and a top layer whose left
// half is transparent.
class HitTestTest : public ::testing::Test {
 protected:
  void SetUp() override {
    d.SetSize({100, 100});
    d.Layer(d.AddLayer("base"))->image = hosttest::Picture(hosttest::SolidSurface(100, 100, 0xFF102030));
    HostLayer& top = *d.Layer(d.AddLayer("top"));
    cairo_surface_t* s = hosttest::SolidSurface(100, 100, 0xFFFFFFFF);
    cairo_t* cr = cairo_create(s);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_rectangle(cr, 0, 0, 50, 100);
    cairo_fill(cr);
    cairo_destroy(cr);
    top.image = hosttest::Picture(s);
    top.placement = RefRect{{0, 0, 100, 100}, 100, 100};
  }
  HostDesklet d{1};
};

TEST_F(HitTestTest, TopmostOpaqueLayerWins) {
  EXPECT_EQ(HitTest(d, 75, 50), 1u);
  // Transparent there: the layer below takes the point.
  EXPECT_EQ(HitTest(d, 25, 50), 0u);
}

TEST_F(HitTestTest, HitTestingWithoutAlphaTakesAnyPixel) {
  d.Layer(1)->fullHitTest = true;
  EXPECT_EQ(HitTest(d, 25, 50), 1u);
}

TEST_F(HitTestTest, ClickThroughAndHiddenLayersAreSkipped) {
  d.Layer(1)->clickThrough = true;
  EXPECT_EQ(HitTest(d, 75, 50), 0u);
  d.Layer(0)->visible = false;
  EXPECT_FALSE(HitTest(d, 75, 50));
}

TEST_F(HitTestTest, OutsideThePlacementNothingIsHit) {
  d.Layer(1)->placement = RefRect{{60, 60, 80, 80}, 100, 100};
  d.Layer(0)->visible = false;
  EXPECT_FALSE(HitTest(d, 50, 50));
  EXPECT_EQ(HitTest(d, 70, 70), 1u);
}

TEST_F(HitTestTest, ACapturedLayerTakesEveryPoint) {
  d.Capture(0);
  EXPECT_EQ(HitTest(d, 75, 50), 0u);
  EXPECT_EQ(HitTest(d, -10, 500), 0u);
  d.ReleaseCapture();
  EXPECT_EQ(HitTest(d, 75, 50), 1u);
}

TEST_F(HitTestTest, ALayerWithoutPictureIsHitOnlyWithoutAlpha) {
  HostLayer& empty = *d.Layer(d.AddLayer("empty"));
  EXPECT_EQ(HitTest(d, 75, 50), 1u);
  empty.fullHitTest = true;
  EXPECT_EQ(HitTest(d, 75, 50), 2u);
}

}  // namespace
}  // namespace kivhost
