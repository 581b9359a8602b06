// IVorelUI: dialogs and windows.
#include "vorel/typelib/interface_declarations.h"

namespace vorel::typelib {

using automation::OptionalParam;
using automation::Param;
using automation::Variant;
using T = automation::VarType;

namespace {

std::vector<automation::ParamInfo> FileDialogParams() {
  return {OptionalParam("Directory", T::String, Variant("")), OptionalParam("Filter", T::String, Variant("")),
          OptionalParam("DefaultExt", T::String, Variant("")), OptionalParam("Title", T::String, Variant(""))};
}

}  // namespace

void DeclareUiInterface(automation::InterfaceInfo& info) {
  MemberWriter(info)
      .Method("InputBox", 1,
              {Param("Caption", T::String), Param("Msg", T::String), OptionalParam("Default", T::String, Variant(""))},
              T::String, "Asks for a text; the default text when cancelled")
      .Method("FindWindow", 2, {Param("ClassName", T::String), Param("WindowName", T::String)}, T::Variant,
              "The handle of the window with that class and title (empty: any), 0 when none")
      .Method("PromptColor", 3, {}, T::String, "Asks for a colour; its colour text, empty when cancelled")
      .Method("PromptOpenFile", 4, FileDialogParams(), T::String,
              "Asks for a file to open; its full path, empty when cancelled")
      .Method("PromptSaveFile", 5, FileDialogParams(), T::String,
              "Asks for a file to save; its full path, empty when cancelled")
      .Method("SendWinMessage", 6,
              {Param("hwnd", T::UInt32), Param("Msg", T::UInt32), Param("wparam", T::Int32), Param("lparam", T::Int32)},
              T::Int32, "Sends the message to the window and returns its result")
      .Method("GetWindowText", 7, {Param("Handle", T::UInt32)}, T::String, "The window's title, at most 259 characters")
      .Method("FormatDateTime", 8,
              {Param("YY", T::Variant), Param("MM", T::Variant), Param("DD", T::Variant), Param("HH", T::Variant),
               Param("MT", T::Variant), Param("SS", T::Variant), Param("MS", T::Variant), Param("Format", T::String)},
              T::String, "Formats the date and time with a format such as yyyy-mm-dd hh:nn")
      .Method("PromptDirectory", 9, {OptionalParam("Message", T::String, Variant(""))}, T::String,
              "Asks for a folder; the folder, empty when cancelled");
}

}  // namespace vorel::typelib
