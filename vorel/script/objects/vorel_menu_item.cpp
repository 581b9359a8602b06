#include "vorel/script/objects/vorel_menu_item.h"

#include "vorel/model/desklet.h"
#include "vorel/script/objects/object_list.h"
#include "vorel/typelib/vorel_type_library.h"

namespace vorel {

TVorelMenuItem::TVorelMenuItem(TDeskletObject* desklet, TMenuItem* item)
    : desklet_(desklet), item_(item), alive_(item ? std::weak_ptr<const char>(item->lifetime) : std::weak_ptr<const char>()) {}

automation::ComPtr<TVorelMenuItem> TVorelMenuItem::Create(TDeskletObject& desklet, TMenuItem& item) {
  return automation::MakeObject<TVorelMenuItem>(&desklet, &item);
}

const automation::DispatchTable<TVorelMenuItem>& TVorelMenuItem::Table() {
  using T = TVorelMenuItem;
  using I = TMenuItem;
  constexpr auto Get = automation::MemberKind::PropertyGet;
  constexpr auto Put = automation::MemberKind::PropertyPut;
  static const automation::DispatchTable<T> table =
      automation::DispatchTable<T>(VorelInterface("IVorelMenuItem"))
          .Source("VorelMenuItem")
          .Unbound(automation::UnboundRule::SucceedEmpty)
          .Implement("Name", Get, &T::GetText<&I::Name>)
          .Implement("Name", Put, &T::PutText<&I::Name>)
          .Implement("OnClick", Get, &T::GetText<&I::OnClick>)
          .Implement("OnClick", Put, &T::PutText<&I::OnClick>)
          .Implement("Enabled", Get, &T::GetEnabled)
          .Implement("Enabled", Put, &T::PutEnabled)
          .Implement("Checked", Get, &T::GetChecked)
          .Implement("Checked", Put, &T::PutChecked)
          .Implement("MenuType", Get, &T::GetMenuType)
          .Implement("MenuType", Put, &T::PutMenuType)
          .Implement("SubMenu", Get, &T::GetSubMenu);
  return table;
}

void TVorelMenuItem::PutEnabled(bool enabled) {
  item_->Flags = enabled ? (item_->Flags & ~kMenuGrayed) : (item_->Flags | kMenuGrayed);
}

void TVorelMenuItem::PutChecked(bool checked) {
  item_->Flags = checked ? (item_->Flags | kMenuChecked) : (item_->Flags & ~kMenuChecked);
}

// An item given more than one type by scripts reads as the first of them.
std::string TVorelMenuItem::GetMenuType() const {
  if (item_->Flags & kMenuBarBreak) return "MBB";
  if (item_->Flags & kMenuBreak) return "MB";
  if (item_->Flags & kMenuSeparator) return "S";
  return "";
}

automation::Variant TVorelMenuItem::GetSubMenu() {
  if (!item_->SubMenu) item_->SubMenu = std::make_unique<TMenuItemList>();
  if (!subMenu_)
    subMenu_ = TKivObjectList::Create(*desklet_, TListKind::MenuItems, item_->SubMenu.get(), item_->lifetime)
                   .As<automation::IDispatch>();
  return automation::Variant(subMenu_);
}

}  // namespace vorel
