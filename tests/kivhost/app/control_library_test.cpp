// The control library as the plug-in drives it: containers per desklet,
// a host layer per control, and the state every message code keeps.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "kivhost/controls/control_state.h"
#include "kivhost/loop/host.h"
#include "platform/abi/controls_api.h"

namespace kivhost {
namespace {

int32_t Send(KivHandle c, uint32_t code, WPARAM w = 0, LPARAM l = 0) { return KivSendMessage(c, code, w, l); }
LPARAM Text(const char16_t* s) { return reinterpret_cast<LPARAM>(s); }

class ControlLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
    hwnd = Host::Get().CreateDesklet().Hwnd();
    resources = KivCreateResources("/skins/x/controls/");
    container = KivCreateControlContainer(hwnd, resources);
  }
  void TearDown() override {
    KivFreeControlContainer(container);
    KivFreeResources(resources);
    Host::Get().RemoveDesklet(hwnd);
  }
  nlohmann::json Describe() { return nlohmann::json::parse(KivControlsDescribe(hwnd)); }
  HWND hwnd = 0;
  KivHandle resources = 0, container = 0;
};

TEST_F(ControlLibrary, EachControlGetsAHostLayerNamedAfterItFromCreationToFree) {
  KivHandle edit = KivCreateControl(container, "name", "TEXTFIELD", 0, 0);
  ASSERT_NE(edit, 0u);
  BOOL32 found = kFalse;
  const uint32_t id = DeskletLayerGetLayer(hwnd, "name", &found);
  EXPECT_EQ(found, kTrue);  // before it is added
  EXPECT_EQ(Host::Get().Find(hwnd)->Layer(id)->name, "name");
  KivAddControlToContainer(container, edit);
  KivRect r{0, 0, 20, 10};
  KivSize side{100, 100};
  Send(edit, 4, reinterpret_cast<WPARAM>(&r), reinterpret_cast<LPARAM>(&side));
  EXPECT_NE(Host::Get().Find(hwnd)->Layer(id)->image, nullptr);
  // Out of its container the layer stays, empty, until the control is freed.
  KivRemoveControlFromContainer(container, edit);
  DeskletLayerGetLayer(hwnd, "name", &found);
  EXPECT_EQ(found, kTrue);
  EXPECT_EQ(Host::Get().Find(hwnd)->Layer(id)->image, nullptr);
  KivFreeControl(edit);
  DeskletLayerGetLayer(hwnd, "name", &found);
  EXPECT_EQ(found, kFalse);
  EXPECT_EQ(KivCreateControl(0xBAD, "x", "LABEL", 0, 0), 0u);  // no such container
}

TEST_F(ControlLibrary, TextFontColoursAndFlagsAreKept) {
  KivHandle c = KivCreateControl(container, "t", "EDITBOX", 0, 0);
  KivAddControlToContainer(container, c);
  KivRect r{1, 2, 30, 40};
  KivSize side{100, 80};
  Send(c, 4, reinterpret_cast<WPARAM>(&r), reinterpret_cast<LPARAM>(&side));
  Send(c, 7);
  KivFontRecord font{};
  std::u16string face = u"Arial";
  std::copy(face.begin(), face.end(), font.faceName);
  font.sizeInt = 12;
  font.style = 1;
  Send(c, 112, 0, reinterpret_cast<LPARAM>(&font));
  Send(c, 108, 0, static_cast<LPARAM>(0xFF112233));
  Send(c, 114, 0, Text(u"héllo"));
  EXPECT_EQ(Send(c, 116), 5);
  char16_t buffer[4];
  EXPECT_EQ(Send(c, 115, 4, reinterpret_cast<LPARAM>(buffer)), 3);  // cut to fit
  EXPECT_EQ(std::u16string(buffer), u"hél");
  Send(c, 125, 1);
  EXPECT_EQ(Send(c, 126), 1);
  Send(c, 127, 1);
  EXPECT_EQ(Send(c, 128), 1);
  auto state = Describe();
  ASSERT_EQ(state.size(), 1u);
  EXPECT_EQ(state[0]["text"], "héllo");
  EXPECT_EQ(state[0]["fontName"], "Arial");
  EXPECT_EQ(state[0]["fontSize"], 12);
  EXPECT_EQ(state[0]["rect"]["right"], 30);
  EXPECT_EQ(state[0]["visible"], true);
  EXPECT_EQ(state[0]["textColor"], 0xFF112233u);
  KivFreeControl(c);
}

TEST_F(ControlLibrary, ListsAndScrollBars) {
  KivHandle list = KivCreateControl(container, "l", "DROPDOWNLIST", 0, 0);
  EXPECT_EQ(Send(list, 302, 0, Text(u"One")), 0);
  EXPECT_EQ(Send(list, 302, 0, Text(u"Two")), 1);
  EXPECT_EQ(Send(list, 302, 0, Text(u"one")), 2);
  EXPECT_EQ(Send(list, 304, 0, Text(u"ONE")), 0);
  EXPECT_EQ(Send(list, 304, 1, Text(u"one")), 2);  // from that index on
  EXPECT_EQ(Send(list, 304, 0, Text(u"three")), -1);
  Send(list, 307, 1);
  EXPECT_EQ(Send(list, 308), 1);
  Send(list, 307, static_cast<WPARAM>(-1));
  EXPECT_EQ(Send(list, 308), -1);
  Send(list, 307, 9);  // out of range selects none
  EXPECT_EQ(Send(list, 308), -1);
  Send(list, 305);
  EXPECT_EQ(Send(list, 304, 0, Text(u"One")), -1);

  KivHandle bar = KivCreateControl(container, "b", "VERTICAL_SCROLLBAR", 0, 0);
  Send(bar, 202, 17);
  Send(bar, 204, 100);
  EXPECT_EQ(Send(bar, 203), 17);
  EXPECT_EQ(Send(bar, 205), 100);
  EXPECT_EQ(Send(0xBAD, 203), 0);  // an unknown control answers 0
  KivFreeControl(list);
  KivFreeControl(bar);
}

int32_t Callback(void*, int32_t*) { return -1; }

TEST_F(ControlLibrary, CallbacksAreRegisteredAndEventsOnOtherLayersLeftUnhandled) {
  KivHandle c = KivCreateControl(container, "t", "TEXTFIELD", 0, 0);
  KivAddControlToContainer(container, c);
  int owner = 0;
  for (uint32_t code : {10u, 11u, 120u, 129u})
    Send(c, code, reinterpret_cast<WPARAM>(&owner), reinterpret_cast<LPARAM>(&Callback));
  EXPECT_EQ(Describe()[0]["callbacks"], (nlohmann::json{10, 11, 120, 129}));
  KivPoint pt{1, 1};
  KivSize size{10, 10};
  EXPECT_EQ(KivForwardMouseDown(container, 1, "not a control", &pt, &size, 1), 0);
  EXPECT_EQ(KivForwardMessage(container, 258, 'a', 0), 0);  // nothing focused
  EXPECT_EQ(KivForwardMouseDown(container, 1, "t", &pt, &size, 1), 1);
  EXPECT_EQ(KivForwardMessage(container, 258, 'a', 0), 1);
  KivFreeControl(c);
}

}  // namespace
}  // namespace kivhost
