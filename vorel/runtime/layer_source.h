// RenderLayerSource: a layer's final source text drawn into a new image,
// by form: "!TXT:" text (on an optional background image), "!HITSPOT" and
// "!BLANKSPACE" (transparent), a masked image "a|mask", a composed strip
// "a>b>V", or an image file. Also the child layers drawn onto their
// parent's image.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/gdiplus/bitmap.h"

namespace vorel {

class TDeskletObject;
struct TLayerObject;

// The marker of a text source: what follows it is the text drawn.
inline constexpr std::string_view kTextMarker = "!TXT:";

// The source drawn into a new image, or null when the form gives none (a
// masked image whose image file is missing, a composed source of fewer than
// three parts). May change the layer's Width and Height (a text background
// gives its size). Raises for a missing text background.
std::unique_ptr<gdiplus::Bitmap> RenderLayerSource(TDeskletObject& desklet, TLayerObject& layer,
                                                   const std::string& source);

// Draws the layer's child layers onto the image, making a transparent one
// of the layer's size first when there is none.
void DrawChildLayers(TDeskletObject& desklet, TLayerObject& layer, std::unique_ptr<gdiplus::Bitmap>& image);

// A transparent image of the size, each side at least 1.
std::unique_ptr<gdiplus::Bitmap> TransparentImage(int32_t width, int32_t height);

// An image file named by a skin: ".png" added without an extension
// (when asked), resolved against the skin folder; null when missing.
std::unique_ptr<gdiplus::Bitmap> LoadSkinImage(const TDeskletObject& desklet, const std::string& name,
                                               bool addPng = true);

}  // namespace vorel
