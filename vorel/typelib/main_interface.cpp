// IVorelMain: the root object that skin scripts see as "kiv" and "this".
#include "vorel/typelib/interface_declarations.h"

namespace vorel::typelib {

using automation::OptionalParam;
using automation::Param;
using automation::RefParam;
using automation::Variant;
using T = automation::VarType;

void DeclareMainInterface(automation::InterfaceInfo& info) {
  MemberWriter(info)
      .Method("alert", 1, {Param("strMsg", T::String)}, "Shows a modal message box with the text and an OK button")
      .Get("DeskletLabel", 2, T::String, "The desklet's label")
      .Put("DeskletLabel", 2, T::String, "Sets the desklet's label")
      .Get("DeskletRotation", 3, T::Int32, "The desklet's rotation")
      .Put("DeskletRotation", 3, T::Int32, "Sets the desklet's rotation")
      .Get("DeskletAlpha", 4, T::UInt8, "The desklet's alpha (0 to 255)")
      .Put("DeskletAlpha", 4, T::UInt8, "Sets the desklet's alpha")
      .Get("DeskletWidth", 5, T::Int32, "The desklet's width")
      .Put("DeskletWidth", 5, T::Int32, "Resizes the desklet to this width, keeping its height")
      .Get("DeskletHeight", 6, T::Int32, "The desklet's height")
      .Put("DeskletHeight", 6, T::Int32, "Resizes the desklet to this height, keeping its width")
      .Method("Refresh", 9, {}, "Unlocks updates and asks for a redraw of the desklet once the script returns")
      .Method("Redraw", 17, {OptionalParam("XMLOnly", T::Bool, Variant(false))},
              "Unlocks updates and re-renders the layers once the script returns; XMLOnly: only those fed by !XML")
      .Method("ConvertToValue", 22, {Param("Value", T::String)}, T::String,
              "Resolves a layer-source expression to its text")
      .Method("SetSubLabel", 24, {Param("Value", T::String)}, "Sets the desklet's sub-label")
      .Method("Invalidate", 25, {OptionalParam("Full", T::Bool, Variant(true))},
              "Asks for an invalidation of the whole current side (Full) or of an empty rectangle")
      .Method("GetMouseScrollValue", 37, {}, T::Int32, "Scroll value of the last mouse-wheel event")
      .Method("GetMouseXPos", 38, {}, T::Int32, "X of the last mouse move over the desklet (%MOUSEX%)")
      .Method("GetMouseYPos", 39, {}, T::Int32, "Y of the last mouse move over the desklet (%MOUSEY%)")
      .Get("DeskletXPos", 41, T::Int32, "Left edge of the desklet")
      .Put("DeskletXPos", 41, T::Int32, "Moves the desklet horizontally, keeping its width")
      .Get("DeskletYPos", 42, T::Int32, "Top edge of the desklet")
      .Put("DeskletYPos", 42, T::Int32, "Moves the desklet vertically, keeping its height")
      .Method("MultiMedia", 43, {Param("FileName", T::String), Param("Command", T::UInt8)},
              "Plays a wave file of the skin's resource folder (1 once, 2 looped, 3 waiting) or stops (0, 100)")
      .Method("SetMultiMediaWindow", 44,
              {Param("X", T::Int32), Param("Y", T::Int32), Param("Width", T::Int32), Param("Height", T::Int32)},
              "Accepted and ignored")
      .Method("GetDroppedFileName", 45, {}, T::String, "Name of the file dropped last")
      .Method("EnableTimers", 15, {Param("Enable", T::Bool)}, "Starts or stops all timers of the desklet")
      .Method("Sleep", 47, {Param("Value", T::UInt32)},
              "Blocks for that many milliseconds without drawing or handling events")
      .Property("OnCreate", 48, T::String, "Statement run when the desklet is created")
      .Property("OnDestroy", 49, T::String, "Statement run when the desklet is destroyed")
      .Property("OnBeforeFlip", 50, T::String, "Statement run before a flip to another side")
      .Property("OnAfterFlip", 51, T::String, "Statement run after a flip")
      .Property("OnDropFile", 52, T::String, "Statement run when a file is dropped")
      .Property("OnMouseEnter", 53, T::String, "Statement run when the mouse enters the desklet")
      .Property("OnMouseExit", 54, T::String, "Statement run when the mouse leaves the desklet")
      .Property("OnMouseMove", 55, T::String, "Statement run on every mouse move over the desklet")
      .Property("OnMouseScroll", 56, T::String, "Statement run on a wheel event over the desklet")
      .Property("OnSelect", 57, T::String, "Statement run when the desklet is selected")
      .Property("OnDeselect", 58, T::String, "Statement run when the desklet is deselected")
      .Get("SkinName", 59, T::String, "The skin's name (//skininfo/name); read-only")
      .Property("OnKeyDown", 63, T::String, "Statement run on a character key")
      .Method("GetKeyStr", 65, {}, T::String, "Text of the last character key: CR, ESC, TAB, BS or the character")
      .Method("GetKeyVal", 66, {}, T::Int32, "Character code of the last character key")
      .Get("Layers", 18, T::Variant, "The collection of the layers")
      .Get("Controls", 19, T::Variant, "A new collection of the controls at every read")
      .Get("XMLS", 20, T::Variant, "The collection of the XML data sources")
      .Get("Timers", 21, T::Variant, "The collection of the timers")
      .Get("Parameters", 26, T::Variant, "The collection of the parameters")
      .Get("Sides", 27, T::Variant, "The collection of the sides")
      .Method("ForceXDataFetch", 28, {}, "Fetches every XML data source now, as if none had been fetched")
      .Method("LockAllUpdates", 7, {}, "Stops the host from redrawing until updates are unlocked")
      .Method("UnlockAllUpdates", 8, {}, "Lets the host redraw again, without redrawing now")
      .Method("GetCurrentSide", 10, {}, T::Int32, "Number of the side now shown")
      .Method("CreateObject", 11,
              {Param("ProgID", T::String), OptionalParam("EventPrefix", T::String, Variant("")),
               OptionalParam("AutoCreate", T::Bool, Variant(true))},
              T::Variant,
              "Creates (AutoCreate) or attaches to an automation object; EventPrefix routes its events to "
              "procedures")
      .Get("IO", 29, T::Variant, "The file and folder helper object")
      .Get("UI", 30, T::Variant, "The dialog and window helper object")
      .Method("ConnectObject", 12, {RefParam("Obj", T::Variant), Param("EventPrefix", T::String)},
              "Routes the events of an object to the procedures named EventPrefix + event name")
      .Method("DisconnectObject", 13, {RefParam("Obj", T::Variant)}, "Removes every event route of the object")
      .Get("Menus", 14, T::Variant, "The collection of the menus")
      .Method("PopupMenu", 16, {Param("MenuID", T::UInt8)}, "Shows the skin menu with that id at the mouse position")
      .Method("GetActiveLayer", 31, {}, T::Variant, "The layer of the last layer mouse event, or Nothing")
      .Method("GetLayerMouseXPos", 23, {}, T::Int32, "X of the last layer mouse event (%THISMOUSEX%)")
      .Method("GetLayerMouseYPos", 32, {}, T::Int32, "Y of the last layer mouse event")
      .Method("GetChangeToSide", 33, {}, T::UInt8, "The side being flipped to; set already during OnBeforeFlip")
      .Method("FlipTo", 34, {Param("Side", T::UInt8)}, "Flips the desklet to that side unless it is shown already");
}

}  // namespace vorel::typelib
