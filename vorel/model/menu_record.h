// Skin pop-up menus and their items. Items own their sub-items.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vorel {

struct TMenuItem;
using TMenuItemList = std::vector<std::unique_ptr<TMenuItem>>;

struct TMenuItem {
  std::string Name;
  uint32_t Flags = 0;  // menu flags: 1 grayed, 8 checked, 32/64 column breaks, 2048 separator
  std::string OnClick;
  std::unique_ptr<TMenuItemList> SubMenu;  // none when the item has no sub-items
};

struct TMenu {
  uint8_t ID = 0;
  std::unique_ptr<TMenuItemList> SubMenu;
  bool ShowDefaultMenu = true;
  std::string OnBeforePopup;
  std::string OnAfterPopup;
};

}  // namespace vorel
