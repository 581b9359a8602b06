// IVorelIO: files, folders, downloads and the shell.
#include "vorel/typelib/interface_declarations.h"

namespace vorel::typelib {

using automation::OptionalParam;
using automation::Param;
using automation::Variant;
using T = automation::VarType;

void DeclareIoInterface(automation::InterfaceInfo& info) {
  MemberWriter(info)
      .Method("GetTextFile", 1, {Param("FileName", T::String)}, T::String,
              "The whole text of the file, every line ended by CR LF")
      .Method("ShellExecutes", 2,
              {Param("FileName", T::String), OptionalParam("Parameters", T::String, Variant("")),
               OptionalParam("Directory", T::String, Variant("")),
               OptionalParam("ShowCMD", T::Int32, Variant(int32_t{1})),
               OptionalParam("Operation", T::String, Variant("OPEN"))},
              "Asks the shell to perform the operation on the file")
      .Method("GetTmpPath", 3, {}, T::String, "The temporary folder")
      .Method("GetSkinResPath", 4, {}, T::String, "The skin's resource folder")
      .Method("GetSkinPath", 5, {}, T::String, "The skin's folder")
      .Method("GetUserDocumentPath", 6, {}, T::String, "The user's documents folder")
      .Method("GetSkinCtrlPath", 7, {}, T::String, "The skin's control folder")
      .Method("CreateDirectory", 8, {Param("DirectoryName", T::String)}, T::Bool,
              "Creates one folder in an existing one; true on success")
      .Method("GenerateUniqueName", 9, {}, T::String, "A new GUID as 32 upper-case hexadecimal digits")
      .Method("URLToFile", 10, {Param("URLPath", T::String), Param("FileName", T::String)}, T::Bool,
              "Downloads the address into the file; true when done")
      .Method("GetSystemDirectory", 11, {Param("Name", T::String)}, T::String,
              "MYDOCUMENTS, MYMUSIC, MYVIDEOS, MYPICTURES or DESKTOP folder; empty for other names");
}

}  // namespace vorel::typelib
