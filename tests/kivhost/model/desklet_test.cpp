#include "kivhost/model/desklet.h"

#include <gtest/gtest.h>

namespace kivhost {
namespace {

TEST(HostDesklet, LayerIdsArePositionsAndRemovingRenumbers) {
  HostDesklet d(1);
  EXPECT_EQ(d.AddLayer("BG"), 0u);
  EXPECT_EQ(d.AddLayer("a"), 1u);
  EXPECT_EQ(d.AddLayer("b"), 2u);
  EXPECT_EQ(d.AddLayer("c"), 3u);
  ASSERT_TRUE(d.RemoveLayer(1));
  EXPECT_EQ(d.FindLayer("b"), 1u);
  EXPECT_EQ(d.FindLayer("c"), 2u);
  EXPECT_FALSE(d.FindLayer("a"));
  EXPECT_EQ(d.Layer(3), nullptr);
  EXPECT_FALSE(d.RemoveLayer(3));  // past the end names no layer
  EXPECT_EQ(d.AddLayer("d"), 3u);
}

TEST(HostDesklet, FindLayerTakesTheFirstOfEqualNames) {
  HostDesklet d(1);
  d.AddLayer("x");
  d.AddLayer("x");
  EXPECT_EQ(d.FindLayer("x"), 0u);
  EXPECT_FALSE(d.FindLayer("X"));  // names match exactly
}

TEST(HostDesklet, CaptureFollowsItsLayerWhenAnEarlierOneGoes) {
  HostDesklet d(1);
  d.AddLayer("a");
  d.AddLayer("b");
  d.AddLayer("c");
  d.Capture(2);
  d.RemoveLayer(0);
  EXPECT_EQ(d.Captured(), 1u);
  d.RemoveLayer(1);  // the captured layer itself
  EXPECT_FALSE(d.Captured());
}

TEST(HostDesklet, NestedLocksDeferTheRedrawToTheLastUnlock) {
  HostDesklet d(1);
  d.Lock();
  d.Lock();
  d.Redraw();
  EXPECT_EQ(d.RedrawCount(), 0);
  EXPECT_TRUE(d.pendingRedraw);
  EXPECT_FALSE(d.Unlock());
  EXPECT_TRUE(d.Locked());
  EXPECT_TRUE(d.Unlock());
  EXPECT_FALSE(d.Locked());
  EXPECT_FALSE(d.Unlock());  // an unbalanced unlock is ignored
  d.Redraw();
  EXPECT_EQ(d.RedrawCount(), 1);
}

TEST(HostDesklet, SetSizeKeepsThePosition) {
  HostDesklet d(1);
  d.rect = {10, 20, 30, 40};
  d.SetSize({200, 100});
  EXPECT_EQ(d.rect.left, 10);
  EXPECT_EQ(d.rect.top, 20);
  EXPECT_EQ(d.Size().cx, 200);
  EXPECT_EQ(d.Size().cy, 100);
}

TEST(HostDesklet, TheSkinNameIsTheFileNameOfWhatIsKnownOfTheSkin) {
  HostDesklet d(0x10001);
  EXPECT_EQ(d.SkinName(), "window 65537");
  SkinInfo info;
  info.key = "/skins/weather/weather.xml";
  d.skinInfo = info;
  EXPECT_EQ(d.SkinName(), "weather.xml");
  d.skinFile = "clock/clock.xml";  // the file the host was given wins
  EXPECT_EQ(d.SkinName(), "clock.xml");
  d.skinFile = "skins\\win\\old.xml";  // written on Windows
  EXPECT_EQ(d.SkinName(), "old.xml");
  d.skinFile = "folder/";  // names no file: the next one that does
  EXPECT_EQ(d.SkinName(), "weather.xml");
}

}  // namespace
}  // namespace kivhost
