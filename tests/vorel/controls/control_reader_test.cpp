// Reading controls from the skin: defaults, the elements passed over, a
// control that fails part-way, and the group side.
#include <gmock/gmock.h>

#include "tests/vorel/controls/control_fixture.h"

using ::testing::HasSubstr;

namespace controltest {
namespace {

class ControlReaderTest : public ControlFixture {};

std::string JoinedLog(const vorel::TDeskletObject& d) {
  std::string all;
  for (const std::string& line : d.errorLog.Lines()) all += line + "\n";
  return all;
}

TEST_F(ControlReaderTest, AnElementWithOnlyNameAndTypeTakesTheDefaults) {
  LoadControls(R"(<controls><control name="t" type="TEXTFIELD"/></controls>)");
  const vorel::TControlObject& c = C("t");
  EXPECT_TRUE(c.Created);
  EXPECT_NE(c.Handle, 0u);
  EXPECT_EQ(c.Owner, &D());
  EXPECT_EQ(c.FontName, "Arial");
  EXPECT_EQ(c.FontSize, 8);
  EXPECT_EQ(c.FontColor, 0u);
  EXPECT_EQ(c.FontBg, 16777215u);
  EXPECT_EQ(c.FontAlign, 9);
  EXPECT_EQ(c.FontStyle, 0);
  EXPECT_EQ(c.ScrollBarSize, 1);
  EXPECT_EQ(c.Alpha, 255);
  EXPECT_TRUE(c.Visible);
  EXPECT_FALSE(c.ReadOnly);
  EXPECT_FALSE(c.Password);
  EXPECT_EQ(c.NewIndex, -1);
  EXPECT_EQ(Library("t").value("type", ""), "TEXTFIELD");
}

TEST_F(ControlReaderTest, AttributesAreExpandedWhereTheyAreNumbersAndKeptRawWhereTheyAreStatements) {
  LoadControls(R"(<controls side="1"><control name="t" type="EDITBOX" x="%w%" y="3" width="50" height="20"
      fontname="Verdana" fontsize="11" fontcolor="#FF0000" fontbg="clNoSuchColour" fontstyle="BI" fontalign="R"
      onchange="a=%w%" value="%w%" readonly="yes" password="1" scrollbarsize="7"/></controls>)",
                R"(<parameters><param name="w" default="12"/></parameters>)");
  const vorel::TControlObject& c = C("t");
  EXPECT_EQ(c.X, 12);
  EXPECT_EQ(c.CtrlSide, 1) << "the group's side";
  EXPECT_EQ(c.FontName, "Verdana");
  EXPECT_EQ(c.FontColor, 0x0000FFu);
  EXPECT_EQ(c.FontBg, 16777215u) << "a colour that does not convert keeps the default";
  EXPECT_EQ(c.FontStyle, 3) << "no anti-alias bit";
  EXPECT_EQ(c.FontAlign, 4);
  EXPECT_EQ(c.OnChange, "a=%w%");
  EXPECT_EQ(c.Value, "%w%") << "expanded when shown, not when read";
  EXPECT_TRUE(c.ReadOnly);
  EXPECT_TRUE(c.Password);
  EXPECT_EQ(c.ScrollBarSize, 7);
}

TEST_F(ControlReaderTest, ElementsWithoutANameOfAnUnknownTypeOrATakenNameArePassedOver) {
  const int32_t before = D().nextLayerNumber;
  LoadControls(R"(<controls>
      <control type="TEXTFIELD"/>
      <control name="lower" type="textfield"/>
      <control name="back" type="LABEL"/>
      <control name="twice" type="LABEL" value="first"/>
      <control name="twice" type="TEXTFIELD" value="second"/>
    </controls>)");
  ASSERT_EQ(D().controlState.controls.size(), 1u);
  EXPECT_EQ(C("twice").CtrlType, "LABEL");
  EXPECT_EQ(D().nextLayerNumber, before + 2 + 1) << "two layers, and only the control that was read";
}

TEST_F(ControlReaderTest, AControlThatFailsPartWayStaysUnmadeAndTheNextIsRead) {
  LoadControls(R"(<controls>
      <control name="bad" type="TEXTFIELD" x="5" visible="maybe"/>
      <control name="wide" type="LABEL" width="40000"/>
      <control name="good" type="LABEL"/>
    </controls>)");
  ASSERT_EQ(D().controlState.controls.size(), 3u);
  EXPECT_FALSE(C("bad").Created);
  EXPECT_EQ(C("bad").Handle, 0u);
  EXPECT_EQ(C("bad").X, 5) << "the fields read before the failure stay";
  EXPECT_FALSE(C("wide").Created);
  EXPECT_TRUE(C("good").Created);
  EXPECT_TRUE(Library("bad").is_null());
  EXPECT_THAT(JoinedLog(D()), HasSubstr("'maybe' is not a valid boolean value"));
  EXPECT_THAT(JoinedLog(D()), HasSubstr("Range check error"));
}

TEST_F(ControlReaderTest, AGroupSideOutOfRangeFailsTheLoad) {
  LoadControls(R"(<controls side="256"><control name="t" type="LABEL"/></controls>)");
  EXPECT_TRUE(D().controlState.controls.empty());
  EXPECT_THAT(JoinedLog(D()), HasSubstr("Range check error"));
}

}  // namespace
}  // namespace controltest
