// IVorelMainMenu: one pop-up menu of the skin.
#include "vorel/typelib/interface_declarations.h"

namespace vorel::typelib {

using T = automation::VarType;

void DeclareMainMenuInterface(automation::InterfaceInfo& info) {
  MemberWriter(info)
      .Get("ID", 1, T::UInt8, "The menu id that PopupMenu takes; read-only")
      .Property("ShowDefaultMenu", 2, T::Bool, "Whether the host's desklet menu is shown with the items")
      .Property("OnBeforePopup", 3, T::String, "Statement run before the menu is shown")
      .Property("OnAfterPopup", 4, T::String, "Statement run after the menu was closed")
      .Get("SubMenu", 6, T::Variant,
           "The collection of the menu's items, so that items can be added with SubMenu.New");
}

}  // namespace vorel::typelib
