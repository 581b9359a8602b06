// IVorelSide: one side of the desklet, its size and its close point. The
// four values are unsigned: negative values fail with a range error.
#include "vorel/typelib/interface_declarations.h"

namespace vorel::typelib {

using T = automation::VarType;

void DeclareSideInterface(automation::InterfaceInfo& info) {
  MemberWriter(info)
      .Get("ID", 1, T::Int32, "The side's index; read-only")
      .Property("Height", 2, T::Int32, "The side's height; on the shown side the desklet keeps its scale")
      .Property("Width", 3, T::Int32, "The side's width; on the shown side the desklet keeps its scale")
      .Property("CloseX", 4, T::Int32, "X of the side's close point")
      .Property("CloseY", 5, T::Int32, "Y of the side's close point")
      .Method("Reset", 6, {}, "Applies the side's size and close point to the desklet when the side is shown");
}

}  // namespace vorel::typelib
