// IVorelXML: one XML data source of the desklet. Sources given as
// "file://" paths may be written and saved; others are read-only.
#include "vorel/typelib/interface_declarations.h"

namespace vorel::typelib {

using automation::OptionalParam;
using automation::Param;
using automation::Variant;
using T = automation::VarType;

void DeclareXmlInterface(automation::InterfaceInfo& info) {
  MemberWriter(info)
      .Get("ID", 1, T::Int32, "The source's index; read-only")
      .Property("Src", 2, T::String, "The source address: a URL or file:// and a path; used at the next fetch")
      .Property("Time", 3, T::Int32, "Fetch interval in minutes, 0 for none")
      .Property("UseWinTemp", 6, T::Bool, "Whether the cache lives in the temporary folder instead of the skin's")
      .Property("OnGetData", 7, T::String, "Statement run when new data has arrived")
      .Method("Reset", 8, {}, "Drops the data and deletes the cached copy")
      .Method("GetValue", 9,
              {Param("Path", T::String), OptionalParam("Delimiter", T::String, Variant("")),
               OptionalParam("PathIsXSL", T::Bool, Variant(false))},
              T::String, "The values the path selects, joined by Delimiter (CR LF when empty)")
      .Method("GetValueCount", 10, {Param("Path", T::String)}, T::Int32, "Number of nodes the XPath selects")
      .Method("ForceGetData", 11, {}, "Fetches this source now")
      .Get("IsDataOLD", 12, T::Bool, "Whether the cached copy is out of date")
      .Method("WriteTextValue", 13,
              {Param("Path", T::String), Param("Value", T::String), OptionalParam("Mode", T::Int8, Variant(int8_t{0}))},
              T::Bool, "Sets the text of the node the path selects (made when missing); true when done")
      .Method("WriteAttribValue", 14,
              {Param("Path", T::String), Param("Atribute", T::String), Param("Value", T::String),
               OptionalParam("Mode", T::Int8, Variant(int8_t{0}))},
              T::Bool, "Sets an attribute of the node the path selects (made when missing); true when done")
      .Method("SaveXML", 15, {OptionalParam("NewFileName", T::String, Variant(""))}, T::Bool,
              "Saves the document to the file, or to the source's own file when empty; true when done")
      .Get("ReadOnly", 16, T::Bool, "True unless the source begins with file://")
      .Method("ClearXML", 17, {}, "Replaces the document with an empty root element")
      .Method("GetAgeOfXML", 18, {}, T::Date, "When the cached copy was written, 0 when there is none");
}

}  // namespace vorel::typelib
