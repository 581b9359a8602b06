// Drop-down lists and scroll bars: picking by pointer and keys through
// callback 311, and every way of moving a scroll bar through 206.
#include "control_fixture.h"
#include "kivhost/controls/control_geometry.h"

namespace kivhost::testing {
namespace {

class ListTest : public ControlTest {
 protected:
  KivHandle List(KivRect rect = {0, 0, 100, 20}) {
    KivHandle l = Make("list", "DROPDOWNLIST", rect, {200, 200});
    for (const char16_t* item : {u"Alpha", u"Beta", u"Gamma"}) Send(l, 302, 0, reinterpret_cast<LPARAM>(item));
    Watch(l, "list", {311});
    return l;
  }
  int PictureHeight() { return cairo_image_surface_get_height(Picture("list")); }
};

TEST_F(ListTest, ClickOpensBelowAndAClickPicksThroughTheCallback) {
  KivHandle l = List();
  EXPECT_EQ(PictureHeight(), 20);
  EXPECT_EQ(Click("list", 50, 10), 1);
  EXPECT_EQ(State("list")["open"], true);
  const HostLayer* layer = Host::Get().Find(hwnd)->Layer(LayerId("list"));
  ASSERT_TRUE(layer->placement);
  EXPECT_EQ(layer->placement->rect.top, 0);
  const int listHeight = layer->placement->rect.bottom - 20;
  EXPECT_GT(listHeight, 0);
  EXPECT_EQ(PictureHeight(), 20 + listHeight);
  // Three rows and a one-unit frame above and below them.
  const double row = (listHeight - 2) / 3.0;
  hook = [](const Call&, int32_t* extra) { *extra = 2; };  // the statement chooses another item
  Click("list", 50, static_cast<int>(20 + 1 + row * 1.5));
  EXPECT_EQ(calls, (std::vector<Call>{{"list", 311, 1}}));
  EXPECT_EQ(Send(l, 308), 2);
  EXPECT_EQ(State("list")["open"], false);
  EXPECT_EQ(PictureHeight(), 20);
}

TEST_F(ListTest, OpensUpwardWithoutRoomBelowAndClosesOnAPressElsewhere) {
  List({0, 180, 100, 200});
  Click("list", 50, 10);
  const HostLayer* layer = Host::Get().Find(hwnd)->Layer(LayerId("list"));
  EXPECT_LT(layer->placement->rect.top, 180);
  EXPECT_EQ(layer->placement->rect.bottom, 200);
  Down("skin", 1, 1);
  EXPECT_EQ(State("list")["open"], false);
  EXPECT_EQ(State("list")["focused"], false);
  EXPECT_TRUE(calls.empty());
}

TEST_F(ListTest, KeysProposeNeighboursAndPickFromTheOpenList) {
  KivHandle l = List();
  Send(l, 307, 0);
  Click("list", 50, 10);  // opens
  Press(27);              // Escape closes without picking
  EXPECT_EQ(State("list")["open"], false);
  Press(40);  // Down, closed: proposes 1
  EXPECT_EQ(Send(l, 308), 1);
  hook = [](const Call&, int32_t* extra) { *extra = -1; };  // refused: nothing selected
  Press(40);
  EXPECT_EQ(Send(l, 308), -1);
  hook = nullptr;
  Send(l, 307, 0);
  Press(115);  // F4 opens
  EXPECT_EQ(State("list")["open"], true);
  Press(40);
  Press(40);
  EXPECT_EQ(State("list")["highlighted"], 2);
  EXPECT_EQ(Send(l, 308), 0);  // moving the highlight picks nothing yet
  Press(13);
  EXPECT_EQ(Send(l, 308), 2);
  EXPECT_EQ(State("list")["open"], false);
  EXPECT_EQ(calls, (std::vector<Call>{{"list", 311, 1}, {"list", 311, 2}, {"list", 311, 2}}));
}

TEST_F(ListTest, ACallbackFreeingTheListEndsThePick) {
  KivHandle l = List();
  hook = [&](const Call&, int32_t*) { KivFreeControl(l); };
  Press(40);  // not focused: nothing
  EXPECT_TRUE(calls.empty());
  Click("list", 50, 10);
  Click("list", 50, 10);  // closes again
  Press(40);
  EXPECT_EQ(calls.size(), 1u);
  EXPECT_EQ(State("list"), nullptr);
}

class ScrollBarTest : public ControlTest {
 protected:
  // 20 x 200: arrows of 20, a track of 160 from y = 20.
  KivHandle Bar(int32_t positions) {
    KivHandle b = Make("bar", "VERTICAL_SCROLLBAR", {0, 0, 20, 200});
    Send(b, 204, static_cast<WPARAM>(positions));
    Watch(b, "bar", {206});
    return b;
  }
  int Moves() { return static_cast<int>(std::count_if(calls.begin(), calls.end(), [](const Call& c) { return c.code == 206; })); }
};

TEST_F(ScrollBarTest, ArrowsStepAndTheTrackPages) {
  KivHandle b = Bar(101);
  Click("bar", 10, 195);
  EXPECT_EQ(Send(b, 203), 1);
  Click("bar", 10, 5);
  EXPECT_EQ(Send(b, 203), 0);
  Click("bar", 10, 5);  // already at the top: no move, no callback
  EXPECT_EQ(Moves(), 2);
  Click("bar", 10, 150);  // below the thumb: a page, a tenth of 101
  EXPECT_EQ(Send(b, 203), 10);
  Click("bar", 10, 25);  // above it
  EXPECT_EQ(Send(b, 203), 0);
  EXPECT_EQ(Moves(), 4);
  Send(b, 202, 500);  // clamped to the range
  EXPECT_EQ(Send(b, 203), 100);
}

TEST_F(ScrollBarTest, TheThumbFollowsADragAndTheWheel) {
  KivHandle b = Bar(101);
  // The thumb is 10 long (a 160 track over 101 positions would be
  // thinner than the minimum); it travels 150 over positions 0..100.
  Send(b, 202, 10);
  const double thumbTop = 20 + 150 * 10 / 100.0;
  Down("bar", 10, static_cast<int>(thumbTop + 5));
  EXPECT_EQ(Host::Get().Find(hwnd)->Captured(), LayerId("bar"));
  Move("bar", 10, static_cast<int>(20 + 75 + 5));  // thumb top at the middle of its travel
  EXPECT_EQ(Send(b, 203), 50);
  Move("bar", 10, 1000);  // far below, still captured
  EXPECT_EQ(Send(b, 203), 100);
  Up("bar", 10, 1000);
  EXPECT_FALSE(Host::Get().Find(hwnd)->Captured());
  EXPECT_EQ(Moves(), 2);
  EXPECT_EQ(Wheel("bar", 2), 1);  // forward: up
  EXPECT_EQ(Send(b, 203), 98);
  Wheel("bar", -3);
  EXPECT_EQ(Send(b, 203), 100);  // clamped
  Press(33);  // PageUp while focused
  EXPECT_EQ(Send(b, 203), 90);
  Press(36);
  EXPECT_EQ(Send(b, 203), 0);
}

TEST_F(ScrollBarTest, TheThumbIsDrawnWhereThePositionSays) {
  KivHandle b = Bar(3);
  // 3 positions on a 160 track: a thumb of 160 / 3 from 20 at position 0.
  EXPECT_EQ(Pixel("bar", 10, 20 + 10), kivcontrols::kThumbColour);
  EXPECT_EQ(Pixel("bar", 10, 200 - 20 - 10), kivcontrols::kTrackColour);
  Send(b, 202, 2);
  EXPECT_EQ(Pixel("bar", 10, 20 + 10), kivcontrols::kTrackColour);
  EXPECT_EQ(Pixel("bar", 10, 200 - 20 - 10), kivcontrols::kThumbColour);
}

}  // namespace
}  // namespace kivhost::testing
