// Showing a skin menu: the host's desklet menu below the items, the
// numbering of items and sub-items, what runs for a chosen item, a host
// command or no choice, and statements that change the menu under it.
#include <gmock/gmock.h>

#include "platform/abi/plugin_api.h"
#include "tests/support/test_host.h"
#include "tests/vorel/menus/menu_fixture.h"
#include "vorel/runtime/popup_menu.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using testhost::TestHost;

namespace menutest {
namespace {

using Args = std::vector<std::string>;

class PopupMenuTest : public MenuFixture {
 protected:
  // Items A, B (with B1 and B2) and C, each marking the label with its name.
  void LoadAbc(const std::string& showDefault) {
    LoadMenus(R"~(<menu showdefault=")~" + showDefault + R"~(" onbeforepopup=")~" + Mark("[") +
              R"~(" onafterpopup=")~" + Mark("]") + R"~(">
        <menuitem name="A" onclick=")~" + Mark("A") + R"~("/>
        <menuitem name="B" onclick=")~" + Mark("B") + R"~(">
          <menuitem name="B1" onclick=")~" + Mark("B1") + R"~(" checked="1"/>
          <menuitem name="B2" onclick=")~" + Mark("B2") + R"~(" enabled="0"/></menuitem>
        <menuitem name="C" onclick=")~" + Mark("C") + R"~(" type="MB"/></menu>)~");
  }
  bool Show(int32_t choice, uint8_t id = 0) {
    TestHost::Get().ChooseFromMenu(choice);
    return vorel::ShowSkinMenu(D(), id);
  }
  std::string W() { return std::to_string(kWindow); }
};

TEST_F(PopupMenuTest, ItemsAreNumberedDepthFirstBelowTheHostsMenu) {
  LoadAbc("1");
  TestHost::Get().cursor = {30, 40};
  EXPECT_TRUE(Show(5));
  EXPECT_THAT(ArgsOf("DeskletGetDefaultMenu"), ElementsAre(Args{W(), "6"})) << "five items: the host's from 6";
  EXPECT_TRUE(ArgsOf("WinCreatePopupMenu").size() == 2u) << "the host's menu and B's";
  const std::string top = ArgsOf("WinCreatePopupMenu")[0][0], sub = ArgsOf("WinCreatePopupMenu")[1][0];
  EXPECT_THAT(ArgsOf("WinAppendMenu"), ElementsAre(Args{top, "0", "1", "A"}, Args{top, "16", sub, "B"},
                                                   Args{sub, "8", "3", "B1"}, Args{sub, "1", "4", "B2"},
                                                   Args{top, "64", "5", "C"}));
  EXPECT_THAT(ArgsOf("WinTrackPopupMenu"), ElementsAre(Args{top, "256", "30", "40", W()}));
  EXPECT_THAT(ArgsOf("WinDestroyMenu"), ElementsAre(Args{top})) << "the sub-menu goes with its parent";
  EXPECT_EQ(Label(), "[C]");
  EXPECT_TRUE(ArgsOf("DeskletDoDefaultMenuCommand").empty());
  EXPECT_EQ(vorel::CountMenuItems(*Menus()[0]->SubMenu), 5);
}

TEST_F(PopupMenuTest, WithoutTheHostsMenuTheItemsStandAlone) {
  LoadAbc("0");
  EXPECT_TRUE(Show(3));
  EXPECT_TRUE(ArgsOf("DeskletGetDefaultMenu").empty());
  EXPECT_EQ(ArgsOf("WinCreatePopupMenu").size(), 2u);
  EXPECT_EQ(Label(), "[B1]");
  SetLabel("");
  EXPECT_TRUE(Show(6)) << "a command no item has";
  EXPECT_EQ(Label(), "[]");
  EXPECT_TRUE(ArgsOf("DeskletDoDefaultMenuCommand").empty());
}

TEST_F(PopupMenuTest, AHostCommandGoesToTheHostAndRunsNoItem) {
  LoadAbc("1");
  EXPECT_TRUE(Show(8));
  EXPECT_THAT(ArgsOf("DeskletDoDefaultMenuCommand"), ElementsAre(Args{W(), "6", "8"}));
  EXPECT_EQ(Label(), "[]");
  SetLabel("");
  EXPECT_TRUE(Show(6)) << "the first of the host's commands";
  EXPECT_EQ(ArgsOf("DeskletDoDefaultMenuCommand").size(), 2u);
  EXPECT_EQ(Label(), "[]");
}

TEST_F(PopupMenuTest, ClosingWithoutAChoiceRunsOnlyTheStatementsAround) {
  LoadAbc("1");
  EXPECT_TRUE(Show(0));
  EXPECT_EQ(Label(), "[]");
  EXPECT_EQ(ArgsOf("WinDestroyMenu").size(), 1u);
  SetLabel("");
  EXPECT_TRUE(Show(2)) << "a parent's number: nothing the user could pick, but its statement is the one numbered";
  EXPECT_EQ(Label(), "[B]");
}

TEST_F(PopupMenuTest, ASubMenuTwoLevelsDown) {
  LoadMenus(R"~(<menu showdefault="0"><menuitem name="top"><menuitem name="mid" onclick="x()">
      <menuitem name="low" onclick=")~" + Mark("low") + R"~("/></menuitem></menuitem>
      <menuitem name="last" onclick=")~" + Mark("last") + R"~("/></menu>)~");
  EXPECT_TRUE(Show(3));
  EXPECT_EQ(Label(), "low");
  const auto made = ArgsOf("WinCreatePopupMenu");
  ASSERT_EQ(made.size(), 3u);
  EXPECT_THAT(ArgsOf("WinAppendMenu"),
              ElementsAre(Args{made[0][0], "16", made[1][0], "top"}, Args{made[1][0], "16", made[2][0], "mid"},
                          Args{made[2][0], "0", "3", "low"}, Args{made[0][0], "0", "4", "last"}));
  SetLabel("");
  EXPECT_TRUE(Show(4));
  EXPECT_EQ(Label(), "last");
}

TEST_F(PopupMenuTest, AnItemMayDeleteItselfInItsStatement) {
  LoadMenus(R"~(<menu showdefault="0" onafterpopup=")~" + Mark("]") + R"~(">
      <menuitem name="gone" onclick="Menus(0).SubMenu.Delete(0); )~" + Mark("deleted") + R"~("/>
      <menuitem name="kept"/></menu>)~");
  EXPECT_TRUE(Show(1));
  EXPECT_EQ(Label(), "deleted]");
  ASSERT_EQ(Menus()[0]->SubMenu->size(), 1u);
  EXPECT_EQ(Menus()[0]->SubMenu->front()->Name, "kept");
}

TEST_F(PopupMenuTest, AMenuDeletedByItsOwnStatementsIsLeftAlone) {
  LoadMenus(R"~(<menu id="1" showdefault="0" onbeforepopup="Menus.Delete(0)"><menuitem name="x"/></menu>
                <menu id="2" showdefault="0" onafterpopup=")~" + Mark("after") + R"~(">
                  <menuitem name="y" onclick="Menus.Delete(0)"/></menu>)~");
  EXPECT_TRUE(Show(1, 1)) << "the before statement ran";
  EXPECT_TRUE(ArgsOf("WinTrackPopupMenu").empty()) << "nothing left to show";
  EXPECT_TRUE(Show(1, 2));
  EXPECT_TRUE(Menus().empty());
  EXPECT_EQ(Label(), "after") << "the deleted menu ends with the statement it was shown with";
}

TEST_F(PopupMenuTest, MenusThatAreNotThereOrEmptyShowNothing) {
  LoadMenus(R"~(<menu id="1" onbeforepopup=")~" + Mark("[") + R"~("/>)~");
  EXPECT_FALSE(vorel::ShowSkinMenu(D(), 0));
  EXPECT_FALSE(vorel::ShowSkinMenu(D(), 1)) << "no items";
  Run("PopupMenu(7); PopupMenu(1)");
  EXPECT_TRUE(ArgsOf("WinTrackPopupMenu").empty());
  EXPECT_EQ(Label(), "") << "not even the before statement";
}

TEST_F(PopupMenuTest, PopupMenuAndRightClickShowTheMenu) {
  LoadAbc("0");
  TestHost::Get().ChooseFromMenu(1);
  Run("PopupMenu(0)");
  EXPECT_EQ(Label(), "[A]");

  SetLabel("");
  TestHost::Get().ChooseFromMenu(5);
  KivPoint pt{1, 1};
  KivSize size{10, 10};
  const uint32_t id = D().FindLayerByName("m")->Id;
  EXPECT_NE(OnLayerRightClick(instance_, id, "m", &pt, &size, 2), kFalse) << "showing the menu handled it";
  EXPECT_EQ(Label(), "[C]");

  D().FindLayerByName("m")->OnMouseRightClick = Mark("R");
  SetLabel("");
  EXPECT_NE(OnLayerRightClick(instance_, id, "m", &pt, &size, 2), kFalse);
  EXPECT_EQ(Label(), "R") << "a layer's own statement comes instead of the menu";
  EXPECT_EQ(ArgsOf("WinTrackPopupMenu").size(), 2u);
}

TEST_F(PopupMenuTest, AFailingStatementIsReportedAndTheAfterStatementStillRuns) {
  LoadMenus(R"~(<menu showdefault="0" onafterpopup=")~" + Mark("after") + R"~(">
      <menuitem name="bad" onclick="noSuchFunction()"/></menu>)~");
  EXPECT_TRUE(Show(1));
  EXPECT_EQ(Label(), "after");
  EXPECT_THAT(LogText(), HasSubstr("noSuchFunction"));
}

TEST_F(PopupMenuTest, AMenuThatShowsItselfAgainEnds) {
  LoadMenus(R"~(<menu showdefault="0" onafterpopup="PopupMenu(0)"><menuitem name="again"/></menu>)~");
  EXPECT_TRUE(vorel::ShowSkinMenu(D(), 0));
  EXPECT_EQ(ArgsOf("WinTrackPopupMenu").size(), 8u) << "shown as deep as menus may nest, then refused";
  EXPECT_THAT(LogText(), HasSubstr("pop-up menu 0 is shown from its own statements without end"));
  D().errorLog.Clear();
  EXPECT_TRUE(Show(0)) << "and shown again once the chain has ended";
  EXPECT_EQ(ArgsOf("WinTrackPopupMenu").size(), 16u);
}

}  // namespace
}  // namespace menutest
