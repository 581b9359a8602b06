// IVorelParam: one skin parameter, a named value that skins use as a
// variable and that may be saved with the desklet's settings.
#include "vorel/typelib/interface_declarations.h"

namespace vorel::typelib {

using T = automation::VarType;

void DeclareParamInterface(automation::InterfaceInfo& info) {
  MemberWriter(info)
      .Property("Name", 1, T::String, "The parameter name")
      .Property("Value", 4, T::String, "The value; setting it runs no statement and renders nothing")
      .Property("OnUpdate", 5, T::String, "The parameter's onupdate statement")
      .Property("Saveable", 6, T::Bool, "Whether the value is saved with the desklet's settings");
}

}  // namespace vorel::typelib
