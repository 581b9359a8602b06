// What the user does to a control reaches its statements: through the
// plug-in's exports, the host's control library and back through the
// notifications. NewIndex inside a selection change, typed text, focus,
// the Enter key, scroll bars, and statements that delete their own control.
#include <gmock/gmock.h>

#include "platform/abi/plugin_api.h"
#include "tests/support/test_host.h"
#include "tests/vorel/controls/control_fixture.h"
#include "vorel/host/messages.h"
#include "vorel/model/desklet.h"

using testhost::TestHost;
using nlohmann::json;

namespace controltest {
namespace {

constexpr uint32_t kKeyDown = 256;
constexpr WPARAM kDown = 40, kEnd = 35;

class ControlEventsTest : public ControlFixture {
 protected:
  void SetUp() override {
    ControlFixture::SetUp();
    LoadControls(R"(<controls>
        <control name="list" type="DROPDOWNLIST" x="10" y="10" width="80" height="20" listvalues="A=a;B=b;C=c"
                 value="b" onchange="seen = Controls('list').NewIndex + ':' + Controls('list').Index"/>
        <control name="field" type="TEXTFIELD" x="10" y="40" width="80" height="20" value="ab"
                 onchange="changes = (typeof changes == 'undefined' ? 0 : changes) + 1"
                 onenter="focus = 'in'" onexit="focus = 'out'" onkeyenter="entered = Controls('field').Value"/>
        <control name="bar" type="VERTICAL_SCROLLBAR" x="150" y="0" width="16" height="90" scrollbarsize="5"
                 onchange="moved = Controls('bar').Value"/>
      </controls>)");
  }
  // A press and release on the control's layer, at a point of it.
  void Click(const std::string& name, int32_t x, int32_t y) {
    const vorel::TControlObject& c = C(name);
    const KivPoint pt{x, y};
    const KivSize size{c.Width, c.Height};
    OnLayerMouseDown(instance_, c.LayerId, c.Name.c_str(), &pt, &size, 1);
    OnLayerMouseUp(instance_, c.LayerId, c.Name.c_str(), &pt, &size, 1);
  }
  void Message(uint32_t message, WPARAM wParam, LPARAM lParam = 0) {
    LRESULT result = 0;
    OnProcessMessageEx(instance_, kWindow, message, wParam, lParam, &result);
  }
  void Type(const std::u16string& text) {
    for (char16_t ch : text) Message(vorel::WM_CHAR, ch);
  }
};

TEST_F(ControlEventsTest, NewIndexIsTheIndexBeingSelectedInsideTheChange) {
  Click("list", 40, 10);   // opens the list and takes the focus
  Message(vorel::WM_CHAR, 27);  // Escape closes it, the focus stays
  Message(kKeyDown, kDown);
  EXPECT_EQ(Eval("seen"), "2:1") << "the new index, while the old one is still selected";
  EXPECT_EQ(Library("list")["selected"], 2);
  EXPECT_EQ(C("list").NewIndex, 2);
  Run("Controls('list').Index = 0");
  EXPECT_EQ(Eval("Controls('list').NewIndex"), "2") << "the last offered index stays recorded";
}

TEST_F(ControlEventsTest, ASelectionWithoutAStatementRecordsNothing) {
  Run("Controls('list').OnChange = ''");
  Click("list", 40, 10);
  Message(vorel::WM_CHAR, 27);
  Message(kKeyDown, kDown);
  EXPECT_EQ(Library("list")["selected"], 2);
  EXPECT_EQ(C("list").NewIndex, -1);
}

TEST_F(ControlEventsTest, TypingChangesTheTextAndRunsTheStatements) {
  Click("field", 70, 10);
  EXPECT_EQ(Eval("focus"), "in");
  Message(kKeyDown, kEnd);
  Type(u"cd");
  EXPECT_EQ(Eval("Controls('field').Value"), "abcd");
  EXPECT_EQ(Eval("changes"), "2") << "one change a character";
  EXPECT_EQ(C("field").Value, "ab") << "the record keeps the skin's value";
  Message(kKeyDown, 13);
  Message(vorel::WM_CHAR, 13);
  EXPECT_EQ(Eval("entered"), "abcd");
  Click("list", 40, 10);
  EXPECT_EQ(Eval("focus"), "out");
}

TEST_F(ControlEventsTest, TheScrollBarArrowRunsItsChange) {
  Click("bar", 8, 85);  // the lower arrow
  EXPECT_EQ(Eval("moved"), "1");
  EXPECT_EQ(Library("bar")["scrollPos"], 1);
}

TEST_F(ControlEventsTest, AStatementMayDeleteItsOwnControl) {
  Run("Controls('list').OnChange = \"Controls.Delete('list'); gone = Controls.Count\"");
  Click("list", 40, 10);
  Message(vorel::WM_CHAR, 27);
  Message(kKeyDown, kDown);
  EXPECT_EQ(Eval("gone"), "2");
  EXPECT_EQ(D().FindControl("list"), nullptr);
  EXPECT_TRUE(Library("list").is_null());
}

TEST_F(ControlEventsTest, AFailingStatementIsReportedAndTheControlGoesOn) {
  Run("Controls('field').OnChange = 'no.such.thing()'");
  Click("field", 70, 10);
  Type(u"x");
  EXPECT_FALSE(D().errorLog.Lines().empty());
  Type(u"y");
  EXPECT_EQ(Eval("Controls('field').Value").size(), 4u);
}

}  // namespace
}  // namespace controltest
