// Event dispatch: the click rule, looks and highlight, key bindings, the
// Control-click rule, flips and effects that fail, cursors, drops and the
// layer refresh message.
#include "vorel/runtime/event_dispatch.h"

#include <functional>

#include "platform/abi/plugin_api.h"
#include "platform/win/data_object.h"
#include "tests/vorel/render/render_fixture.h"
#include "vorel/host/messages.h"
#include "vorel/runtime/cursor_table.h"
#include "vorel/model/script_engine.h"

using testhost::TestHost;
using vorel::LayerEventKind;
using vorel::TLayerObject;

namespace rendertest {
namespace {

// Stands in for the script engine: every statement is handed to `record`,
// and a statement "fail" raises as a script error would.
class RecordingEngine : public vorel::TScriptEngine {
 public:
  explicit RecordingEngine(std::function<void(const std::string&)> record) : record_(std::move(record)) {}
  void SetLanguage(const std::string&) override {}
  void AddCode(const std::string&) override {}
  void AddCodeFromFile(const std::string&) override {}
  void ExecuteStatement(const std::string& statement) override {
    record_(statement);
    if (statement == "fail") throw std::runtime_error("script error");
  }
  std::string EvaluateToText(const std::string& expression) override { return expression; }
  void AddObject(const std::string&, automation::IDispatch*, bool) override {}
  automation::Variant Evaluate(const std::string& expression) override { return automation::Variant(expression); }
  automation::Variant Run(const std::string&, const std::vector<automation::Variant>&) override { return {}; }
  void RunEventProcedure(const std::string&, const std::string&, const std::vector<automation::Variant>&) override {}

 private:
  std::function<void(const std::string&)> record_;
};

class DispatchTest : public DeskletFixture {
 protected:
  void SetUp() override {
    DeskletFixture::SetUp();
    D().scripting.scriptEngine = std::make_unique<RecordingEngine>([this](const std::string& s) { ran_.push_back(s); });
    D().settings.keyPressAnim = 0;
  }
  TLayerObject& Layer(uint32_t id, const std::string& name) {
    D().layers.push_back(std::make_unique<TLayerObject>());
    TLayerObject& l = *D().layers.back();
    l.Id = id;
    l.Name = name;
    l.Src = "!BLANKSPACE";
    l.Width = l.Height = 10;
    l.Set(vorel::Visible, true);
    return l;
  }
  bool Down(uint32_t id, uint32_t flags = 1) {
    KivPoint pt{2, 3};
    KivSize size{10, 10};
    return OnLayerMouseDown(instance_, id, "", &pt, &size, flags) != kFalse;
  }
  bool Up(uint32_t id, uint32_t flags = 1) {
    KivPoint pt{2, 3};
    KivSize size{10, 10};
    return OnLayerMouseUp(instance_, id, "", &pt, &size, flags) != kFalse;
  }
  bool Enter(uint32_t id) {
    KivPoint pt{1, 1};
    KivSize size{10, 10};
    return OnLayerMouseOn(instance_, id, "", &pt, &size) != kFalse;
  }
  bool Exit(uint32_t id) { return OnLayerMouseOut(instance_, id, "") != kFalse; }
  std::vector<std::string> Saturations(uint32_t id) {
    std::vector<std::string> values;
    for (auto& c : LayerCalls("DeskletLayerSetSaturation", id)) values.push_back(c.args[2]);
    return values;
  }

