#include "kivhost/headless/state_dump.h"

#include <fstream>
#include <stdexcept>

#include "kivhost/controls/control_state.h"
#include "kivhost/trace/trace_values.h"
#include "platform/win/win_services.h"

namespace kivhost {
namespace {

json RefRectJson(const std::optional<RefRect>& r) {
  if (!r) return nullptr;
  return {{"left", r->rect.left},     {"top", r->rect.top},         {"right", r->rect.right},
          {"bottom", r->rect.bottom}, {"refWidth", r->refWidth}, {"refHeight", r->refHeight}};
}

json CursorJson(Host& host, HCURSOR cursor) {
  if (!cursor) return nullptr;
  auto info = host.objects.Cursor(cursor);
  if (!info) return {{"handle", cursor}};
  if (info->systemId) return {{"system", info->systemId}};
  return {{"width", info->width}, {"height", info->height}, {"hotX", info->hotX}, {"hotY", info->hotY}, {"sha256", info->sha256}};
}

// One shown menu's items with their flags read out; an item that opens a
// sub-menu has its items instead of a command.
json MenuItemsJson(const std::vector<MenuSnapshotItem>& items) {
  json out = json::array();
  for (const MenuSnapshotItem& item : items) {
    const bool popup = (item.flags & kMfPopup) != 0;
    json entry = {{"text", item.text},
                  {"command", popup ? json(nullptr) : json(item.command)},
                  {"flags", item.flags},
                  {"checked", (item.flags & kMfChecked) != 0},
                  {"grayed", (item.flags & kMfGrayed) != 0},
                  {"separator", (item.flags & kMfSeparator) != 0},
                  {"columnBreak", (item.flags & kMfMenuBreak) != 0},
                  {"barBreak", (item.flags & kMfMenuBarBreak) != 0}};
    if (popup) entry["items"] = MenuItemsJson(item.subMenu);
    out.push_back(std::move(entry));
  }
  return out;
}

json LayerJson(const HostDesklet& d, size_t id) {
  const HostLayer& l = d.Layers()[id];
  return {{"id", id},
          {"name", l.name},
          {"visible", l.visible},
          {"alpha", l.alpha},
          {"rotation", l.rotation},
          {"saturation", l.saturation},
          {"placement", RefRectJson(l.placement)},
          {"clip", RefRectJson(l.clip)},
          {"clickThrough", l.clickThrough},
          {"fullHitTest", l.fullHitTest},
          {"captured", d.Captured() == id},
          {"image", SurfaceJson(l.image ? l.image->Surface() : nullptr)}};
}

json PropertiesJson(const std::optional<PropertiesDialog>& dialog) {
  if (!dialog) return nullptr;
  json pages = json::array();
  for (const PageWindow& page : dialog->pages) {
    json items = json::array();
    for (const DialogItem& item : page.items)
      items.push_back({{"id", item.id},
                       {"kind", DialogItemKindName(item.kind)},
                       {"text", item.text},
                       {"checked", item.checked},
                       {"rect", RectJson(&item.rect)}});
    pages.push_back({{"title", page.from.title}, {"template", page.from.templateId}, {"items", items}});
  }
  return {{"changed", dialog->changed}, {"pages", pages}};
}

json DeskletJson(Host& host, const HostDesklet& d) {
  json pages = json::array();
  for (HPROPSHEETPAGE page : d.propertyPages) pages.push_back(host.objects.PageTitle(page));
  json skinInfo = nullptr;
  if (d.skinInfo)
    skinInfo = {{"key", d.skinInfo->key},       {"name", d.skinInfo->name}, {"author", d.skinInfo->author},
                {"notes", d.skinInfo->notes},   {"index", d.skinInfo->index}, {"version", d.skinInfo->version}};
  json layers = json::array();
  for (size_t i = 0; i < d.Layers().size(); ++i) layers.push_back(LayerJson(d, i));
  const char* controls = KivControlsDescribe(d.Hwnd());
  json controlList = controls ? json::parse(controls, nullptr, false) : json::array();
  if (controlList.is_discarded()) controlList = json::array();
  for (json& control : controlList) {
    auto id = d.FindLayer(control.value("name", ""));
    control["layerId"] = id ? json(*id) : json(nullptr);
  }
  json menus = json::array();
  for (const auto& shown : d.shownMenus) menus.push_back(MenuItemsJson(shown));
  return {{"hwnd", d.Hwnd()},
          {"label", d.label},
          {"sublabel", d.subLabel},
          {"alpha", d.alpha},
          {"rotation", d.rotation},
          {"rect", RectJson(&d.rect)},
          {"stacking", StackingName(d.stacking)},
          {"closePoint", {{"x", d.closePoint.point.x}, {"y", d.closePoint.point.y}, {"refWidth", d.closePoint.refWidth},
                          {"refHeight", d.closePoint.refHeight}}},
          {"imageFile", d.imageFile},
          {"imageSetStatus", d.imageSetStatus},
          {"cursor", CursorJson(host, d.cursor)},
          {"propertyPages", pages},
          {"properties", PropertiesJson(d.properties)},
          {"skinInfo", skinInfo},
          {"layers", layers},
          {"controls", controlList},
          {"menusShown", menus},
          {"errorLog", d.errorLog}};
}

}  // namespace

json StateJson(Host& host) {
  json desklets = json::array();
  for (HostDesklet* d : host.Desklets()) desklets.push_back(DeskletJson(host, *d));
  return {{"desklets", desklets}};
}

void WriteState(Host& host, const std::string& path) {
  std::ofstream out(path, std::ios::trunc);
  if (!out) throw std::runtime_error("cannot write the state file " + path);
  out << StateJson(host).dump(2, ' ', false, json::error_handler_t::replace) << '\n';
}

}  // namespace kivhost
