// The control object and the controls collection as scripts use them:
// list values and their parts, the shared value field, the object's lock,
// the library's own state read back, creation and deletion.
#include <gmock/gmock.h>

#include "tests/support/test_host.h"
#include "tests/vorel/controls/control_fixture.h"
#include "vorel/model/desklet.h"

using testhost::TestHost;
using ::testing::HasSubstr;
using nlohmann::json;

namespace controltest {
namespace {

class ScriptControlTest : public ControlFixture {
 protected:
  void SetUp() override {
    ControlFixture::SetUp();
    LoadControls(R"(<controls>
        <control name="list" type="DROPDOWNLIST" listvalues="One=1;Two=2;Three" value="2"/>
        <control name="field" type="TEXTFIELD" x="4" y="6" width="50" height="12" value="hello"/>
        <control name="bar" type="VERTICAL_SCROLLBAR" scrollbarsize="30" value="4"/>
        <control name="there" type="LABEL" side="1"/>
      </controls>)");
  }
};

TEST_F(ScriptControlTest, ListValuesGiveDisplayAndValueParts) {
  EXPECT_EQ(Eval("Controls('list').Value"), "2");
  EXPECT_EQ(Eval("Controls('list').Display"), "Two");
  Run("Controls('list').Index = 2");
  EXPECT_EQ(Eval("Controls('list').Value + '/' + Controls('list').Display"), "Three/Three");
  EXPECT_EQ(Eval("Controls('list').GetSelectValue(0)"), "1");
  EXPECT_EQ(Eval("Controls('list').GetSelDisplayValue(1)"), "Two");
  EXPECT_EQ(Eval("Controls('list').GetSelectValue(5)"), "");
  EXPECT_EQ(Eval("Controls('list').GetSelectValue(-1)"), "");
  EXPECT_EQ(Eval("Controls('list').GetSelDisplayValue(-1)"), "");
  Run("Controls('list').Index = -1");
  EXPECT_EQ(Eval("Controls('list').Value + '|' + Controls('list').Display"), "|");
  EXPECT_EQ(Eval("Controls('list').NewIndex"), "-1") << "no change offered yet: the selected index";
}

TEST_F(ScriptControlTest, DisplayAndValueWriteTheSameField) {
  Run("Controls('list').Display = '1'");
  EXPECT_EQ(C("list").Value, "1");
  EXPECT_EQ(Eval("Controls('list').Display"), "One");
  Run("Controls('field').Value = 'typed'");
  EXPECT_EQ(Eval("Controls('field').Display"), "typed");
  EXPECT_EQ(Library("field")["text"], "typed");
}

TEST_F(ScriptControlTest, TextAndPositionAreAskedOfTheLibrary) {
  EXPECT_EQ(Eval("Controls('field').Value"), "hello");
  EXPECT_EQ(Eval("Controls('bar').Value"), "4");
  EXPECT_EQ(Eval("Controls('bar').ScrollBarSize"), "30");
  EXPECT_EQ(Eval("Controls('there').Value"), "") << "a label has no list";
  Run("var f = Controls('field'); f.ReadOnly = true; f.PasswordMode = true");
  EXPECT_EQ(Eval("Controls('field').ReadOnly && Controls('field').PasswordMode"), "True");
  EXPECT_EQ(Library("field")["readOnly"], true);
  EXPECT_EQ(Library("field")["password"], true);
}

TEST_F(ScriptControlTest, ALockedObjectChangesTheRecordOnlyUntilRedraw) {
  Run("var f = Controls('field'); f.LockUpdates(); f.X = 30; f.Index = 0");
  EXPECT_EQ(C("field").X, 30);
  EXPECT_EQ(Library("field")["rect"]["left"], 8) << "the library keeps the old place";
  Run("f.Redraw()");
  EXPECT_EQ(Library("field")["rect"]["left"], 60);
  Run("f.Y = 7");
  EXPECT_EQ(Library("field")["rect"]["top"], 14) << "Redraw unlocked the object";

  Run("var l = Controls('list'); l.LockUpdates(); l.Index = 0");
  EXPECT_EQ(Library("list")["selected"], 0) << "Index reaches the library while locked";
  Run("l.Visible = false");
  EXPECT_FALSE(C("list").Visible);
  EXPECT_THAT(VisibilityOf("list"), testing::Not(testing::Contains("0")));
}

TEST_F(ScriptControlTest, GeometryAndColoursAreChecked) {
  EXPECT_THAT(ErrorOf("Controls('field').X = 40000"), HasSubstr("Range check error"));
  EXPECT_EQ(C("field").X, 4);
  EXPECT_THAT(ErrorOf("Controls('field').FontColor = 'clNoSuch'"), testing::Not(testing::IsEmpty()));
  Run("Controls('field').FontColor = '#00FF00'; Controls('field').FontStyle = 'IU'");
  EXPECT_EQ(Eval("Controls('field').FontColor"), "clLime");
  EXPECT_EQ(C("field").FontStyle, 6);
  EXPECT_EQ(Library("field")["textColor"], 0xFF00FF00u);
  Run("Controls('field').FontSize = 12");
  EXPECT_EQ(Library("field")["fontSize"], 24);
}

TEST_F(ScriptControlTest, TheCollectionIsNewAtEveryReadAndLooksUpByPositionAndName) {
  EXPECT_EQ(Eval("Controls === Controls"), "False");
  EXPECT_EQ(Eval("Controls.Count"), "4");
  EXPECT_EQ(Eval("Controls(1).Name + Controls.Item('bar').CtrlType"), "fieldVERTICAL_SCROLLBAR");
  EXPECT_EQ(Eval("Controls('LIST') == null"), "True");
  EXPECT_EQ(Eval("Controls(4) == null"), "True");
  EXPECT_THAT(ErrorOf("Controls(-1)"), HasSubstr("List index out of bounds (-1)"));
  EXPECT_EQ(Eval("var n = ''; for (var e = new Enumerator(Controls); !e.atEnd(); e.moveNext()) n += e.item().Name; n"),
            "listfieldbarthere");
}

TEST_F(ScriptControlTest, NewMakesAControlOrReturnsTheOneOfThatName) {
  EXPECT_EQ(Eval("Controls.New('field', 'LABEL', 0, 0, 0).CtrlType"), "TEXTFIELD");
  EXPECT_EQ(Eval("Controls.Count"), "4");
  Run("var made = Controls.New('made', 'TEXTFIELD', 3, 4, 0)");
  EXPECT_EQ(Eval("Controls.Count"), "5");
  const vorel::TControlObject& made = C("made");
  EXPECT_TRUE(made.Created);
  EXPECT_TRUE(made.Visible);
  EXPECT_EQ(made.Width, 0);
  EXPECT_EQ(made.ScrollBarSize, 0);
  EXPECT_EQ(made.FontBg, 0xFF000005u) << "the system window colour";
  EXPECT_EQ(Library("made")["rect"]["left"], 6);
  EXPECT_EQ(Eval("Controls.New('late', 'LABEL', 0, 0, 1).Visible"), "False");

  EXPECT_THAT(ErrorOf("Controls.New('odd', 'BUTTON', 0, 0, 0)"), HasSubstr("'BUTTON' is not a control type"));
  EXPECT_THAT(ErrorOf("Controls.New('back', 'LABEL', 0, 0, 0)"), HasSubstr("layer named 'back'"));
  EXPECT_THAT(ErrorOf("Controls.New('far', 'LABEL', 0, 0, 256)"), HasSubstr("Range check error"));
  EXPECT_THAT(ErrorOf("Controls.New('short', 'LABEL')"), HasSubstr("Could not convert variant of type"));
  EXPECT_EQ(Eval("Controls.Count"), "6");
}

TEST_F(ScriptControlTest, DeleteFreesTheControlAndRenumbersTheLayers) {
  const uint32_t barBefore = C("bar").LayerId;
  Run("var gone = Controls('field')");
  EXPECT_EQ(Eval("Controls.Delete('field')"), "True");
  EXPECT_EQ(Eval("Controls.Delete('field')"), "False");
  EXPECT_EQ(Eval("Controls.Count"), "3");
  EXPECT_TRUE(Library("field").is_null());
  BOOL32 found = kTrue;
  DeskletLayerGetLayer(kWindow, "field", &found);
  EXPECT_FALSE(found) << "its host layer went with it";
  EXPECT_EQ(C("bar").LayerId, barBefore - 1) << "the later layers moved up";
  EXPECT_EQ(Eval("gone.Name + '|' + gone.X"), "|0") << "a deleted control's object gives empty results";
  Run("gone.X = 5; gone.Redraw()");
  EXPECT_EQ(Eval("Controls.Delete(0)"), "True");
  EXPECT_EQ(Eval("Controls(0).Name"), "bar");
}

}  // namespace
}  // namespace controltest