  std::vector<std::string> ran_;
};

TEST_F(DispatchTest, AClickNeedsDownAndUpOnTheSameEnteredLayer) {
  Layer(1, "a").OnClick = "clickA";
  Layer(2, "b").OnClick = "clickB";
  EXPECT_FALSE(Enter(1));
  EXPECT_TRUE(Down(1));
  EXPECT_EQ(D().input.pressedLayerId, 1u);
  EXPECT_TRUE(Up(1));
  EXPECT_EQ(ran_, std::vector<std::string>{"clickA"});
  EXPECT_EQ(D().input.pressedLayerId, vorel::kNoLayerId);

  ran_.clear();
  Down(1);
  Exit(1);
  Enter(2);
  EXPECT_FALSE(Up(2));
  EXPECT_TRUE(ran_.empty());
  EXPECT_EQ(D().input.pressedLayerId, vorel::kNoLayerId) << "a failed click clears the press";
  EXPECT_EQ(D().input.currentLayerId, 2u);
}

TEST_F(DispatchTest, OnlyAnUpStatementNeverRuns) {
  Layer(1, "a").OnMouseUp = "up";
  Enter(1);
  EXPECT_FALSE(Down(1));
  EXPECT_FALSE(Up(1));
  EXPECT_TRUE(ran_.empty());
}

// The host numbers layers from 0: the first layer is no "no layer".
TEST_F(DispatchTest, TheFirstLayerClicksOnlyAfterItsOwnPress) {
  Layer(0, "first").OnClick = "click0";
  Layer(1, "second").OnMouseUp = "up1";
  Enter(0);
  EXPECT_FALSE(Up(0)) << "no press, no click";
  EXPECT_TRUE(ran_.empty());
  Down(0);
  EXPECT_EQ(D().input.pressedLayerId, 0u);
  Up(0);
  EXPECT_EQ(ran_, std::vector<std::string>{"click0"});

  ran_.clear();
  Exit(0);
  Enter(1);
  Down(1);
  Up(1);
  EXPECT_TRUE(ran_.empty()) << "a layer with only an up statement runs nothing";
}

TEST_F(DispatchTest, DownUpAndClickStatementsInOrder) {
  TLayerObject& l = Layer(1, "a");
  l.OnMouseDown = "down";
  l.OnMouseUp = "up";
  l.OnClick = "click";
  Enter(1);
  Down(1);
  Up(1);
  EXPECT_EQ(ran_, (std::vector<std::string>{"down", "up", "click"}));
  EXPECT_EQ(D().input.layerMouseX, 2);
  EXPECT_EQ(D().input.layerMouseY, 3);
}

TEST_F(DispatchTest, ControlWithLeftButtonIsTheHostsOwn) {
  TLayerObject& l = Layer(1, "a");
  l.OnMouseDown = "down";
  l.OnClick = "click";
  Enter(1);
  EXPECT_FALSE(Down(1, 9));
  EXPECT_FALSE(Up(1, 9));
  EXPECT_TRUE(ran_.empty());
  EXPECT_TRUE(Down(1, 1 | 4)) << "shift is not the host's";
}

TEST_F(DispatchTest, KeysClickTheLayerBoundInUpperCase) {
  Layer(1, "upper").KeyBind = "A";
  D().layers.back()->OnClick = "upperA";
  Layer(2, "lower").KeyBind = "a";
  D().layers.back()->OnClick = "lowera";
  Layer(3, "esc").KeyBind = "ESC";
  D().layers.back()->OnClick = "escape";
  LRESULT result = 0;
  OnProcessMessageEx(instance_, kWindow, vorel::WM_CHAR, 'a', 0, &result);
  EXPECT_NE(result, 0);
  EXPECT_EQ(D().input.lastKey, "a");
  EXPECT_EQ(D().input.lastKeyCode, 97);
  OnProcessMessageEx(instance_, kWindow, vorel::WM_CHAR, 27, 0, &result);
  EXPECT_EQ(D().input.lastKey, "ESC");
  EXPECT_EQ(ran_, (std::vector<std::string>{"upperA", "escape"}));

  D().settings.onKeyPress = "key";
  OnProcessMessageEx(instance_, kWindow, vorel::WM_CHAR, 'a', 0, &result);
  EXPECT_EQ(ran_.back(), "key") << "a key statement takes every key";
}

TEST_F(DispatchTest, HoverHighlightAndPressedLooks) {
  WritePng("n.png", 10, 10, 0xFF0000FF);
  WritePng("p.png", 12, 12, 0xFF00FF00);
  TLayerObject& l = Layer(1, "a");
  l.Src = "n";
  l.DSrc = "p";
  l.MSrc = "!HIGHLIGHT";
  l.OnClick = "click";
  l.Width = l.Height = 0;
  l.Set(vorel::AutoSize, true);
  Enter(1);
  EXPECT_EQ(Saturations(1), std::vector<std::string>{"300"});
  Down(1);
  EXPECT_EQ(l.ImageWidth, 12) << "pressed look";
  Up(1);
  EXPECT_EQ(l.ImageWidth, 10) << "back to normal after a click with a pressed image";
  Exit(1);
  EXPECT_EQ(Saturations(1).back(), "100");
  EXPECT_EQ(D().input.currentLayerId, vorel::kNoLayerId);
}

TEST_F(DispatchTest, FailingFlipsAndEffects) {
  WritePng("n.png", 10, 10, 0xFF0000FF);
  WritePng("p.png", 12, 12, 0xFF00FF00);
  TLayerObject& l = Layer(1, "a");
  l.Src = "n";
  l.DSrc = "p";
  l.OnClick = "!FLIP:two";
  l.OnMouseEnter = "!EFFECT:SHOW,nolayer,200|afterEffect";
  EXPECT_FALSE(Enter(1)) << "a failed effect is not handled";
  EXPECT_TRUE(ran_.empty()) << "and the statement after | does not run";
  Down(1);
  EXPECT_TRUE(Up(1)) << "a click with a failed flip is still handled";
  EXPECT_EQ(l.ImageWidth, 10) << "and still returns to the normal look";

  l.OnClick = "!EFFECT:HIDE,nolayer|beforeEffect";
  Down(1);
  Up(1);
  EXPECT_EQ(ran_, std::vector<std::string>{"beforeEffect"}) << "a click runs its statement before the effect";
}

TEST_F(DispatchTest, ScriptErrorsAreSwallowed) {
  Layer(1, "a").OnMouseEnter = "fail";
  EXPECT_TRUE(Enter(1)) << "handled means a statement existed";
  D().settings.onMouseEnter = "fail";
  EXPECT_NE(OnMouseOn(instance_), kFalse);
}

TEST_F(DispatchTest, CursorsFromTheTable) {
  TLayerObject& hand = Layer(1, "hand");
  hand.Cursor = static_cast<uint16_t>(-21);
  TLayerObject& ibeam = Layer(2, "ibeam");
  ibeam.Cursor = static_cast<uint16_t>(-4);
  Layer(3, "plain");
  Enter(1);
  Enter(2);
  Enter(3);
  auto calls = TestHost::Get().CallsOf("DeskletSetCursor");
  ASSERT_EQ(calls.size(), 2u) << "a layer without a cursor leaves it";
  EXPECT_GE(std::stoll(calls[0].args[1]), 0x200000) << "the hand is one of the drawn cursors";
  EXPECT_EQ(std::stoll(calls[1].args[1]), 0x100000 + 32513) << "the I-beam is the system's";
  Exit(2);
  EXPECT_EQ(std::stoll(TestHost::Get().CallsOf("DeskletSetCursor").back().args[1]), 0x100000 + 32512)
      << "leaving a layer with a cursor restores the arrow";
  EXPECT_EQ(vorel::CursorHandle(-1), 0u) << "-1 is no cursor at all";
  EXPECT_EQ(vorel::CursorHandle(0), vorel::CursorHandle(12345)) << "unknown numbers give the arrow";
  EXPECT_EQ(vorel::CursorHandle(-2), vorel::CursorHandle(32512));
  EXPECT_EQ(vorel::CursorHandle(-22), vorel::CursorHandle(-5));
  for (const auto& c : TestHost::Get().CallsOf("WinCreateCursor")) EXPECT_GT(std::stoi(c.args[4]), 20) << "ink";
}

TEST_F(DispatchTest, RightClickWithoutStatementTriesTheMenu) {
  Layer(1, "a").OnMouseRightClick = "menu";
  KivPoint pt{4, 4};
  KivSize size{10, 10};
  EXPECT_NE(OnLayerRightClick(instance_, 1, "a", &pt, &size, 2), kFalse);
  EXPECT_EQ(ran_, std::vector<std::string>{"menu"});
  EXPECT_EQ(OnLayerRightClick(instance_, 99, "x", &pt, &size, 2), kFalse) << "no layer and no menu";
}

TEST_F(DispatchTest, DropsRunOncePerFile) {
  D().settings.onDropFile = "dropped(%MOUSEX%)";
  std::vector<std::string> names;
  D().scripting.scriptEngine = std::make_unique<RecordingEngine>([&](const std::string&) { names.push_back(D().input.droppedFile); });
  win::DataObject* files = win::DataObject::WithFiles({"/tmp/one.txt", "/tmp/two.png", "/tmp/three"});
  EXPECT_NE(OnDrop(instance_, files, 0, 0, 0, 0), kFalse);
  files->Release();
  EXPECT_EQ(names, (std::vector<std::string>{"/tmp/one.txt", "/tmp/two.png", "/tmp/three"}));
}

TEST_F(DispatchTest, RefreshMessageRedrawsLayersOnce) {
  WritePng("n.png", 10, 10, 0xFF0000FF);
  Layer(1, "plain").Src = "n";
  Layer(2, "data").Src = "!XMLTXT:0[/a]";
  Layer(3, "broken").Src = "!TXT:x|missing-background";
  LRESULT result = 0;
  OnProcessMessageEx(instance_, kWindow, vorel::MSG_REFRESH_LAYERS, 1, 0, &result);
  EXPECT_TRUE(LayerCalls("DeskletLayerSetVisibility", 1).empty()) << "only data-bound layers";
  EXPECT_EQ(LayerCalls("DeskletLayerSetPlacement", 2).size(), 1u);
  OnProcessMessageEx(instance_, kWindow, vorel::MSG_REFRESH_LAYERS, 0, 0, &result);
  EXPECT_EQ(LayerCalls("DeskletLayerSetPlacement", 1).size(), 1u);
  EXPECT_EQ(TestHost::Get().CallsOf("DeskletRedraw").size(), 2u);
  EXPECT_FALSE(D().sideState.flipping);
}

}  // namespace
}  // namespace rendertest
