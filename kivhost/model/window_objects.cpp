#include "kivhost/model/window_objects.h"

#include "platform/win/win_services.h"

namespace kivhost {

HMENU WindowObjects::CreateMenu() {
  std::lock_guard lock(mutex_);
  const HMENU menu = next_++;
  menus_[menu];
  return menu;
}

bool WindowObjects::AppendMenu(HMENU menu, MenuItem item) {
  std::lock_guard lock(mutex_);
  auto it = menus_.find(menu);
  if (it == menus_.end()) return false;
  it->second.push_back(std::move(item));
  return true;
}

namespace {

// Sub-menus deeper than any menu a person can use are not followed, so a
// menu appended to itself ends.
constexpr int kMaxMenuDepth = 16;

}  // namespace

bool WindowObjects::DestroyMenu(HMENU menu) {
  std::lock_guard lock(mutex_);
  return DestroyMenuLocked(menu, 0);
}

bool WindowObjects::DestroyMenuLocked(HMENU menu, int depth) {
  auto it = menus_.find(menu);
  if (it == menus_.end()) return false;
  const std::vector<MenuItem> items = std::move(it->second);
  menus_.erase(it);
  if (depth < kMaxMenuDepth)
    for (const MenuItem& item : items)
      if (item.flags & kMfPopup) DestroyMenuLocked(static_cast<HMENU>(item.idOrSubMenu), depth + 1);
  return true;
}

std::vector<MenuSnapshotItem> WindowObjects::Snapshot(HMENU menu) const {
  std::lock_guard lock(mutex_);
  return SnapshotLocked(menu, 0);
}

std::vector<MenuSnapshotItem> WindowObjects::SnapshotLocked(HMENU menu, int depth) const {
  std::vector<MenuSnapshotItem> out;
  auto it = menus_.find(menu);
  if (it == menus_.end()) return out;
  for (const MenuItem& item : it->second) {
    MenuSnapshotItem& shown = out.emplace_back();
    shown.flags = item.flags;
    shown.text = item.text;
    if (!(item.flags & kMfPopup)) shown.command = item.idOrSubMenu;
    else if (depth < kMaxMenuDepth) shown.subMenu = SnapshotLocked(static_cast<HMENU>(item.idOrSubMenu), depth + 1);
  }
  return out;
}

std::optional<std::vector<MenuItem>> WindowObjects::Menu(HMENU menu) const {
  std::lock_guard lock(mutex_);
  auto it = menus_.find(menu);
  if (it == menus_.end()) return std::nullopt;
  return it->second;
}

HCURSOR WindowObjects::SystemCursor(int32_t systemId) {
  std::lock_guard lock(mutex_);
  auto it = systemCursors_.find(systemId);
  if (it != systemCursors_.end()) return it->second;
  const HCURSOR cursor = next_++;
  CursorInfo info;
  info.systemId = systemId;
  cursors_[cursor] = info;
  systemCursors_[systemId] = cursor;
  return cursor;
}

HCURSOR WindowObjects::AddCursor(CursorInfo info) {
  std::lock_guard lock(mutex_);
  const HCURSOR cursor = next_++;
  cursors_[cursor] = std::move(info);
  return cursor;
}

std::optional<CursorInfo> WindowObjects::Cursor(HCURSOR cursor) const {
  std::lock_guard lock(mutex_);
  auto it = cursors_.find(cursor);
  if (it == cursors_.end()) return std::nullopt;
  return it->second;
}

HPROPSHEETPAGE WindowObjects::CreatePage(PageTemplate from) {
  std::lock_guard lock(mutex_);
  const HPROPSHEETPAGE page = next_++;
  pages_[page] = std::move(from);
  return page;
}

std::string WindowObjects::PageTitle(HPROPSHEETPAGE page) const {
  std::lock_guard lock(mutex_);
  auto it = pages_.find(page);
  return it == pages_.end() ? std::string() : it->second.title;
}

std::optional<PageTemplate> WindowObjects::Page(HPROPSHEETPAGE page) const {
  std::lock_guard lock(mutex_);
  auto it = pages_.find(page);
  if (it == pages_.end()) return std::nullopt;
  return it->second;
}

}  // namespace kivhost
