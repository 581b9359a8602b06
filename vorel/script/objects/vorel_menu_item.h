// TVorelMenuItem: one item of a pop-up menu as scripts see it. Like the
// menu object it does not keep its record alive and does nothing once the
// item is deleted. MenuType reads the item's column-break or separator flag
// and setting it only ever adds one. SubMenu gives the collection of the
// item's sub-items, making the (empty) list first when the item has none,
// so that scripts can give any item a sub-menu with SubMenu.New.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/automation/dispatch_object.h"
#include "vorel/model/menu_record.h"

namespace vorel {

class TDeskletObject;

class TVorelMenuItem : public automation::DispatchObject<TVorelMenuItem> {
 public:
  static automation::ComPtr<TVorelMenuItem> Create(TDeskletObject& desklet, TMenuItem& item);
  static const automation::DispatchTable<TVorelMenuItem>& Table();

  TVorelMenuItem(TDeskletObject* desklet, TMenuItem* item);
  bool IsBound() const { return desklet_ && item_ && !alive_.expired(); }

  template <std::string TMenuItem::*Field>
  std::string GetText() const { return item_->*Field; }
  template <std::string TMenuItem::*Field>
  void PutText(std::string value) { item_->*Field = std::move(value); }
  bool GetEnabled() const { return (item_->Flags & kMenuGrayed) == 0; }
  void PutEnabled(bool enabled);
  bool GetChecked() const { return (item_->Flags & kMenuChecked) != 0; }
  void PutChecked(bool checked);
  std::string GetMenuType() const;
  void PutMenuType(std::string type) { item_->Flags |= MenuTypeFlag(type); }
  automation::Variant GetSubMenu();

 private:
  TDeskletObject* desklet_;
  TMenuItem* item_;
  std::weak_ptr<const char> alive_;
  automation::ComPtr<automation::IDispatch> subMenu_;
};

}  // namespace vorel
