// The window system's own objects that the host hands out by handle:
// pop-up menus with their items, cursors and property-sheet pages. Handles are small numbers
// from one counter so that traces read the same on every run.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "kivhost/model/properties_dialog.h"
#include "platform/abi/kiv_types.h"

namespace kivhost {

struct MenuItem {
  uint32_t flags = 0;
  uintptr_t idOrSubMenu = 0;
  std::string text;
};

// A menu as it stood when it was shown: each item with its sub-menu's
// items in place of the sub-menu's handle.
struct MenuSnapshotItem {
  uint32_t flags = 0;
  uintptr_t command = 0;  // 0 for an item that opens a sub-menu
  std::string text;
  std::vector<MenuSnapshotItem> subMenu;
};

struct CursorInfo {
  int32_t systemId = 0;  // 0 for a cursor made from pixels
  int32_t width = 0, height = 0, hotX = 0, hotY = 0;
  std::string sha256;
  std::vector<uint32_t> argb;  // a made cursor's pixels, 0xAARRGGBB, rows from the top
};

class WindowObjects {
 public:
  HMENU CreateMenu();
  bool AppendMenu(HMENU menu, MenuItem item);
  // Destroys the menu with the sub-menus appended to it, at any depth, as
  // the window system does.
  bool DestroyMenu(HMENU menu);
  std::optional<std::vector<MenuItem>> Menu(HMENU menu) const;
  // The menu's items with their sub-menus; empty for an unknown handle.
  std::vector<MenuSnapshotItem> Snapshot(HMENU menu) const;

  HCURSOR SystemCursor(int32_t systemId);
  HCURSOR AddCursor(CursorInfo info);
  std::optional<CursorInfo> Cursor(HCURSOR cursor) const;

  HPROPSHEETPAGE CreatePage(PageTemplate from);
  std::string PageTitle(HPROPSHEETPAGE page) const;
  std::optional<PageTemplate> Page(HPROPSHEETPAGE page) const;

 private:
  bool DestroyMenuLocked(HMENU menu, int depth);
  std::vector<MenuSnapshotItem> SnapshotLocked(HMENU menu, int depth) const;

  mutable std::mutex mutex_;
  uintptr_t next_ = 0x1000;
  std::map<HMENU, std::vector<MenuItem>> menus_;
  std::map<HCURSOR, CursorInfo> cursors_;
  std::map<int32_t, HCURSOR> systemCursors_;
  std::map<HPROPSHEETPAGE, PageTemplate> pages_;
};

}  // namespace kivhost
