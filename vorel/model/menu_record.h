// Skin pop-up menus and their items, as read from the skin's menus section
// or made by scripts. The desklet owns its menus in skin order; a menu owns
// its items and an item its sub-items, to any depth. Script objects that
// stand for a menu, an item or an item list hold a weak reference to the
// owner's lifetime token, so a record deleted under them leaves them
// unbound instead of dangling.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vorel {

struct TMenuItem;
using TMenuItemList = std::vector<std::unique_ptr<TMenuItem>>;

// Bits of TMenuItem::Flags: the window system's own menu flags, so that an
// item is appended with them as they are.
enum TMenuFlag : uint32_t {
  kMenuGrayed = 0x1,
  kMenuChecked = 0x8,
  kMenuBarBreak = 0x20,    // "MBB": starts a new column with a bar before it
  kMenuBreak = 0x40,       // "MB": starts a new column
  kMenuSeparator = 0x800,  // "S"
};

struct TMenuItem {
  std::string Name;
  uint32_t Flags = 0;
  std::string OnClick;
  std::unique_ptr<TMenuItemList> SubMenu;  // none when the item has no sub-items
  std::shared_ptr<const char> lifetime = std::make_shared<const char>('\0');
};

struct TMenu {
  uint8_t ID = 0;
  std::unique_ptr<TMenuItemList> SubMenu;
  bool ShowDefaultMenu = true;
  std::string OnBeforePopup;
  std::string OnAfterPopup;
  std::shared_ptr<const char> lifetime = std::make_shared<const char>('\0');
};

// Whether an item opens a sub-menu when shown. An item whose sub-item list
// was made empty (a script read its SubMenu) is an ordinary item.
inline bool HasSubItems(const TMenuItem& item) { return item.SubMenu && !item.SubMenu->empty(); }

// The flags of a type text: exactly (case-sensitively) "MBB", "MB" or "S";
// 0 for any other text.
inline uint32_t MenuTypeFlag(const std::string& type) {
  if (type == "MBB") return kMenuBarBreak;
  if (type == "MB") return kMenuBreak;
  if (type == "S") return kMenuSeparator;
  return 0;
}

// The flags of a new item: its type's flag, grayed when not enabled, the
// check mark when checked.
inline uint32_t MenuItemFlags(const std::string& type, bool enabled, bool checked) {
  return MenuTypeFlag(type) | (enabled ? 0u : kMenuGrayed) | (checked ? kMenuChecked : 0u);
}

// The first menu with that id; null when there is none.
inline TMenu* FindMenu(const std::vector<std::unique_ptr<TMenu>>& menus, uint8_t id) {
  for (const auto& menu : menus)
    if (menu->ID == id) return menu.get();
  return nullptr;
}

}  // namespace vorel
