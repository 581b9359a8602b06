// Text fields and edit boxes as the plug-in drives them: focus, typing,
// keys, callbacks and what the pictures show.
#include <algorithm>

#include "control_fixture.h"
#include "kivhost/controls/control_geometry.h"

namespace kivhost::testing {
namespace {

using kivcontrols::kBorderColour;
using kivcontrols::kFieldPadding;

constexpr uint32_t kBack = 0xFF204080, kInk = 0xFF000000;

class TextFieldTest : public ControlTest {
 protected:
  KivHandle Field(const std::string& name = "field") {
    KivHandle f = Make(name, "TEXTFIELD", {0, 0, 200, 40});
    Send(f, 110, 0, static_cast<LPARAM>(kBack));
    Send(f, 108, 0, static_cast<LPARAM>(kInk));
    return f;
  }
};

TEST_F(TextFieldTest, AnEmojiDrawsInColour) {
  // White paper and black ink: any colour comes from the emoji font.
  KivHandle f = Make("field", "TEXTFIELD", {0, 0, 200, 40});
  Send(f, 110, 0, static_cast<LPARAM>(0xFFFFFFFF));
  Send(f, 108, 0, static_cast<LPARAM>(kInk));
  SetText(f, u"\U0001F600");
  int spread = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 200; ++x) {
      const uint32_t p = Pixel("field", x, y);
      const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
      spread = std::max(spread, std::max({r, g, b}) - std::min({r, g, b}));
    }
  EXPECT_GE(spread, 100);
}

TEST_F(TextFieldTest, DrawsBackgroundBorderAndACaretWhenFocused) {
  Field();
  ASSERT_NE(Picture("field"), nullptr);
  EXPECT_EQ(cairo_image_surface_get_width(Picture("field")), 200);
  EXPECT_EQ(cairo_image_surface_get_height(Picture("field")), 40);
  EXPECT_EQ(Pixel("field", 0, 0), kBorderColour);
  EXPECT_EQ(Pixel("field", 199, 39), kBorderColour);
  EXPECT_EQ(Pixel("field", 2, 2), kBack);
  const int caretX = static_cast<int>(kFieldPadding);
  EXPECT_EQ(Pixel("field", caretX, 20), kBack);  // no caret before the focus
  EXPECT_EQ(Click("field", 100, 20), 1);
  EXPECT_EQ(Pixel("field", caretX, 20), kInk);
  EXPECT_EQ(State("field")["focused"], true);
  // The layer is placed at the control's rectangle.
  const HostLayer* layer = Host::Get().Find(hwnd)->Layer(LayerId("field"));
  ASSERT_TRUE(layer->placement);
  EXPECT_EQ(layer->placement->rect.right, 200);
  EXPECT_EQ(layer->placement->refWidth, 400);
}

TEST_F(TextFieldTest, TypedCharactersIncludingSurrogatesReachTheText) {
  KivHandle f = Field();
  Watch(f, "field", {10, 11, 120, 129});
  Click("field", 10, 20);
  Type(u"hé");
  KivForwardMessage(container, 258, 0x1D11E, 0);       // a whole code point
  KivForwardMessage(container, 258, 0xD83D, 0);        // and one in halves
  KivForwardMessage(container, 258, 0xDE00, 0);
  EXPECT_EQ(GetText(f), u"hé\U0001D11E\U0001F600");
  EXPECT_EQ(Send(f, 116), 6);
  std::vector<Call> expected{{"field", 10}};
  for (int i = 0; i < 4; ++i) expected.push_back({"field", 129});
  EXPECT_EQ(calls, expected);
  EXPECT_EQ(State("field")["caret"], 6);
  // Enter calls 120 and changes nothing; text set by the plug-in calls no
  // 129.
  calls.clear();
  EXPECT_EQ(Press(13), 1);
  SetText(f, u"new");
  EXPECT_EQ(calls, (std::vector<Call>{{"field", 120}}));
  EXPECT_EQ(GetText(f), u"new");
}

TEST_F(TextFieldTest, KeysEditAndSelect) {
  KivHandle f = Field();
  Click("field", 10, 20);
  Type(u"abcd");
  Press(37);  // Left
  Press(37, true);  // Shift+Left selects "c"
  auto s = State("field");
  EXPECT_EQ(s["selectionStart"], 2);
  EXPECT_EQ(s["selectionEnd"], 3);
  Type(u"X");  // replaces it
  EXPECT_EQ(GetText(f), u"abXd");
  Press(36);  // Home
  Press(46);  // Delete
  EXPECT_EQ(GetText(f), u"bXd");
  Press(35);  // End
  Press(8);   // Backspace, acted on once though it comes as 256 and 258
  EXPECT_EQ(GetText(f), u"bX");
  Press(36, true);  // Shift+Home
  Press(8);
  EXPECT_EQ(GetText(f), u"");
  Press(8);  // at the start: nothing
  EXPECT_EQ(GetText(f), u"");
}

TEST_F(TextFieldTest, ReadOnlyAndPasswordFields) {
  KivHandle f = Field();
  SetText(f, u"keep");
  Send(f, 125, 1);
  Watch(f, "field", {129});
  Click("field", 10, 20);
  Type(u"x");
  Press(8);
  EXPECT_EQ(GetText(f), u"keep");
  EXPECT_TRUE(calls.empty());
  Press(36, true);  // the caret still moves
  EXPECT_EQ(State("field")["selectionStart"], 0);

  // A password shows bullets, never the text: the same text drawn plainly
  // looks different.
  KivHandle p = Make("secret", "TEXTFIELD", {0, 50, 200, 90});
  SetText(p, u"iiii");
  cairo_surface_t* plain = Picture("secret");
  ASSERT_NE(plain, nullptr);
  const auto digest = [&](cairo_surface_t* s) {
    cairo_surface_flush(s);
    const unsigned char* d = cairo_image_surface_get_data(s);
    return std::vector<unsigned char>(d, d + cairo_image_surface_get_stride(s) * cairo_image_surface_get_height(s));
  };
  const auto plainPixels = digest(plain);
  Send(p, 127, 1);
  EXPECT_EQ(Send(p, 128), 1);
  EXPECT_NE(digest(Picture("secret")), plainPixels);
  EXPECT_EQ(GetText(p), u"iiii");
}

TEST_F(TextFieldTest, LongTextScrollsToKeepTheCaretInSight) {
  KivHandle f = Field();
  Click("field", 10, 20);
  Type(u"the quick brown fox jumps over the lazy dog again and again");
  EXPECT_GT(State("field")["scrollLine"].get<int>(), 0);  // first shown character
  Press(36);
  EXPECT_EQ(State("field")["scrollLine"], 0);
  EXPECT_EQ(Pixel("field", static_cast<int>(kFieldPadding), 20), kInk);  // caret back at the left
  (void)f;
}

TEST_F(TextFieldTest, ClickPlacesTheCaretAndDragSelects) {
  KivHandle f = Field();
  SetText(f, u"wwwwwwwwww");
  Down("field", 2, 20);
  EXPECT_EQ(State("field")["caret"], 0);
  EXPECT_EQ(Host::Get().Find(hwnd)->Captured(), LayerId("field"));
  Move("field", 199, 20);
  Up("field", 199, 20);
  EXPECT_FALSE(Host::Get().Find(hwnd)->Captured());
  auto s = State("field");
  EXPECT_EQ(s["selectionStart"], 0);
  EXPECT_GT(s["selectionEnd"].get<int>(), 0);
  // The layer reported at half the drawing size maps back to the drawing.
  scale = 2;
  Click("field", 2, 20);
  EXPECT_EQ(State("field")["caret"], 0);
}

TEST_F(TextFieldTest, CallbacksMayReadTheTextOrFreeTheControl) {
  KivHandle f = Field();
  std::u16string seen;
  hook = [&](const Call& call, int32_t*) {
    if (call.code == 129) seen = GetText(f);
    if (call.code == 120) KivFreeControl(f);
  };
  Watch(f, "field", {129, 120});
  Click("field", 10, 20);
  Type(u"ok");
  EXPECT_EQ(seen, u"ok");
  Press(13);  // the statement frees the control
  BOOL32 found = kTrue;
  DeskletLayerGetLayer(hwnd, "field", &found);
  EXPECT_EQ(found, kFalse);
  EXPECT_EQ(Press(37), 0);  // nothing has the focus now
  Type(u"x");               // and typing goes nowhere
}

TEST_F(TextFieldTest, EditBoxBreaksLinesAndScrollsByWheel) {
  KivHandle e = Make("edit", "EDITBOX", {0, 0, 200, 100});
  Watch(e, "edit", {120, 129});
  Click("edit", 10, 10);
  Type(u"one");
  calls.clear();
  Press(13);
  EXPECT_EQ(calls, (std::vector<Call>{{"edit", 129}, {"edit", 120}}));
  Type(u"two");
  EXPECT_EQ(GetText(e), u"one\r\ntwo");
  Press(38);  // Up to the first line, same column
  EXPECT_EQ(State("edit")["caret"], 3);
  std::u16string many;
  for (int i = 0; i < 30; ++i) many += u"line\r\n";
  SetText(e, many);
  Press(36);
  Press(38);
  EXPECT_GT(State("edit")["scrollLine"].get<int>(), 0);  // the caret's line shows at the end
  const int before = State("edit")["scrollLine"];
  EXPECT_EQ(Wheel("edit", 1), 1);  // forward: towards the start
  EXPECT_EQ(State("edit")["scrollLine"], before - kivcontrols::kWheelLines);
}

TEST_F(TextFieldTest, TabWalksFocusableControlsInOrderAdded) {
  Field("a");
  Make("button", "IMAGEBUTTON", {0, 50, 40, 70});
  Make("list", "DROPDOWNLIST", {0, 80, 100, 100});
  Make("caption", "LABEL", {0, 110, 100, 130});
  KivHandle e = Make("edit", "EDITBOX", {0, 140, 200, 200});
  KivHandle bar = Make("bar", "VERTICAL_SCROLLBAR", {300, 0, 320, 200});
  (void)e;
  (void)bar;
  Click("a", 5, 5);
  calls.clear();
  Press(9);
  EXPECT_EQ(State("list")["focused"], true);
  Press(9);
  EXPECT_EQ(State("edit")["focused"], true);
  Press(9);
  EXPECT_EQ(State("bar")["focused"], true);
  Press(9);
  EXPECT_EQ(State("a")["focused"], true);
  Press(9, true);
  EXPECT_EQ(State("bar")["focused"], true);
  // A press on a layer of the skin takes the focus away.
  EXPECT_EQ(Down("skin", 1, 1), 0);
  EXPECT_EQ(State("bar")["focused"], false);
  EXPECT_EQ(Press(9), 0);
}

TEST_F(TextFieldTest, FocusMovesWithCallbacksInOrder) {
  KivHandle a = Field("a");
  KivHandle b = Field("b");
  Watch(a, "a", {10, 11});
  Watch(b, "b", {10, 11});
  Click("a", 5, 5);
  Click("a", 5, 5);  // already focused: nothing
  Press(9);
  Down("skin", 0, 0);
  EXPECT_EQ(calls, (std::vector<Call>{{"a", 10}, {"a", 11}, {"b", 10}, {"b", 11}}));
}

}  // namespace
}  // namespace kivhost::testing
