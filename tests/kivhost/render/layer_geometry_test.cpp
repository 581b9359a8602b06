#include "kivhost/render/layer_geometry.h"

#include <gtest/gtest.h>

#include "kivhost/model/desklet.h"
#include "render/surfaces.h"

namespace kivhost {
namespace {

TEST(LayerGeometry, PlacementScalesFromItsReferenceSize) {
  HostLayer layer;
  layer.placement = RefRect{{10, 20, 60, 70}, 100, 100};
  const FRect r = LayerBounds(layer, {200, 50});
  EXPECT_DOUBLE_EQ(r.x, 20);
  EXPECT_DOUBLE_EQ(r.y, 10);
  EXPECT_DOUBLE_EQ(r.width, 100);
  EXPECT_DOUBLE_EQ(r.height, 25);
}

TEST(LayerGeometry, WithoutPlacementALayerCoversTheDesklet) {
  HostLayer layer;
  const FRect r = LayerBounds(layer, {120, 80});
  EXPECT_DOUBLE_EQ(r.width, 120);
  EXPECT_DOUBLE_EQ(r.height, 80);
}

TEST(LayerGeometry, ZeroReferenceSizeMeansDeskletPixels) {
  HostLayer layer;
  layer.placement = RefRect{{5, 5, 15, 25}, 0, 0};
  const FRect r = LayerBounds(layer, {300, 300});
  EXPECT_DOUBLE_EQ(r.x, 5);
  EXPECT_DOUBLE_EQ(r.height, 20);
}

TEST(LayerGeometry, ClipRectIsScaledToThePicture) {
  HostLayer layer;
  layer.image = hosttest::Picture(hosttest::SolidSurface(200, 100, 0xFFFFFFFF));
  layer.clip = RefRect{{0, 0, 50, 50}, 100, 100};  // the top left quarter
  const FRect r = ImageSourceRect(layer);
  EXPECT_DOUBLE_EQ(r.width, 100);
  EXPECT_DOUBLE_EQ(r.height, 50);
}

TEST(LayerGeometry, PixelUnderAPointGoesThroughPlacementAndClip) {
  HostLayer layer;
  layer.image = hosttest::Picture(hosttest::SolidSurface(100, 100, 0xFFFFFFFF));
  layer.placement = RefRect{{50, 50, 100, 100}, 100, 100};
  layer.clip = RefRect{{50, 0, 100, 50}, 100, 100};  // the top right quarter
  auto p = ImagePixelAt(layer, {100, 100}, 50.5, 50.5);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->x, 50);
  EXPECT_EQ(p->y, 0);
  p = ImagePixelAt(layer, {100, 100}, 99.5, 99.5);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->x, 99);
  EXPECT_EQ(p->y, 49);
  EXPECT_FALSE(ImagePixelAt(layer, {100, 100}, 49.5, 60));
}

}  // namespace
}  // namespace kivhost
