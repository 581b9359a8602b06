// The state dump as JSON: every desklet lists its error log and the
// pop-up menus shown over it.
#include "kivhost/headless/state_dump.h"

#include <gtest/gtest.h>

#include "platform/win/win_services.h"

#include "support/temp_dir.h"

namespace kivhost {
namespace {

TEST(StateDump, EveryDeskletListsItsErrorLog) {
  Host& host = Host::Get();
  HostDesklet& quiet = host.CreateDesklet();
  HostDesklet& failing = host.CreateDesklet();
  failing.errorLog = {"1  source", "text  Line:2   Column:3   x", "-------------------------------"};
  const HWND a = quiet.Hwnd(), b = failing.Hwnd();

  const json state = StateJson(host);
  ASSERT_EQ(state["desklets"].size(), 2u);
  for (const json& d : state["desklets"]) {
    ASSERT_TRUE(d.contains("errorLog")) << d.dump();
    if (d["hwnd"] == a) EXPECT_EQ(d["errorLog"], json::array());
    else EXPECT_EQ(d["errorLog"], json(failing.errorLog));
  }

  testing_support::TempDir dir;
  WriteState(host, dir.File("s.json"));
  const json written = json::parse(testing_support::TempDir::Read(dir.File("s.json")));
  EXPECT_EQ(written, state);
  host.RemoveDesklet(a);
  host.RemoveDesklet(b);
}

TEST(StateDump, ShownMenusAreKeptAsTheyStoodWithTheirSubMenus) {
  Host& host = Host::Get();
  HostDesklet& d = host.CreateDesklet();
  const HWND hwnd = d.Hwnd();
  const HMENU top = WinCreatePopupMenu(), sub = WinCreatePopupMenu();
  WinAppendMenu(top, kMfChecked | kMfGrayed, 1, "one");
  WinAppendMenu(top, kMfPopup, static_cast<uintptr_t>(sub), "more");
  WinAppendMenu(sub, kMfSeparator, 0, "");
  WinAppendMenu(sub, kMfMenuBarBreak, 3, "three");
  WinAppendMenu(top, kMfMenuBreak, 4, "four");
  host.answers.Push({Answer::Kind::Menu, {}, 3});
  EXPECT_EQ(WinTrackPopupMenu(top, kTpmReturnCmd, 0, 0, hwnd), 3) << "a sub-menu's command is answered as any other";
  EXPECT_EQ(WinDestroyMenu(top), kTrue);
  EXPECT_EQ(WinDestroyMenu(sub), kFalse) << "it went with its parent";
  EXPECT_EQ(WinTrackPopupMenu(top, kTpmReturnCmd, 0, 0, hwnd), 0);

  const json menus = StateJson(host)["desklets"].back()["menusShown"];
  ASSERT_EQ(menus.size(), 2u) << "every menu shown, the gone one empty";
  EXPECT_EQ(menus[1], json::array());
  const json& items = menus[0];
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0]["text"], "one");
  EXPECT_EQ(items[0]["command"], 1);
  EXPECT_EQ(items[0]["checked"], true);
  EXPECT_EQ(items[0]["grayed"], true);
  EXPECT_EQ(items[0]["separator"], false);
  EXPECT_TRUE(items[1]["command"].is_null());
  ASSERT_EQ(items[1]["items"].size(), 2u);
  EXPECT_EQ(items[1]["items"][0]["separator"], true);
  EXPECT_EQ(items[1]["items"][1]["barBreak"], true);
  EXPECT_EQ(items[1]["items"][1]["command"], 3);
  EXPECT_EQ(items[2]["columnBreak"], true);
  EXPECT_FALSE(items[2].contains("items"));
  host.RemoveDesklet(hwnd);
}

}  // namespace
}  // namespace kivhost
