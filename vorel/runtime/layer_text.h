// Text drawn into a layer image with a layer's (or child layer's) font,
// colour, alignment and offsets: the drawing half of the "!TXT:" source.
#pragma once

#include <cstdint>
#include <string>

#include "platform/gdiplus/bitmap.h"
#include "platform/gdiplus/types.h"

namespace vorel {

struct TLayerObject;
struct TChildLayer;

// The font and placement fields that text drawing reads.
struct TextLook {
  std::string fontName;
  uint32_t fontColor = 0;  // COLORREF, or a system colour
  int32_t fontSize = 8;
  uint8_t fontStyle = 0;
  uint8_t fontAlign = 0;
  int32_t offsetX = 0, offsetY = 0;
  int32_t height = 0;  // the layer's field, which places Middle and Bottom text

  static TextLook Of(const TLayerObject& layer);
  static TextLook Of(const TChildLayer& child);
};

// The colour as GDI+ speaks it, opaque. Raises "Range check error" for a
// negative value that is not a system colour.
gdiplus::ARGB OpaqueColor(uint32_t colorRef);

// The logical size of the text in the look's font.
gdiplus::SizeF MeasureLayerText(const std::string& text, const TextLook& look);

// Draws the text into the image: from the vertical start that Middle or
// Bottom give, moved by the offsets, in a rectangle of the image's size,
// aligned left, centre or right; with the antialias bit as filled glyph
// outlines, otherwise as plain text.
void DrawLayerText(gdiplus::Bitmap& image, const std::string& text, const TextLook& look);

}  // namespace vorel
