// IKivScriptLayer: one layer of the desklet. "Renders" below means the
// layer is drawn again at once unless the object's updates are locked.
#include "vorel/typelib/interface_declarations.h"

namespace vorel::typelib {

using automation::OptionalParam;
using automation::Param;
using automation::RefParam;
using automation::Variant;
using T = automation::VarType;

void DeclareLayerInterface(automation::InterfaceInfo& info) {
  MemberWriter(info)
      .Property("Src", 1, T::String, "The layer source; setting it renders")
      .Property("dsrc", 2, T::String, "The source shown while the layer is down; setting it renders")
      .Property("msrc", 3, T::String, "The source shown while the mouse is over the layer; setting it renders")
      .Property("onMouseClick", 6, T::String, "Statement run on a click (onclick)")
      .Property("OnMouseEnter", 7, T::String, "Statement run when the mouse enters the layer")
      .Property("OnMouseExit", 8, T::String, "Statement run when the mouse leaves the layer")
      .Property("FontName", 9, T::String, "Font name; setting it renders")
      .Property("FontColor", 10, T::String, "Font colour as a colour name, $RRGGBB or #RRGGBB; setting it renders")
      .Property("FontSize", 11, T::Int16, "Font size; setting it renders")
      .Property("FontStyle", 12, T::String, "Font style letters B, I, U, S; setting it keeps anti-aliasing and renders")
      .Property("FontAlignment", 13, T::String, "Alignment letters L, C, R, T, M, B; setting it renders")
      .Property("Cursor", 14, T::String, "Cursor name or number; empty for none")
      .Property("X", 15, T::Int32, "X position (-32768 to 32767); setting it renders")
      .Property("Y", 16, T::Int32, "Y position (-32768 to 32767); setting it renders")
      .Property("Data", 17, T::String, "Free data text of the layer")
      .Property("Width", 18, T::Int32, "Width (-32768 to 32767); setting it renders")
      .Property("Height", 19, T::Int32, "Height (-32768 to 32767); setting it renders")
      .Property("OffSetX", 20, T::Int32, "Horizontal source offset (-32768 to 32767); setting it renders")
      .Property("OffSetY", 21, T::Int32, "Vertical source offset (-32768 to 32767); setting it renders")
      .Method("Slide", 25,
              {RefParam("SCoord", T::Variant), RefParam("ECoord", T::Variant), RefParam("ICoord", T::Variant),
               Param("Delay", T::Int32), OptionalParam("Loop", T::Int32, Variant(int32_t{0})),
               OptionalParam("ASync", T::Bool, Variant(false)), OptionalParam("CallBack", T::String, Variant(""))},
              "Slides the layer from the start to the end rectangle in increments (texts or arrays of four)")
      .Method("Redraw", 5, {}, "Renders the layer even while locked, then unlocks it")
      .Get("Name", 26, T::String, "The layer name; read-only")
      .Property("LayerSide", 27, T::UInt8, "The side the layer belongs to; setting it renders")
      .Property("OnMouseScroll", 28, T::String, "Statement run on a wheel event over the layer")
      .Property("onMouseDown", 29, T::String, "Statement run when a button goes down over the layer")
      .Property("onMouseUp", 30, T::String, "Statement run when a button goes up over the layer")
      .Property("KeyBind", 31, T::String, "The key bound to the layer")
      .Property("Alpha", 32, T::UInt8, "Alpha (0 to 255); setting it reaches the host unless locked, without rendering")
      .Property("Down", 22, T::Bool, "Whether the layer shows its down source; setting it renders")
      .Property("OnMouseRightClick", 23, T::String, "Statement run on a right click")
      .Property("FontAA", 24, T::Bool, "Anti-aliased text; setting it does not render")
      .Property("MaskValue", 33, T::UInt8, "Mask value; setting it renders")
      .Property("Visible", 34, T::Bool, "Visibility; setting it reaches the host unless locked, without rendering")
      .Property("MaskMinValue", 37, T::UInt8, "Mask minimum value; setting it renders")
      .Get("Rotation", 35, T::Int16, "Always 0")
      .Put("Rotation", 35, T::Int16, "Rotates the layer on the host unless locked; the angle is not kept")
      .Method("SetColor", 4, {Param("Color", T::String)}, "Sets the image colour from a colour text and renders")
      .Property("ClipSource", 36, T::Variant,
                "Clip rectangle: an array of four integers; set from \"a,b,c,d\" or an array, then renders")
      .Method("LockUpdates", 38, {}, "Locks this object: setters change the layer without drawing")
      .Method("UnlockUpdates", 39, {}, "Unlocks this object without rendering")
      .Get("Text", 40, T::String, "The text after !TXT: in the source, or empty")
      .Put("Text", 40, T::String, "Makes the source !TXT: followed by the text and renders")
      .Get("Image", 41, T::String, "The source when it holds a \"!\", otherwise empty")
      .Put("Image", 41, T::String, "Sets the source and renders")
      .Method("SlideShow", 42,
              {Param("ImageList", T::String), Param("Delay", T::Int32),
               OptionalParam("Loop", T::Int32, Variant(int32_t{-1})), OptionalParam("ASync", T::Bool, Variant(true)),
               OptionalParam("CallBack", T::String, Variant(""))},
              "Shows the images of the list one after the other")
      .Method("CaptureMouse", 43, {}, "Captures the mouse for the layer")
      .Method("UnCaptureMouse", 44, {}, "Releases the mouse capture")
      .Property("CenterSrc", 45, T::Bool, "Centres the source in the layer; setting it renders")
      .Put("Clickable", 46, T::Bool, "Whether the layer takes mouse clicks (false: clicks go through); write-only")
      .Property("Scale", 47, T::Bool, "Scales the source to the layer; setting it renders")
      .Property("ScaleProportional", 48, T::Bool, "Scales the source keeping its proportions; setting it renders")
      .Get("ImageHeight", 49, T::Int32, "Height of the image rendered last; read-only")
      .Get("ImageWidth", 50, T::Int32, "Width of the image rendered last; read-only")
      .Property("TextResize", 51, T::Bool, "Resizes the layer to its text; setting it renders");
}

}  // namespace vorel::typelib
