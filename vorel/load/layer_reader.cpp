#include "vorel/load/layer_reader.h"

#include <memory>

#include "vorel/load/attribute_reader.h"
#include "vorel/model/desklet.h"
#include "vorel/host/host_api.h"
#include "vorel/runtime/layer_source.h"
#include "vorel/runtime/render_layer.h"

namespace vorel {

namespace {

// Step 7 and 8 of a layer: where the host looks for mouse hits.
void SetHitTesting(TDeskletObject& d, TLayerObject& layer, const AttributeReader& read) {
  const bool full = layer.Alpha == 0 || layer.Src.find("!HITSPOT") != std::string::npos ||
                    read.Bool("fullhittest", "0");
  if (full) host::DeskletLayerSetNoAlphaBlendedHitTesting(d.windowHandle, layer.Id, true);
  layer.Set(FullHitTest, full);
  if (!read.Bool("clickable", "1")) host::DeskletLayerSetIsClickThrough(d.windowHandle, layer.Id, true);
}

void ReadChildren(TDeskletObject& d, const xml::Node& element, TLayerObject& layer) {
  const std::vector<xml::Node> children = element.SelectNodes("layer");
  if (children.empty()) return;
  layer.Children.resize(children.size());
  for (size_t k = 0; k < children.size(); ++k) {
    layer.Children[k].Name = std::to_string(k);
    ReadChildLayerAttributes(d, children[k], layer.Children[k]);
  }
}

void ReadLayer(TDeskletObject& d, const xml::Node& element, uint8_t groupSide) {
  const AttributeReader read(d, element);
  const uint8_t side = static_cast<uint8_t>(IntInRange(read.Raw("side"), groupSide, 0, 255));
  std::string name = read.Raw("name");
  if (name.empty()) name = "LID-" + std::to_string(d.nextLayerNumber) + "-" + std::to_string(side);
  uint32_t existing = 0;
  if (host::DeskletLayerGetLayer(d.windowHandle, name, existing)) {
    // NOTE: a reload meets its own layers again. Counting the skipped
    // element keeps the automatic names of the first load, so unnamed
    // layers are recognised and not made twice.
    ++d.nextLayerNumber;
    return;
  }

  d.layers.push_back(std::make_unique<TLayerObject>());
  TLayerObject& layer = *d.layers.back();
  try {
    ReadLayerAttributes(d, element, layer);
    layer.LayerSide = side;
    layer.Name = name;
    layer.Id = host::DeskletLayerAdd(d.windowHandle, layer.Name);
  } catch (...) {
    // Not in the host yet: the element leaves nothing behind.
    d.layers.pop_back();
    throw;
  }
  SetHitTesting(d, layer, read);
  ++d.nextLayerNumber;
  ReadChildren(d, element, layer);
  layer.Set(Visible, read.Bool("visible", "1"));
  RenderLayer(d, layer, TLook::Normal, true, false);
}

// What a layer and a child layer both read: font, colour, alpha, box,
// text offsets, alignment and style.
template <typename Drawn>
void ReadDrawnLook(const AttributeReader& read, Drawn& drawn) {
  read.Font(drawn);
  drawn.FontColor = 0;
  read.Color("fontcolor", drawn.FontColor);
  drawn.Alpha = read.Byte("alpha", 255);
  drawn.X = read.Int16("x", 0);
  drawn.Y = read.Int16("y", 0);
  drawn.Width = read.Int16("width", 0);
  drawn.Height = read.Int16("height", 0);
  drawn.OffSetX = read.Int16("offsetx", 0);
  drawn.OffSetY = read.Int16("offsety", 0);
  drawn.FontAlign = FontAlignFromText(read.Expanded("fontalign"));
  drawn.FontStyle = FontStyleFromText(read.Expanded("fontstyle"), read.Bool("fontaa", "1"));
}

}  // namespace

void ReadLayerAttributes(TDeskletObject& d, const xml::Node& element, TLayerObject& layer) {
  const AttributeReader read(d, element);
  layer.Flags = 0;
  layer.Src = read.Raw("src");
  const std::string text = read.Raw("text");
  if (layer.Src.empty() && !text.empty()) layer.Src = text[0] == '!' ? text : std::string(kTextMarker) + text;
  layer.DSrc = read.Raw("dsrc");
  layer.MSrc = read.Raw("msrc");
  layer.OnClick = read.Raw("onclick");
  layer.OnMouseEnter = read.Raw("onmouseenter");
  layer.OnMouseExit = read.Raw("onmouseexit");
  layer.OnMouseScroll = read.Raw("onmousescroll");
  layer.OnMouseUp = read.Raw("onmouseup");
  layer.OnMouseDown = read.Raw("onmousedown");
  layer.OnMouseRightClick = read.Raw("onmouserightclick");
  layer.OnMouseMove = read.Raw("onmousemove");
  layer.KeyBind = read.Expanded("key");
  ReadDrawnLook(read, layer);
  layer.Set(AutoSize, layer.Width == 0 && layer.Height == 0);
  layer.Set(TextResize, read.Bool("textresize", "0"));
  layer.ClipSource = ClipSourceFromText(read.Expanded("clipsource"));
  layer.Cursor = kNoCursor;
  if (element.Attribute("mousecursor")) {
    if (const std::optional<uint16_t> cursor = CursorFromText(read.Expanded("mousecursor"))) layer.Cursor = *cursor;
  }
  layer.MaskMinValue = read.Byte("maskminvalue", 0);
  layer.MaskValue = read.Byte("maskvalue", 0);
  layer.ImageColor = kNoImageColor;
  layer.Data = read.Expanded("data");
  layer.Set(CenterSrc, read.Bool("centersrc", "0"));
  layer.Set(ScaleProportional, read.Bool("scaleproportional", "0"));
  layer.Set(Scale, read.Bool("scale", "1"));
  layer.Set(FullHitTest, read.Bool("fullhittest", "0"));
  read.Color("imagecolor", layer.ImageColor);
}

void ReadChildLayerAttributes(TDeskletObject& d, const xml::Node& element, TChildLayer& child) {
  const AttributeReader read(d, element);
  if (std::string name = read.Raw("name"); !name.empty()) child.Name = std::move(name);
  child.Src = read.Raw("src");
  ReadDrawnLook(read, child);
}

void ReadLayers(TDeskletObject& d, const xml::Node& root) {
  if (!root) return;
  for (const xml::Node& group : root.SelectNodes("layers")) {
    const uint8_t side = static_cast<uint8_t>(IntInRange(GetNodeText(group, "@side", kCrLf, ""), 0, 0, 255));
    for (const xml::Node& element : group.SelectNodes("layer")) {
      const std::string name = GetNodeText(element, "@name", kCrLf, "");
      TErrorLog::Scope scope(d.errorLog, name.empty() ? "an unnamed layer" : "layer \"" + name + "\"");
      try {
        ReadLayer(d, element, side);
      } catch (...) {
        // A broken layer element is skipped; the records and host layers
        // made so far stay.
        d.errorLog.Report(std::current_exception());
      }
    }
  }
}

}  // namespace vorel
