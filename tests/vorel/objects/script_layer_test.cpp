// The layer object from JScript: text and image sources, the range of
// geometry, style, alignment, colour and cursor texts, the object's own
// lock, host-side setters, the clip rectangle and honest failures.
#include <gmock/gmock.h>

#include "tests/support/test_host.h"
#include "tests/vorel/objects/object_fixture.h"
#include "vorel/skin/layer_attributes.h"

using testhost::TestHost;
using ::testing::HasSubstr;

namespace objecttest {
namespace {

class ScriptLayerTest : public ObjectFixture {};

TEST_F(ScriptLayerTest, TextAndImageShareTheSource) {
  Run("var a = kiv.Layers('a'); a.Text = 'new words';");
  EXPECT_EQ(L("a").Src, "!TXT:new words");
  EXPECT_EQ(Eval("a.Text"), "new words");
  EXPECT_EQ(Eval("a.Image"), "!TXT:new words");
  EXPECT_EQ(CountOf("DeskletLayerSetImage"), 1u) << "a put renders at once";
  Run("a.Image = 'pic.png'");
  EXPECT_EQ(Eval("a.Image"), "");
  EXPECT_EQ(Eval("a.Text"), "");
  EXPECT_EQ(Eval("a.Src"), "pic.png");
}

TEST_F(ScriptLayerTest, GeometryIsSixteenBits) {
  Run("var b = Layers('b'); b.X = 32767; b.Y = -32768;");
  EXPECT_EQ(L("b").X, 32767);
  EXPECT_EQ(L("b").Y, -32768);
  EXPECT_THAT(ErrorOf("b.X = 32768"), HasSubstr("Range check error"));
  EXPECT_EQ(L("b").X, 32767) << "a refused value leaves the layer as it was";
  EXPECT_THAT(ErrorOf("b.Width = -40000"), HasSubstr("Range check error"));
}

TEST_F(ScriptLayerTest, StyleAlignmentColourAndCursorTexts) {
  Run("var a = Layers('a'); a.FontAA = true; a.FontStyle = 'BU';");
  EXPECT_EQ(Eval("a.FontStyle"), "BU");
  EXPECT_EQ(Eval("a.FontAA"), "True");
  Run("a.FontStyle = 'bu'");
  EXPECT_EQ(Eval("a.FontStyle"), "");
  EXPECT_EQ(Eval("a.FontAA"), "True");

  Run("a.FontAlignment = ''");
  EXPECT_EQ(Eval("a.FontAlignment"), "LT");
  Run("a.FontAlignment = 'RB'");
  EXPECT_EQ(Eval("a.FontAlignment"), "RB");

  Run("a.FontColor = '#FF0000'");
  EXPECT_EQ(Eval("a.FontColor"), "clRed");
  Run("a.FontColor = 'clred'");
  EXPECT_EQ(Eval("a.FontColor"), "clRed");
  Run("a.FontColor = 'red'");
  EXPECT_EQ(Eval("a.FontColor"), "clBlack");
  Run("a.FontColor = '$123456'");
  EXPECT_EQ(Eval("a.FontColor"), "$00563412");
  EXPECT_THAT(ErrorOf("a.FontColor = '#zz'"), HasSubstr("is not a valid integer value"));
  EXPECT_THAT(ErrorOf("a.FontColor = '$FFFFFFFF'"), HasSubstr("Range check error"));
  EXPECT_EQ(Eval("a.FontColor"), "$00563412") << "a refused colour changes nothing";

  Run("a.Cursor = 'crsizeall'");
  EXPECT_EQ(Eval("a.Cursor"), "crSizeAll");
  Run("a.Cursor = '-22'");
  EXPECT_EQ(Eval("a.Cursor"), "crSizeAll");
  Run("a.Cursor = 'IDC_HAND'");
  EXPECT_EQ(Eval("a.Cursor"), "32649");
  Run("a.Cursor = '65535'");
  EXPECT_EQ(Eval("a.Cursor"), "");
  EXPECT_THAT(ErrorOf("a.Cursor = 'pointy'"), HasSubstr("'pointy' is not a valid integer value"));
}

TEST_F(ScriptLayerTest, TheLockBelongsToOneObject) {
  Run("var one = Layers('b'); var two = Layers('b'); one.LockUpdates(); one.X = 7; one.Y = 8;");
  EXPECT_EQ(L("b").X, 7);
  EXPECT_EQ(CountOf("DeskletLayerSetImage"), 0u) << "locked: no drawing";
  Run("one.Alpha = 100");
  EXPECT_EQ(L("b").Alpha, 100);
  EXPECT_EQ(CountOf("DeskletLayerSetAlpha"), 0u) << "locked: alpha is stored only";
  Run("two.X = 9");
  EXPECT_EQ(CountOf("DeskletLayerSetImage"), 1u) << "the other object is not locked";
  Run("one.Redraw(); one.Y = 3;");
  EXPECT_EQ(CountOf("DeskletLayerSetImage"), 3u) << "Redraw draws once and unlocks";
}

TEST_F(ScriptLayerTest, HostSideSettersAndTheirRedrawArgument) {
  Run("var c = Layers('c'); c.Alpha = 50; c.Visible = false; c.Rotation = 45; c.Clickable = false;");
  const uint32_t id = L("c").Id;
  auto alpha = LayerCalls("DeskletLayerSetAlpha", id);
  ASSERT_EQ(alpha.size(), 1u);
  EXPECT_EQ(alpha[0].args[2], "50");
  EXPECT_FALSE(L("c").Has(vorel::Visible));
  EXPECT_EQ(LayerCalls("DeskletLayerSetRotation", id).size(), 1u);
  EXPECT_EQ(Eval("c.Rotation"), "0") << "rotation is not stored";
  auto through = LayerCalls("DeskletLayerSetIsClickThrough", id);
  ASSERT_EQ(through.size(), 1u);
  EXPECT_NE(through[0].args[2], "0") << "not clickable is click-through";
  EXPECT_EQ(CountOf("DeskletLayerSetImage"), 0u) << "none of these renders";
  EXPECT_THAT(ErrorOf("c.Alpha = 256"), HasSubstr("Range check error"));
}

TEST_F(ScriptLayerTest, ClipSourceReadsAsAnArrayAndTakesTextOrArrays) {
  Run("var b = Layers('b'); b.ClipSource = '1,2,3,4';");
  EXPECT_EQ(Eval("new VBArray(b.ClipSource).toArray().join('|')"), "1|2|3|4");
  Run("b.ClipSource = '5,6,7'");
  EXPECT_EQ((std::array<int32_t, 4>{0, 0, 0, 0}), L("b").ClipSource) << "three parts give four zeros";
  Run("b.ClipSource = ',2,,4,9'");
  EXPECT_EQ((std::array<int32_t, 4>{0, 2, 0, 4}), L("b").ClipSource);
  EXPECT_THAT(ErrorOf("b.ClipSource = '1,x,3,4'"), HasSubstr("'x' is not a valid integer value"));
  Run("b.ClipSource = 12");
  EXPECT_EQ((std::array<int32_t, 4>{0, 0, 0, 0}), L("b").ClipSource);
}

TEST_F(ScriptLayerTest, FlagsAndStatements) {
  Run("var c = Layers('c'); c.Down = true; c.onMouseClick = 'clicked = 1'; c.KeyBind = 'Q';");
  EXPECT_TRUE(L("c").Has(vorel::Down));
  EXPECT_EQ(L("c").OnClick, "clicked = 1");
  EXPECT_EQ(Eval("c.Down + ',' + c.Name"), "true,c");
  Run("c.Scale = 0; c.TextResize = 1;");
  EXPECT_FALSE(L("c").Has(vorel::Scale));
  EXPECT_TRUE(L("c").Has(vorel::TextResize));
  EXPECT_EQ(Eval("c.Scale"), "False");
  EXPECT_EQ(Eval("c.ImageWidth + 'x' + c.ImageHeight"), "8x6");
}

TEST_F(ScriptLayerTest, SlidesConvertTheirArguments) {
  Run("var b = Layers('b'); b.Slide(5, 6, 7, 10);");  // a number as the start does nothing
  EXPECT_TRUE(TestHost::Get().CallsOf("DeskletLayerSetImageClipRect").empty());
  // A start equal to the end shows one frame, and the call waits for it.
  Run("b.Slide('0,0,10,10', '0,0,10,10', '1,1,1,1', 10)");
  const auto clips = TestHost::Get().CallsOf("DeskletLayerSetImageClipRect");
  ASSERT_EQ(clips.size(), 1u);
  EXPECT_EQ(clips[0].args[3], "0,0,10,10");
  EXPECT_TRUE(D().animations.slides.empty());
}

TEST_F(ScriptLayerTest, AnObjectOfADeletedLayerFailsInsteadOfTouchingIt) {
  Run("var b = Layers('b'); Layers.Delete('b');");
  EXPECT_EQ(D().FindLayerByName("b"), nullptr);
  EXPECT_THAT(ErrorOf("b.X = 3"), HasSubstr("no longer connected"));
}

}  // namespace
}  // namespace objecttest
