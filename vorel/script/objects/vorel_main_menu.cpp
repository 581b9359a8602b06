#include "vorel/script/objects/vorel_main_menu.h"

#include "vorel/model/desklet.h"
#include "vorel/script/objects/object_list.h"
#include "vorel/typelib/vorel_type_library.h"

namespace vorel {

TVorelMainMenu::TVorelMainMenu(TDeskletObject* desklet, TMenu* menu)
    : desklet_(desklet), menu_(menu), alive_(menu ? std::weak_ptr<const char>(menu->lifetime) : std::weak_ptr<const char>()) {}

automation::ComPtr<TVorelMainMenu> TVorelMainMenu::Create(TDeskletObject& desklet, TMenu* menu) {
  return automation::MakeObject<TVorelMainMenu>(&desklet, menu);
}

const automation::DispatchTable<TVorelMainMenu>& TVorelMainMenu::Table() {
  using T = TVorelMainMenu;
  using M = TMenu;
  constexpr auto Get = automation::MemberKind::PropertyGet;
  constexpr auto Put = automation::MemberKind::PropertyPut;
  static const automation::DispatchTable<T> table =
      automation::DispatchTable<T>(VorelInterface("IVorelMainMenu"))
          .Source("VorelMainMenu")
          .Unbound(automation::UnboundRule::SucceedEmpty)
          .Implement("ID", Get, &T::GetID)
          .Implement("ShowDefaultMenu", Get, &T::GetShowDefaultMenu)
          .Implement("ShowDefaultMenu", Put, &T::PutShowDefaultMenu)
          .Implement("OnBeforePopup", Get, &T::GetText<&M::OnBeforePopup>)
          .Implement("OnBeforePopup", Put, &T::PutText<&M::OnBeforePopup>)
          .Implement("OnAfterPopup", Get, &T::GetText<&M::OnAfterPopup>)
          .Implement("OnAfterPopup", Put, &T::PutText<&M::OnAfterPopup>)
          .Implement("SubMenu", Get, &T::GetSubMenu);
  return table;
}

// NOTE: a menu without items has no collection, so a script cannot add the
// first item of a menu it made with Menus.New; skins give their menus at
// least one item in the skin.
automation::Variant TVorelMainMenu::GetSubMenu() {
  if (!menu_->SubMenu || menu_->SubMenu->empty()) return automation::Variant::Nothing();
  if (!subMenu_)
    subMenu_ = TKivObjectList::Create(*desklet_, TListKind::MenuItems, menu_->SubMenu.get(), menu_->lifetime)
                   .As<automation::IDispatch>();
  return automation::Variant(subMenu_);
}

}  // namespace vorel
