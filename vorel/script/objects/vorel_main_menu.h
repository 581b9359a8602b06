// TVorelMainMenu: one pop-up menu of the desklet as scripts see it (from
// Menus(n) or Menus.New). The object does not keep the menu alive: once
// the menu is deleted, or when Menus.New refused a taken id, it stands for
// nothing and its members do nothing. SubMenu hands out the collection of
// the menu's items, the same one at every read, but only while the menu
// has items.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/automation/dispatch_object.h"
#include "vorel/model/menu_record.h"

namespace vorel {

class TDeskletObject;

class TVorelMainMenu : public automation::DispatchObject<TVorelMainMenu> {
 public:
  static automation::ComPtr<TVorelMainMenu> Create(TDeskletObject& desklet, TMenu* menu);
  static const automation::DispatchTable<TVorelMainMenu>& Table();

  TVorelMainMenu(TDeskletObject* desklet, TMenu* menu);
  bool IsBound() const { return desklet_ && menu_ && !alive_.expired(); }

  uint8_t GetID() const { return menu_->ID; }
  bool GetShowDefaultMenu() const { return menu_->ShowDefaultMenu; }
  void PutShowDefaultMenu(bool show) { menu_->ShowDefaultMenu = show; }
  template <std::string TMenu::*Field>
  std::string GetText() const { return menu_->*Field; }
  template <std::string TMenu::*Field>
  void PutText(std::string value) { menu_->*Field = std::move(value); }
  automation::Variant GetSubMenu();

 private:
  TDeskletObject* desklet_;
  TMenu* menu_;
  std::weak_ptr<const char> alive_;
  automation::ComPtr<automation::IDispatch> subMenu_;
};

}  // namespace vorel
