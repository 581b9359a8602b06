// IVorelMenuItem: one item of a pop-up menu, with its own sub-menu.
#include "vorel/typelib/interface_declarations.h"

namespace vorel::typelib {

using T = automation::VarType;

void DeclareMenuItemInterface(automation::InterfaceInfo& info) {
  MemberWriter(info)
      .Property("Name", 1, T::String, "The item text")
      .Property("OnClick", 3, T::String, "Statement run when the item is chosen")
      .Property("Enabled", 4, T::Bool, "Whether the item can be chosen (false: grayed)")
      .Property("Checked", 5, T::Bool, "Whether the item shows a check mark")
      .Get("MenuType", 6, T::String, "MBB (new column with a bar), MB (new column), S (separator) or empty")
      .Put("MenuType", 6, T::String, "Adds the flag of MBB, MB or S; other texts change nothing")
      .Get("SubMenu", 2, T::Variant, "The collection of the item's sub-items");
}

}  // namespace vorel::typelib
