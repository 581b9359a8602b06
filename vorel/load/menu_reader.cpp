#include "vorel/load/menu_reader.h"

#include <exception>
#include <memory>

#include "vorel/load/attribute_reader.h"
#include "vorel/model/desklet.h"

namespace vorel {

namespace {

std::unique_ptr<TMenuItem> ReadMenuItem(TDeskletObject& d, const xml::Node& element) {
  const AttributeReader read(d, element);
  auto item = std::make_unique<TMenuItem>();
  item->OnClick = read.Raw("onclick");
  const bool enabled = read.Bool("enabled", "1");
  const bool checked = read.Bool("checked", "0");
  const std::string type = read.Raw("type");
  item->Name = read.Raw("name");
  item->Flags = MenuItemFlags(type, enabled, checked);
  return item;
}

// What stands in the list for an item that did not read: it can be seen
// (a blank grayed line) but not chosen, and runs nothing.
std::unique_ptr<TMenuItem> EmptyMenuItem() {
  auto item = std::make_unique<TMenuItem>();
  item->Flags = kMenuGrayed;
  return item;
}

}  // namespace

void ReadMenuItems(TDeskletObject& d, const xml::Node& element, TMenuItemList& items) {
  for (const xml::Node& child : element.SelectNodes("menuitem")) {
    const std::string name = GetNodeText(child, "@name", kCrLf, "");
    TErrorLog::Scope scope(d.errorLog, name.empty() ? "an unnamed menu item" : "menu item \"" + name + "\"");
    std::unique_ptr<TMenuItem> item;
    try {
      item = ReadMenuItem(d, child);
    } catch (...) {
      d.errorLog.Report(std::current_exception());
    }
    if (!item) {
      items.push_back(EmptyMenuItem());
      continue;
    }
    TMenuItem& added = *items.emplace_back(std::move(item));
    if (CountNodes(child, "menuitem") > 0) {
      added.SubMenu = std::make_unique<TMenuItemList>();
      ReadMenuItems(d, child, *added.SubMenu);
    }
  }
}

void ReadMenus(TDeskletObject& d, const xml::Node& menusElement) {
  if (!menusElement) return;
  for (const xml::Node& element : menusElement.SelectNodes("menu")) {
    const AttributeReader read(d, element);
    auto menu = std::make_unique<TMenu>();
    menu->OnBeforePopup = read.Raw("onbeforepopup");
    menu->OnAfterPopup = read.Raw("onafterpopup");
    menu->ShowDefaultMenu = read.Bool("showdefault", "1");
    menu->ID = static_cast<uint8_t>(IntInRange(read.Raw("id"), 0, 0, 255));
    // The first menu of an id is the one PopupMenu finds; a later one could
    // never be shown.
    if (FindMenu(d.menus, menu->ID)) continue;
    TMenu& added = *d.menus.emplace_back(std::move(menu));
    if (CountNodes(element, "menuitem") > 0) {
      added.SubMenu = std::make_unique<TMenuItemList>();
      ReadMenuItems(d, element, *added.SubMenu);
    }
  }
}

}  // namespace vorel
