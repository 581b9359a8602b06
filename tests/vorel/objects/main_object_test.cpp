// The main object from JScript: the three ways to reach a member, the
// desklet's host-side properties, deferred redraws, event statements, the
// recorded event values, and members that are not there yet.
#include <gmock/gmock.h>

#include "platform/abi/plugin_api.h"
#include "platform/xml/document.h"
#include "tests/support/test_host.h"
#include "tests/vorel/objects/object_fixture.h"
#include "vorel/host/messages.h"
#include "vorel/script/objects/vorel_main.h"

using testhost::TestHost;
using ::testing::HasSubstr;

namespace objecttest {
namespace {

class MainObjectTest : public ObjectFixture {};

TEST_F(MainObjectTest, AlertIsReachedThreeWays) {
  Run("kiv.alert('one')");
  Run("alert('two')");
  Run("this.alert('three')");
  Run("kiv.ALERT('four')");
  auto boxes = TestHost::Get().CallsOf("WinMessageBox");
  ASSERT_EQ(boxes.size(), 4u);
  EXPECT_EQ(boxes[0].args[0], "one");
  EXPECT_EQ(boxes[1].args[0], "two");
  EXPECT_EQ(boxes[2].args[0], "three");
  EXPECT_EQ(boxes[3].args[0], "four");
}

TEST_F(MainObjectTest, DeskletPropertiesGoThroughTheHost) {
  Run("kiv.DeskletLabel = 'Label one'");
  EXPECT_EQ(TestHost::Get().DeskletOf(kWindow).label, "Label one");
  EXPECT_EQ(Eval("kiv.deskletlabel"), "Label one");
  Run("DeskletAlpha = 128");
  EXPECT_EQ(Eval("DeskletAlpha"), "128");
  EXPECT_THAT(ErrorOf("kiv.DeskletAlpha = 300"), HasSubstr("Range check error"));
  Run("kiv.DeskletWidth = 77");
  EXPECT_EQ(TestHost::Get().DeskletOf(kWindow).size.cx, 77);
  EXPECT_EQ(Eval("kiv.DeskletHeight"), "50") << "the side's height";
}

TEST_F(MainObjectTest, LongNonAsciiLabelsReadBackInCharacters) {
  Run("var cyr = ''; for (var i = 0; i < 200; ++i) cyr += '\\u0436'; kiv.DeskletLabel = cyr");
  EXPECT_EQ(Eval("kiv.DeskletLabel.length"), "200");
  EXPECT_EQ(Eval("kiv.DeskletLabel == cyr ? 'same' : 'differs'"), "same");
  Run("cyr = ''; for (var i = 0; i < 600; ++i) cyr += '\\u0436'; kiv.DeskletLabel = cyr");
  EXPECT_EQ(Eval("kiv.DeskletLabel.length"), "259") << "cut at the character count, the terminator taking one";
  EXPECT_EQ(Eval("kiv.DeskletLabel == cyr.substr(0, 259) ? 'same' : 'differs'"), "same") << "no broken sequence at the end";
  Run("var mixed = ''; for (var i = 0; i < 100; ++i) mixed += 'a\\u20ac\\ud83d\\ude00'; kiv.DeskletLabel = mixed");
  EXPECT_EQ(Eval("kiv.DeskletLabel == mixed.substr(0, 345) ? 'same' : 'differs'"), "same") << "86 whole groups of three, then 'a'";
}

TEST_F(MainObjectTest, PositionSettersKeepTheSizeAndTrapOverflow) {
  TestHost::Get().DeskletOf(kWindow).rect = {10, 20, 110, 70};
  Run("kiv.DeskletXPos = 10");
  auto moves = TestHost::Get().CallsOf("DeskletMove");
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(moves[0].args[1], "10,20,110,70") << "the current x leaves the rectangle unchanged";
  TestHost::Get().DeskletOf(kWindow).rect = {10, 20, 110, 70};
  Run("kiv.DeskletYPos = 5");
  EXPECT_EQ(TestHost::Get().CallsOf("DeskletMove").back().args[1], "10,5,110,55");
  TestHost::Get().DeskletOf(kWindow).rect = {10, 20, 110, 70};
  EXPECT_THAT(ErrorOf("kiv.DeskletXPos = 2147483600"), HasSubstr("Integer overflow"));
  EXPECT_EQ(CountOf("DeskletMove"), 2u) << "an overflowing move does not reach the host";
}

TEST_F(MainObjectTest, RedrawRequestsArePostedAndGiveOneRedraw) {
  Run("kiv.Redraw(); kiv.Redraw(true); kiv.Refresh(); kiv.Invalidate(); kiv.Invalidate(false);");
  auto posted = TestHost::Get().Posted();
  ASSERT_EQ(posted.size(), 5u);
  EXPECT_EQ(posted[0].message, vorel::MSG_REFRESH_LAYERS);
  EXPECT_EQ(posted[0].wParam, 0u);
  EXPECT_EQ(posted[1].wParam, 1u);
  EXPECT_EQ(posted[2].message, vorel::MSG_REDRAW);
  EXPECT_EQ(posted[3].message, vorel::MSG_INVALIDATE);
  EXPECT_EQ(posted[3].wParam, 1u);
  EXPECT_EQ(posted[4].wParam, 0u);
  EXPECT_EQ(CountOf("DeskletRedraw"), 0u) << "nothing is drawn inside the script";

  ForgetCalls();
  Run("kiv.Layers('a').Text = 'changed'; kiv.Redraw();");
  TestHost::Get().DeliverPosted();
  EXPECT_EQ(CountOf("DeskletRedraw"), 1u);
  auto invalidations = TestHost::Get().CallsOf("DeskletInvalidateRect");
  ForgetCalls();
  Run("kiv.Invalidate()");
  TestHost::Get().DeliverPosted();
  auto full = TestHost::Get().CallsOf("DeskletInvalidateRect");
  ASSERT_EQ(full.size(), 1u);
  EXPECT_EQ(full[0].args[1], "0,0,100,50") << "the whole current side";
}

TEST_F(MainObjectTest, LockingAllUpdatesTurnsOffTheLayersRedrawArgument) {
  Run("kiv.LockAllUpdates()");
  EXPECT_TRUE(D().updatesLocked);
  EXPECT_EQ(CountOf("DeskletLockInvalidating"), 1u);
  Run("kiv.UnlockAllUpdates()");
  EXPECT_FALSE(D().updatesLocked);
  auto unlocks = TestHost::Get().CallsOf("DeskletUnlockInvalidating");
  ASSERT_EQ(unlocks.size(), 1u);
  EXPECT_EQ(unlocks[0].args[1], "0");
}

TEST_F(MainObjectTest, EventStatementsAreTheDeskletsOwn) {
  Run("kiv.OnMouseEnter = 'entered = 1'");
  EXPECT_EQ(D().settings.onMouseEnter, "entered = 1");
  Run("kiv.OnKeyDown = 'k = 1'");
  EXPECT_EQ(D().settings.onKeyPress, "k = 1");
  OnMouseOn(instance_);
  EXPECT_EQ(Eval("entered"), "1");
  EXPECT_EQ(Eval("kiv.SkinName"), "Objects");
}

TEST_F(MainObjectTest, RecordedEventValues) {
  OnMouseMove(instance_, 12, 34);
  EXPECT_EQ(Eval("GetMouseXPos() + ',' + GetMouseYPos()"), "12,34");
  D().settings.onKeyPress.clear();
  LRESULT result = 0;
  OnProcessMessageEx(instance_, kWindow, 258, 27, 0, &result);
  EXPECT_EQ(Eval("GetKeyStr() + GetKeyVal()"), "ESC27");
  EXPECT_EQ(Eval("kiv.GetCurrentSide()"), "0");
  EXPECT_EQ(Eval("kiv.ConvertToValue('!TXT:plain %MOUSEX%')"), "plain 12");
  EXPECT_EQ(Eval("kiv.ConvertToValue('no prefix %MOUSEY%')"), "no prefix 34");
}

TEST_F(MainObjectTest, ConvertToValueReadsDataAndTextFiles) {
  vorel::TXMLInfo source;
  source.Src = "file:///unused";
  source.Interval = 60;
  source.Document = std::make_shared<xml::Document>();
  ASSERT_TRUE(source.Document->LoadXML("<w><t>21</t><c>Oslo</c></w>"));
  D().data.xmlSources.push_back(std::move(source));
  dir_.Write("skin/lines.txt", "one\ntwo\nthree\n");
  OnMouseMove(instance_, 12, 34);
  EXPECT_EQ(Eval("kiv.ConvertToValue('!XMLTXT:0[/w/c][\\' \\'][/w/t]')"), "Oslo 21");
  EXPECT_EQ(Eval("kiv.ConvertToValue('!XML:0[/w/t]')"), "21") << "no text marker, the value itself";
  EXPECT_EQ(Eval("kiv.ConvertToValue('!TXTFILE:lines.txt|1|1')"), "two");
  // Expansion comes first, so a variable can choose the source's path.
  EXPECT_EQ(Eval("kiv.ConvertToValue('!XMLTRANSTXT:0[/w/t * 2 + %MOUSEX%]')"), "54");
}

TEST_F(MainObjectTest, ActiveLayerFollowsTheLayerEvents) {
  EXPECT_EQ(Eval("GetActiveLayer() == null"), "True") << "before any layer event";
  KivPoint pt{3, 4};
  KivSize size{40, 10};
  OnLayerMouseMove(instance_, L("b").Id, "b", &pt, &size);
  EXPECT_EQ(Eval("GetActiveLayer().Name"), "b");
  EXPECT_EQ(Eval("GetLayerMouseXPos() + ',' + GetLayerMouseYPos()"), "3,4");
  Run("kiv.Layers.Delete('b')");
  EXPECT_EQ(Eval("GetActiveLayer() == null"), "True") << "the active layer was deleted";
  OnLayerMouseOut(instance_, L("a").Id, "a");
  EXPECT_EQ(Eval("GetActiveLayer() == null"), "True") << "after an exit, even from the first layer";
}

TEST_F(MainObjectTest, SoundsComeFromTheResourceFolder) {
  Run("kiv.MultiMedia('ding.wav', 2); kiv.MultiMedia('ding.wav', 0); kiv.MultiMedia('ding.wav', 7);");
  auto sounds = TestHost::Get().CallsOf("WinPlaySound");
  ASSERT_EQ(sounds.size(), 2u);
  EXPECT_EQ(sounds[0].args[0], D().settings.resourcePath + "ding.wav");
  EXPECT_EQ(sounds[0].args[1], "9");
  EXPECT_EQ(sounds[1].args[0], "(null)") << "stopping calls the player without a file";
  Run("kiv.SetMultiMediaWindow(1, 2, 3, 4)");
}

TEST_F(MainObjectTest, SleepRefusesHugeValuesBeforeWaiting) {
  Run("kiv.Sleep(1)");
  EXPECT_THAT(ErrorOf("kiv.Sleep(2147483648)"), HasSubstr("Range check error"));
  EXPECT_THAT(ErrorOf("kiv.Sleep(-1)"), HasSubstr("Range check error"));
}

TEST_F(MainObjectTest, CollectionsAreCachedButControls) {
  vorel::TVorelMain* main = vorel::TVorelMain::From(D().scripting.mainObject.Get());
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(main->GetLayers().Dispatch(), main->GetLayers().Dispatch());
  EXPECT_EQ(main->GetTimers().Dispatch(), main->GetTimers().Dispatch());
  EXPECT_EQ(Eval("kiv.Controls.Count"), "0");
  EXPECT_NE(main->GetControls().Dispatch(), main->GetControls().Dispatch()) << "a new controls collection every read";
  EXPECT_EQ(main->GetParameters().Dispatch(), main->GetParameters().Dispatch());
  EXPECT_EQ(main->GetSides().Dispatch(), main->GetSides().Dispatch());
  EXPECT_EQ(main->GetXmls().Dispatch(), main->GetXmls().Dispatch());
  EXPECT_EQ(Eval("kiv.XMLS.Count"), "0");
  EXPECT_THAT(ErrorOf("kiv.CreateObject('Some.Thing')"), HasSubstr("can't create object: 'Some.Thing'"));
}

TEST_F(MainObjectTest, ScriptsThatStillHoldTheMainObjectAfterTheDeskletAreRefused) {
  auto held = D().scripting.mainObject;
  vorel::TVorelMain::From(held.Get())->Unbind();
  EXPECT_THAT(ErrorOf("kiv.DeskletLabel = 'x'"), HasSubstr("no longer connected"));
  EXPECT_EQ(TestHost::Get().CallsOf("DeskletSetLabelW").size(), 0u);
}

}  // namespace
}  // namespace objecttest
