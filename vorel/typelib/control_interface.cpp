// IKivScriptControl: one control of the desklet (text field, edit box,
// drop-down list, vertical scroll bar or image button). "Updates" below
// means the control is changed at once unless the object's updates are
// locked.
#include "vorel/typelib/interface_declarations.h"

namespace vorel::typelib {

using automation::Param;
using T = automation::VarType;

void DeclareControlInterface(automation::InterfaceInfo& info) {
  MemberWriter(info)
      .Property("FontColor", 1, T::String, "Font colour as a colour name, $RRGGBB or #RRGGBB; setting it updates")
      .Property("FontName", 2, T::String, "Font name; setting it updates")
      .Property("FontStyle", 3, T::String, "Font style letters B, I, U, S; setting it updates")
      .Property("X", 4, T::Int32, "X position (-32768 to 32767); setting it updates")
      .Property("Y", 5, T::Int32, "Y position (-32768 to 32767); setting it updates")
      .Property("Height", 7, T::Int32, "Height (-32768 to 32767); setting it updates")
      .Property("Width", 8, T::Int32, "Width (-32768 to 32767); setting it updates")
      .Get("CtrlType", 9, T::String, "The control type; read-only")
      .Get("Name", 10, T::String, "The control name; read-only")
      .Property("OnEnter", 11, T::String, "Statement run when the control gets the focus")
      .Property("OnExit", 12, T::String, "Statement run when the control loses the focus")
      .Property("OnChange", 13, T::String, "Statement run when the control's value or selection changes")
      .Property("OnKeyEnter", 14, T::String, "Statement run when Enter is pressed in the control")
      .Get("Value", 15, T::String, "The control's text, scroll position or selected list value")
      .Put("Value", 15, T::String, "Sets the control's value and updates")
      .Get("Display", 16, T::String, "The selected item's display text, or the control's text")
      .Put("Display", 16, T::String, "Sets the control's value (the same as Value) and updates")
      .Property("ListValues", 17, T::String, "List items separated by \";\", each display=value or one text")
      .Property("FontSize", 19, T::Int32, "Font size (-32768 to 32767); setting it updates")
      .Method("GetSelectValue", 18, {Param("Idx", T::Int32)}, T::String, "Value part of list item Idx, or empty")
      .Property("CtrlSide", 20, T::UInt8, "The side the control belongs to; setting it updates")
      .Property("FontBGColor", 21, T::String, "Background colour as a colour text; setting it updates")
      .Method("Redraw", 6, {}, "Updates the control even while locked, then unlocks it")
      .Property("ScrollBarSize", 22, T::Int32, "Size of the scroll bar; setting it updates")
      .Property("ReadOnly", 26, T::Bool, "Whether the text cannot be edited")
      .Property("PasswordMode", 27, T::Bool, "Whether the text is hidden")
      .Property("Visible", 24, T::Bool, "Visibility; setting it reaches the host unless locked")
      .Method("LockUpdates", 23, {}, "Locks this object: setters change the control's record only")
      .Method("UnlockUpdates", 25, {}, "Unlocks this object without updating")
      .Method("GetSelDisplayValue", 28, {Param("Idx", T::Int32)}, T::String,
              "Display part of list item Idx, or empty")
      .Get("NewIndex", 29, T::Int32, "The index being selected (inside OnChange), else the selected index")
      .Get("Index", 30, T::Int32, "The selected index")
      .Put("Index", 30, T::Int32, "Selects the item at the index, even while locked");
}

}  // namespace vorel::typelib
