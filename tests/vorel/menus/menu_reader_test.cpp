// The menus section as the loader reads it: menu attributes and their
// defaults, item flags, sub-items at any depth, menus of a taken id, and
// the attributes that fail the load or only their item.
#include <gmock/gmock.h>

#include "tests/vorel/menus/menu_fixture.h"

using ::testing::HasSubstr;

namespace menutest {
namespace {

using vorel::TMenuItem;

class MenuReaderTest : public MenuFixture {};

TEST_F(MenuReaderTest, MenusAndTheirAttributesInSkinOrder) {
  LoadMenus(R"~(<menu><menuitem name="only"/></menu>
                <menu id="7" showdefault="no" onbeforepopup="before()" onafterpopup="after()">
                  <menuitem name="x"/></menu>
                <menu id="$0A" showdefault="%Show%"/>)~",
            R"~(<param name="Show" default="false"/>)~");
  ASSERT_EQ(Menus().size(), 3u);
  EXPECT_EQ(Menus()[0]->ID, 0) << "the id defaults to 0";
  EXPECT_TRUE(Menus()[0]->ShowDefaultMenu) << "the host's menu is shown unless the skin says otherwise";
  EXPECT_EQ(Menus()[0]->OnBeforePopup, "");
  EXPECT_EQ(Menus()[1]->ID, 7);
  EXPECT_FALSE(Menus()[1]->ShowDefaultMenu);
  EXPECT_EQ(Menus()[1]->OnBeforePopup, "before()");
  EXPECT_EQ(Menus()[1]->OnAfterPopup, "after()");
  EXPECT_EQ(Menus()[2]->ID, 10);
  EXPECT_FALSE(Menus()[2]->ShowDefaultMenu) << "showdefault is expanded";
  EXPECT_EQ(Menus()[2]->SubMenu, nullptr) << "a menu without items has no item list";
  EXPECT_EQ(LogText(), "");
}

TEST_F(MenuReaderTest, ItemFlagsComeFromTypeEnabledAndChecked) {
  LoadMenus(R"~(<menu>
      <menuitem name="plain" onclick="go()"/>
      <menuitem type="S"/>
      <menuitem name="bar" type="MBB"/>
      <menuitem name="column" type="MB"/>
      <menuitem name="lower" type="mb"/>
      <menuitem name="grayChecked" enabled="false" checked="true"/>
      <menuitem name="sepGray" type="S" enabled="0"/>
    </menu>)~");
  ASSERT_EQ(Menus()[0]->SubMenu->size(), 7u);
  EXPECT_EQ(Item({0}).Name, "plain");
  EXPECT_EQ(Item({0}).OnClick, "go()");
  EXPECT_EQ(Item({0}).Flags, 0u);
  EXPECT_EQ(Item({1}).Flags, 2048u) << "a separator";
  EXPECT_EQ(Item({2}).Flags, 32u);
  EXPECT_EQ(Item({3}).Flags, 64u);
  EXPECT_EQ(Item({4}).Flags, 0u) << "types are case-sensitive";
  EXPECT_EQ(Item({5}).Flags, 9u);
  EXPECT_EQ(Item({6}).Flags, 2049u);
  EXPECT_EQ(Item({0}).SubMenu, nullptr);
}

TEST_F(MenuReaderTest, SubItemsAreReadAtAnyDepth) {
  LoadMenus(R"~(<menu><menuitem name="A"/>
      <menuitem name="B"><menuitem name="B1"><menuitem name="B1a"><menuitem name="deep"/></menuitem></menuitem>
        <menuitem name="B2"/></menuitem>
      <menuitem name="C"/></menu>)~");
  ASSERT_EQ(Menus()[0]->SubMenu->size(), 3u);
  ASSERT_EQ(Item({1}).SubMenu->size(), 2u);
  EXPECT_EQ(Item({1, 0, 0, 0}).Name, "deep");
  EXPECT_EQ(Item({1, 1}).Name, "B2");
  EXPECT_EQ(Item({1, 1}).SubMenu, nullptr);
  EXPECT_EQ(Item({2}).Name, "C");
}

TEST_F(MenuReaderTest, OnlyTheFirstMenuOfAnIdIsKept) {
  LoadMenus(R"~(<menu id="3" onbeforepopup="first()"><menuitem name="one"/></menu>
                <menu id="3" onbeforepopup="second()"><menuitem name="two"/><menuitem name="three"/></menu>)~");
  ASSERT_EQ(Menus().size(), 1u);
  EXPECT_EQ(Menus()[0]->OnBeforePopup, "first()");
  ASSERT_EQ(Menus()[0]->SubMenu->size(), 1u);
  EXPECT_EQ(Item({0}).Name, "one");
}

TEST_F(MenuReaderTest, IdsOutside0To255FailTheLoad) {
  for (const char* id : {"256", "-1"}) {
    LoadMenus(std::string(R"~(<menu id=")~") + id + R"~("><menuitem name="x"/></menu>)~");
    EXPECT_THAT(LogText(), HasSubstr("Range check error")) << id;
    EXPECT_EQ(D().FindLayerByName("m"), nullptr) << "the layers after the menus are not read";
    D().errorLog.Clear();
  }
  LoadMenus(R"~(<menu id="255"><menuitem name="x"/></menu>)~");
  EXPECT_EQ(LogText(), "");
  EXPECT_EQ(Menus().back()->ID, 255);
}

TEST_F(MenuReaderTest, AShowDefaultThatIsNoBooleanFailsTheLoad) {
  LoadMenus(R"~(<menu showdefault="maybe"><menuitem name="x"/></menu>)~");
  EXPECT_THAT(LogText(), HasSubstr("'maybe' is not a valid boolean value"));
  EXPECT_EQ(D().FindLayerByName("m"), nullptr);
}

TEST_F(MenuReaderTest, AnItemThatDoesNotReadLeavesAGrayedBlankInItsPlace) {
  LoadMenus(R"~(<menu><menuitem name="before"/>
      <menuitem name="broken" enabled="perhaps" onclick="never()"><menuitem name="child"/></menuitem>
      <menuitem name="uncheckable" checked="sure"/>
      <menuitem name="after"/></menu>)~");
  ASSERT_EQ(Menus()[0]->SubMenu->size(), 4u);
  for (size_t k : {1u, 2u}) {
    const TMenuItem& blank = Item({k});
    EXPECT_EQ(blank.Name, "");
    EXPECT_EQ(blank.OnClick, "");
    EXPECT_EQ(blank.Flags, 1u) << "it can be seen but not chosen";
    EXPECT_EQ(blank.SubMenu, nullptr) << "its sub-items are not read";
  }
  EXPECT_EQ(Item({3}).Name, "after");
  const std::string log = LogText();
  EXPECT_THAT(log, HasSubstr("'perhaps' is not a valid boolean value"));
  EXPECT_THAT(log, HasSubstr("menu item \"broken\""));
  EXPECT_THAT(log, HasSubstr("'sure' is not a valid boolean value"));
  ASSERT_NE(D().FindLayerByName("m"), nullptr) << "the load goes on";
}

}  // namespace
}  // namespace menutest
