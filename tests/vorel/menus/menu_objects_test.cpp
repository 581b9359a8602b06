// Menus and items as scripts see them: the menus collection and the item
// collections of menus and items, the menu and item objects, and objects
// held after their records were deleted.
#include <gmock/gmock.h>

#include "tests/support/test_host.h"
#include "tests/vorel/menus/menu_fixture.h"
#include "platform/automation/variant_convert.h"
#include "vorel/runtime/popup_menu.h"
#include "vorel/script/objects/vorel_main_menu.h"
#include "vorel/script/objects/vorel_menu_item.h"

using ::testing::HasSubstr;
using ::testing::Not;

namespace menutest {
namespace {

class MenuObjectTest : public MenuFixture {
 protected:
  void SetUp() override {
    MenuFixture::SetUp();
    LoadMenus(R"~(<menu id="4" showdefault="0" onbeforepopup="b()" onafterpopup="a()">
        <menuitem name="first" onclick="one()"/>
        <menuitem name="col" type="MB"><menuitem name="inner"/></menuitem>
        <menuitem name="sep" type="S" enabled="0" checked="1"/></menu>
      <menu id="9"><menuitem name="other"/></menu>)~");
  }
};

TEST_F(MenuObjectTest, TheMenusCollectionFindsMenusByPositionOnly) {
  EXPECT_EQ(Eval("Menus.Count"), "2");
  EXPECT_EQ(Eval("Menus(0).ID + ',' + Menus.Item(1).ID"), "4,9");
  EXPECT_EQ(Eval("Menus(0.5).ID"), "4") << "halves round to even";
  EXPECT_THAT(ErrorOf("Menus(true)"), HasSubstr("List index out of bounds (-1)")) << "true is -1";
  EXPECT_EQ(Eval("Menus(false).ID"), "4");
}

TEST_F(MenuObjectTest, LookupsThatMiss) {
  EXPECT_EQ(Eval("Menus(2) == null"), "True");
  EXPECT_EQ(Eval("Menus('4') == null"), "True") << "a text is no position";
  EXPECT_THAT(ErrorOf("Menus(-1)"), HasSubstr("List index out of bounds (-1)"));
  EXPECT_EQ(Eval("Menus(0).SubMenu(3) == null"), "True");
  EXPECT_EQ(Eval("Menus(0).SubMenu('first') == null"), "True");
  EXPECT_THAT(ErrorOf("Menus(0).SubMenu(-2)"), HasSubstr("List index out of bounds (-2)"));
  EXPECT_EQ(Eval("Menus.Delete(7)"), "False");
  EXPECT_EQ(Eval("Menus(0).SubMenu.Delete('first')"), "False");
  EXPECT_EQ(Eval("Menus.Count + ',' + Menus(0).SubMenu.Count"), "2,3") << "nothing was deleted";
}

TEST_F(MenuObjectTest, TheMenuObjectReadsAndWritesItsRecord) {
  EXPECT_EQ(Eval("Menus(0).ShowDefaultMenu + Menus(0).OnBeforePopup + Menus(0).OnAfterPopup"), "falseb()a()");
  Run("var m = Menus(1); m.ShowDefaultMenu = false; m.OnBeforePopup = 'x()'; m.OnAfterPopup = 'y()'");
  EXPECT_FALSE(Menus()[1]->ShowDefaultMenu);
  EXPECT_EQ(Menus()[1]->OnBeforePopup, "x()");
  EXPECT_EQ(Menus()[1]->OnAfterPopup, "y()");
  EXPECT_THAT(ErrorOf("Menus(0).ID = 3"), Not(""));
  EXPECT_EQ(Menus()[0]->ID, 4) << "the id is read-only";
}

TEST_F(MenuObjectTest, EachObjectKeepsOneCollectionOfItems) {
  auto menu = vorel::TVorelMainMenu::Create(D(), Menus()[0].get());
  const auto first = automation::ToDispatch(menu->GetSubMenu());
  EXPECT_NE(first.Get(), nullptr);
  EXPECT_EQ(automation::ToDispatch(menu->GetSubMenu()).Get(), first.Get());
  auto item = vorel::TVorelMenuItem::Create(D(), Item({0}));
  EXPECT_EQ(automation::ToDispatch(item->GetSubMenu()).Get(), automation::ToDispatch(item->GetSubMenu()).Get());
  Menus()[0]->SubMenu->clear();
  EXPECT_EQ(automation::ToDispatch(menu->GetSubMenu()).Get(), nullptr) << "no items, no collection";
}

TEST_F(MenuObjectTest, TheItemObjectReadsAndWritesItsRecord) {
  EXPECT_EQ(Eval("var i = Menus(0).SubMenu(0); i.Name + i.OnClick + i.Enabled + i.Checked + '[' + i.MenuType + ']'"),
            "firstone()truefalse[]");
  Run("i.Name = 'renamed'; i.OnClick = 'two()'; i.Enabled = false; i.Checked = true");
  EXPECT_EQ(Item({0}).Name, "renamed");
  EXPECT_EQ(Item({0}).OnClick, "two()");
  EXPECT_EQ(Item({0}).Flags, 9u);
  Run("i.Enabled = true; i.Checked = false");
  EXPECT_EQ(Item({0}).Flags, 0u);
  EXPECT_EQ(Eval("Menus(0).SubMenu(2).Enabled + ',' + Menus(0).SubMenu(2).Checked"), "false,true");
  EXPECT_EQ(Eval("Menus(0).SubMenu(1).SubMenu(0).Name"), "inner");
}

TEST_F(MenuObjectTest, MenuTypeOnlyEverAddsAFlag) {
  Run("var col = Menus(0).SubMenu(1); col.MenuType = 'S'");
  EXPECT_EQ(Eval("col.MenuType"), "MB") << "the column break is read first";
  EXPECT_EQ(Item({1}).Flags, 64u | 2048u);
  Run("var f = Menus(0).SubMenu(0); f.MenuType = 'mbb'; f.MenuType = 'X'");
  EXPECT_EQ(Eval("f.MenuType"), "");
  EXPECT_EQ(Item({0}).Flags, 0u) << "other texts change nothing";
  Run("f.MenuType = 'S'");
  EXPECT_EQ(Eval("f.MenuType"), "S");
  Run("f.MenuType = 'MBB'");
  EXPECT_EQ(Eval("f.MenuType"), "MBB");
  EXPECT_EQ(Item({0}).Flags, 32u | 2048u);
  EXPECT_EQ(Eval("Menus(0).SubMenu(2).MenuType"), "S");
}

TEST_F(MenuObjectTest, MenusNewAddsAMenuUnlessItsIdIsTaken) {
  EXPECT_EQ(Eval("var m = Menus.New(200, false, 'b2()', 'a2()'); m.ID + ',' + m.ShowDefaultMenu"), "200,false");
  ASSERT_EQ(Menus().size(), 3u);
  EXPECT_EQ(Menus()[2]->OnBeforePopup, "b2()");
  EXPECT_EQ(Eval("m.SubMenu == null"), "True") << "a menu without items has no collection to add to";
  EXPECT_FALSE(vorel::ShowSkinMenu(D(), 200));

  Run("var taken = Menus.New(4, true, 'c()', 'd()'); taken.OnBeforePopup = 'changed()'");
  EXPECT_EQ(Menus().size(), 3u);
  EXPECT_EQ(Menus()[0]->OnBeforePopup, "b()") << "the object stands for no menu";
  EXPECT_EQ(Eval("taken.ID + ',' + (taken.SubMenu == null) + ',[' + taken.OnBeforePopup + ']'"), "0,true,[]");

  EXPECT_THAT(ErrorOf("Menus.New(256, true, '', '')"), HasSubstr("Range check error"));
  EXPECT_THAT(ErrorOf("Menus.New(-1, true, '', '')"), HasSubstr("Range check error"));
  EXPECT_THAT(ErrorOf("Menus.New(5, true)"), HasSubstr("Could not convert variant of type"));
  EXPECT_EQ(Menus().size(), 3u);
}

TEST_F(MenuObjectTest, SubMenuNewAddsItemsAndGivesNothingBack) {
  EXPECT_EQ(Eval("typeof Menus(0).SubMenu.New('added', 'MBB', 'z()', false, true)"), "undefined");
  ASSERT_EQ(Menus()[0]->SubMenu->size(), 4u);
  EXPECT_EQ(Item({3}).Name, "added");
  EXPECT_EQ(Item({3}).OnClick, "z()");
  EXPECT_EQ(Item({3}).Flags, 32u | 1u | 8u);
  EXPECT_THAT(ErrorOf("Menus(0).SubMenu.New('short', '', '')"), HasSubstr("Could not convert variant of type"));
  EXPECT_EQ(Menus()[0]->SubMenu->size(), 4u);

  // A leaf gets an empty sub-item list when its SubMenu is read: still a
  // leaf until something is added.
  Run("var leaf = Menus(1).SubMenu(0); var subs = leaf.SubMenu");
  EXPECT_EQ(Eval("subs.Count"), "0");
  ASSERT_NE(Item({0}, 1).SubMenu, nullptr);
  EXPECT_EQ(vorel::CountMenuItems(*Menus()[1]->SubMenu), 1);
  Run("subs.New('s1', '', '', true, false); subs.New('s2', 'S', '', true, false)");
  EXPECT_EQ(Eval("leaf.SubMenu.Count + Menus(1).SubMenu(0).SubMenu(1).MenuType"), "2S");
  EXPECT_EQ(vorel::CountMenuItems(*Menus()[1]->SubMenu), 3);
}

TEST_F(MenuObjectTest, DeletingAnswersFalseAndUnbindsHeldObjects) {
  Run("var held = Menus(0); var heldItems = held.SubMenu; var heldItem = heldItems(1); var inner = heldItem.SubMenu");
  EXPECT_EQ(Eval("heldItems.Delete(1)"), "False") << "even though it deleted the item";
  EXPECT_EQ(Menus()[0]->SubMenu->size(), 2u);
  EXPECT_EQ(Eval("'[' + heldItem.Name + ']' + inner.Count + (inner(0) == null)"), "[]0true");
  Run("heldItem.Name = 'x'; heldItem.Checked = true; inner.New('n', '', '', true, true)");

  EXPECT_EQ(Eval("Menus.Delete(0)"), "False");
  ASSERT_EQ(Menus().size(), 1u);
  EXPECT_EQ(Menus()[0]->ID, 9);
  EXPECT_EQ(Eval("held.ID + '[' + held.OnAfterPopup + ']' + heldItems.Count"), "0[]0");
  EXPECT_EQ(Eval("heldItems.New('late', '', '', true, true) == null"), "True") << "its list is gone";
  Run("held.OnAfterPopup = 'x()'; held.ShowDefaultMenu = true");
  EXPECT_EQ(Eval("Menus.Count"), "1");
}

TEST_F(MenuObjectTest, DeletingWhileEnumerating) {
  Run("var seen = ''; var items = Menus(0).SubMenu;"
      "for (var e = new Enumerator(items); !e.atEnd(); e.moveNext()) { seen += e.item().Name + ';'; items.Delete(0); }");
  EXPECT_EQ(Eval("seen"), "first;sep;") << "the enumerator walks the list as it is at each step";
  EXPECT_EQ(Menus()[0]->SubMenu->size(), 1u);
  Run("var ids = ''; for (var e = new Enumerator(Menus); !e.atEnd(); e.moveNext()) ids += e.item().ID + ';'");
  EXPECT_EQ(Eval("ids"), "4;9;");
}

}  // namespace
}  // namespace menutest
