// IKivObjectList: the one collection behind Layers, Controls, Parameters,
// Timers, XMLS, Sides, Menus and the SubMenu lists. Item is the default
// member, so Layers("name") and Layers(0) work; _NewEnum feeds For Each.
#include "vorel/typelib/interface_declarations.h"

namespace vorel::typelib {

using automation::OptionalParam;
using automation::Param;
using T = automation::VarType;

void DeclareObjectListInterface(automation::InterfaceInfo& info) {
  MemberWriter(info)
      .Method("New", 3,
              {Param("Name", T::Variant), OptionalParam("Value1", T::Variant), OptionalParam("Value2", T::Variant),
               OptionalParam("Value3", T::Variant), OptionalParam("Value4", T::Variant)},
              T::Variant, "Creates an element; what Name and Value1 to Value4 mean depends on the collection")
      .Method("Delete", 4, {Param("Name", T::Variant)}, T::Bool,
              "Deletes the element at a position or with a name; true when one was deleted")
      .Get("_NewEnum", automation::DISPID_NEWENUM, T::Unknown, "A new enumerator over the elements")
      .Get("Item", automation::DISPID_VALUE, T::Variant, "The element at a position or with a name, or Nothing",
           {Param("Name", T::Variant)})
      .Get("Count", 2, T::Int32, "Number of elements");
}

}  // namespace vorel::typelib
