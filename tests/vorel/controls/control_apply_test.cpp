// What the plug-in pushes into the control library: doubled geometry of
// text controls, fonts, list items and the selected value, scroll values,
// visibility by side, the value text, refreshes and the notifications each
// type registers.
#include <gmock/gmock.h>

#include "tests/support/test_host.h"
#include "tests/vorel/controls/control_fixture.h"
#include "vorel/model/desklet.h"
#include "vorel/runtime/control_apply.h"
#include "vorel/runtime/control_values.h"
#include "vorel/runtime/side_flip.h"

using testhost::TestHost;
using ::testing::ElementsAre;
using nlohmann::json;

namespace controltest {
namespace {

class ControlApplyTest : public ControlFixture {};

TEST_F(ControlApplyTest, TextControlsArePlacedAndSizedAtTwiceTheirSize) {
  LoadControls(R"(<controls>
      <control name="t" type="TEXTFIELD" x="10" y="5" width="100" height="20" fontsize="9"/>
      <control name="l" type="LABEL" x="10" y="30" width="100" height="20" fontsize="9"/>
    </controls>)");
  const json t = Library("t"), l = Library("l");
  EXPECT_EQ(t["rect"], (json{{"left", 20}, {"top", 10}, {"right", 220}, {"bottom", 50}}));
  EXPECT_EQ(t["fontSize"], 18);
  EXPECT_EQ(l["rect"], (json{{"left", 10}, {"top", 30}, {"right", 110}, {"bottom", 50}}));
  EXPECT_EQ(l["fontSize"], 9);
  std::vector<std::string> invalidated;
  for (const testhost::Call& call : TestHost::Get().CallsOf("DeskletInvalidateRect")) invalidated.push_back(call.args[2]);
  EXPECT_THAT(invalidated, testing::Contains("400x200")) << "the reference size doubles with the rectangle";
}

TEST_F(ControlApplyTest, FontsAndColoursReachTheLibrary) {
  LoadControls(R"(<controls>
      <control name="d" type="DROPDOWNLIST" fontname="Verdana" fontsize="10" fontstyle="B"
               fontcolor="#102030" fontbg="#FFFFFF" fontalign="C"/>
    </controls>)");
  const json d = Library("d");
  EXPECT_EQ(d["fontName"], "Verdana");
  EXPECT_EQ(d["fontSize"], 10.0);
  EXPECT_EQ(d["fontStyle"], 1);
  EXPECT_EQ(d["textColor"], 0xFF102030u) << "alpha, red, green, blue";
  EXPECT_EQ(d["backColor"], 0xFFFFFFFFu);
  EXPECT_EQ(d["alignment"], 2);
}

TEST_F(ControlApplyTest, ADropDownListShowsTheDisplayPartsAndSelectsTheValue) {
  LoadControls(R"(<controls>
      <control name="colour" type="DROPDOWNLIST" listvalues="Red=1;Green=2" value="2"/>
      <control name="none" type="DROPDOWNLIST" listvalues="Red=1;Green=2" value=""/>
      <control name="missing" type="DROPDOWNLIST" listvalues="Red=1;Green=2" value="9"/>
    </controls>)");
  EXPECT_EQ(Library("colour")["items"], (json{"Red", "Green"}));
  EXPECT_EQ(Library("colour")["selected"], 1);
  EXPECT_EQ(Library("none")["selected"], -1) << "an empty value selects nothing";
  EXPECT_EQ(Library("missing")["selected"], -1);

  vorel::RefreshControlValues(D(), 0, false);
  EXPECT_EQ(Library("none")["selected"], 0) << "refreshed, an empty value selects the first item";
  EXPECT_EQ(Library("colour")["selected"], 1);
}

TEST_F(ControlApplyTest, AScrollBarTakesItsSizeAndANumericValue) {
  LoadControls(R"(<controls>
      <control name="s" type="VERTICAL_SCROLLBAR" scrollbarsize="20" value="7"/>
      <control name="word" type="VERTICAL_SCROLLBAR" scrollbarsize="20" value="seven"/>
    </controls>)");
  EXPECT_EQ(Library("s")["scrollSize"], 20);
  EXPECT_EQ(Library("s")["scrollPos"], 7);
  EXPECT_EQ(Library("word")["scrollPos"], 0);
  C("word").Value = "3";
  vorel::ApplyControl(D(), C("word"));
  C("word").Value = "three";
  vorel::ApplyControl(D(), C("word"));
  EXPECT_EQ(Library("word")["scrollPos"], 3) << "a value that is not a number keeps the position";
}

TEST_F(ControlApplyTest, AControlOnAnotherSideIsMadeHidden) {
  LoadControls(R"(<controls>
      <control name="here" type="LABEL"/>
      <control name="there" type="LABEL" side="1"/>
      <control name="off" type="LABEL" visible="0"/>
    </controls>)");
  EXPECT_THAT(VisibilityOf("here"), ElementsAre(testing::Ne("0")));
  EXPECT_THAT(VisibilityOf("there"), ElementsAre("0"));
  EXPECT_THAT(VisibilityOf("off"), ElementsAre("0"));
  uint32_t id = 0;
  BOOL32 found = kFalse;
  id = DeskletLayerGetLayer(kWindow, "there", &found);
  EXPECT_TRUE(found);
  EXPECT_EQ(C("there").LayerId, id);
}

TEST_F(ControlApplyTest, TheValueTextIsExpandedAndCutAfterTheTextMarker) {
  dir_.Write("skin/note.txt", "line one\nline two\n");
  LoadControls(R"(<controls>
      <control name="v" type="TEXTFIELD" value="%City% now"/>
      <control name="cut" type="LABEL" value="ignored!TXT:shown"/>
      <control name="file" type="EDITBOX" value="!TXTFILE:note.txt"/>
    </controls>)",
                R"(<parameters><param name="City" default="Oslo"/></parameters>)");
  EXPECT_EQ(Library("v")["text"], "Oslo now");
  EXPECT_EQ(Library("cut")["text"], "shown");
  EXPECT_EQ(Library("file")["text"], "line one\r\nline two\r\n");
  EXPECT_EQ(vorel::ControlValueText(D(), C("v")), "Oslo now");
}

TEST_F(ControlApplyTest, RefreshingFromDataOnlyTouchesControlsThatShowData) {
  LoadControls(R"(<controls>
      <control name="plain" type="TEXTFIELD" value="a"/>
      <control name="data" type="TEXTFIELD" value="!XMLTXT:0[/none]"/>
      <control name="there" type="TEXTFIELD" value="b" side="1"/>
    </controls>)");
  C("plain").Value = "changed";
  C("there").Value = "changed";
  vorel::RefreshControlValues(D(), 0, true);
  EXPECT_EQ(Library("plain")["text"], "a");
  vorel::RefreshControlValues(D(), 0, false);
  EXPECT_EQ(Library("plain")["text"], "changed");
  EXPECT_EQ(Library("there")["text"], "b") << "only the side asked for";

  vorel::RequestFlip(D(), "!FLIP:1");
  EXPECT_EQ(Library("there")["text"], "changed") << "a flip refreshes the target side first";
}

TEST_F(ControlApplyTest, EachTypeRegistersItsNotifications) {
  LoadControls(R"(<controls>
      <control name="t" type="TEXTFIELD"/><control name="e" type="EDITBOX"/>
      <control name="d" type="DROPDOWNLIST"/><control name="s" type="VERTICAL_SCROLLBAR"/>
      <control name="i" type="IMAGEBUTTON"/><control name="l" type="LABEL"/>
    </controls>)");
  EXPECT_EQ(Library("t")["callbacks"], (json{10, 11, 120, 129}));
  EXPECT_EQ(Library("e")["callbacks"], (json{10, 11, 120, 129}));
  EXPECT_EQ(Library("d")["callbacks"], (json{10, 11, 311}));
  EXPECT_EQ(Library("s")["callbacks"], (json{10, 11, 206}));
  EXPECT_EQ(Library("i")["callbacks"], (json{10, 11}));
  EXPECT_EQ(Library("l")["callbacks"], (json{10, 11}));
}

TEST_F(ControlApplyTest, ANegativeFontSizeEndsTheUpdateAndTheNextStillWorks) {
  LoadControls(R"(<controls>
      <control name="neg" type="LABEL" fontsize="-3" value="v"/>
      <control name="t" type="TEXTFIELD" fontsize="-3" value="v"/>
      <control name="after" type="LABEL" value="fine"/>
    </controls>)");
  EXPECT_TRUE(C("neg").Created) << "made before the failure";
  EXPECT_NE(C("neg").Handle, 0u);
  EXPECT_TRUE(Library("neg").is_null()) << "the update ended before the control joined its container";
  EXPECT_TRUE(Library("t").is_null());
  EXPECT_EQ(Library("after")["text"], "fine");
  // A later update of the record, with a size that works, finishes it.
  C("neg").FontSize = 8;
  vorel::ApplyControl(D(), C("neg"));
  EXPECT_EQ(Library("neg")["text"], "v");
}

}  // namespace
}  // namespace controltest
