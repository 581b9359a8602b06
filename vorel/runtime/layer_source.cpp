#include "vorel/runtime/layer_source.h"

#include <algorithm>

#include "platform/gdiplus/graphics.h"
#include "platform/util/text.h"
#include "vorel/model/desklet.h"
#include "vorel/runtime/image_ops.h"
#include "vorel/runtime/layer_text.h"
#include "vorel/runtime/remote_image.h"
#include "vorel/runtime/source_transforms.h"
#include "vorel/util/errors.h"
#include "vorel/util/paths.h"
#include "vorel/util/text_routines.h"

namespace vorel {

namespace {

constexpr std::string_view kWebImageMarker = "!WEBIMG:";

// Near-transparent rather than zero, so that black text has a ground to
// be antialiased against.
constexpr gdiplus::ARGB kBlackTextGround = 1;

std::string WithPng(const std::string& name) { return HasExtension(name) ? name : name + ".png"; }

std::string JoinParts(const std::vector<std::string>& parts, size_t count, char delimiter) {
  std::string text;
  for (size_t i = 0; i < count; ++i) {
    if (i) text += delimiter;
    text += parts[i];
  }
  return text;
}

void ClearForBlackText(gdiplus::Bitmap& image) {
  gdiplus::Graphics g(image);
  g.Clear(kBlackTextGround);
}

std::unique_ptr<gdiplus::Bitmap> RenderText(TDeskletObject& desklet, TLayerObject& layer, const std::string& source) {
  const std::string text = source.substr(source.find(kTextMarker) + kTextMarker.size());
  const std::vector<std::string> parts = Split(text, '|');
  std::unique_ptr<gdiplus::Bitmap> image;
  std::string drawn = text;
  const bool background = parts.size() >= 2;
  if (background) {
    const std::string path = ResolveSkinFile(desklet.settings.resourcePath, WithPng(parts.back()));
    image = FileExists(path) ? gdiplus::Bitmap::FromFile(path) : nullptr;
    if (!image) throw KivError("background image not found: " + path);
    // Bitmaps stop at 32767 pixels a side, so the size fits the fields.
    layer.Width = static_cast<int16_t>(image->Width());
    layer.Height = static_cast<int16_t>(image->Height());
    drawn = JoinParts(parts, parts.size() - 1, '|');
  } else {
    image = TransparentImage(layer.Width, layer.Height);
  }
  if (layer.FontColor == 0 && !background) ClearForBlackText(*image);

  const TextLook look = TextLook::Of(layer);
  if (!background && layer.Has(TextResize)) {
    const gdiplus::SizeF size = MeasureLayerText(drawn, look);
    if (layer.Width < size.width || layer.Height < size.height) {
      image = TransparentImage(RoundHalfEven(size.width) + 1, RoundHalfEven(size.height) + 1);
      if (layer.FontColor == 0) ClearForBlackText(*image);
    }
  }
  DrawLayerText(*image, drawn, look);
  return image;
}

std::unique_ptr<gdiplus::Bitmap> RenderMasked(TDeskletObject& desklet, TLayerObject& layer,
                                              const std::string& source) {
  const size_t bar = source.find('|');
  auto image = LoadSkinImage(desklet, source.substr(0, bar));
  if (!image) return nullptr;
  if (auto mask = LoadSkinImage(desklet, source.substr(bar + 1)))
    ApplyMask(*image, *mask, layer.MaskMinValue, layer.MaskValue);
  return image;
}

std::unique_ptr<gdiplus::Bitmap> RenderComposed(TDeskletObject& desklet, const std::string& source) {
  const std::vector<std::string> parts = Split(source, '>', {.clearFirst = true, .skipEmpty = true});
  if (parts.size() < 3) return nullptr;
  std::vector<std::unique_ptr<gdiplus::Bitmap>> images;
  for (size_t i = 0; i + 1 < parts.size(); ++i)
    if (auto image = LoadSkinImage(desklet, parts[i])) images.push_back(std::move(image));
  return ComposeImages(images, parts.back() == "V");
}

// `alive` is the parent layer's: a child's script may delete the parent,
// and with it the child.
void DrawChild(TDeskletObject& desklet, const std::weak_ptr<const char>& alive, TChildLayer& child,
               gdiplus::Graphics& target) {
  std::string source = ApplyScriptSource(desklet, child.Src);
  if (alive.expired()) return;
  source = ApplyXmlSource(desklet, source);
  std::unique_ptr<gdiplus::Bitmap> image;
  const size_t marker = source.find(kTextMarker);
  if (marker != std::string::npos) {
    const std::vector<std::string> parts =
        Split(source.substr(marker + kTextMarker.size()), '|', {.clearFirst = true, .skipEmpty = true});
    if (parts.size() >= 2) {
      image = LoadSkinImage(desklet, parts[1], false);
      if (image) {
        child.Width = static_cast<int16_t>(image->Width());
        child.Height = static_cast<int16_t>(image->Height());
      }
    }
    const bool background = image != nullptr;
    if (!image) image = TransparentImage(child.Width, child.Height);
    if (child.FontColor == 0 && !background) ClearForBlackText(*image);
    DrawLayerText(*image, parts.empty() ? "" : parts[0], TextLook::Of(child));
  } else {
    if (kiv::StartsWith(source, kWebImageMarker)) source = FetchRemoteImage(desklet, source);
    image = LoadSkinImage(desklet, source);
    if (!image) return;
  }
  const float width = static_cast<float>(child.Width >= 1 ? child.Width : image->Width());
  const float height = static_cast<float>(child.Height >= 1 ? child.Height : image->Height());
  target.SetInterpolationMode(gdiplus::InterpolationMode::HighQualityBicubic);
  target.DrawImage(*image, child.X, child.Y, width, height);
}

}  // namespace

std::unique_ptr<gdiplus::Bitmap> TransparentImage(int32_t width, int32_t height) {
  return std::make_unique<gdiplus::Bitmap>(std::max(width, 1), std::max(height, 1));
}

std::unique_ptr<gdiplus::Bitmap> LoadSkinImage(const TDeskletObject& desklet, const std::string& name, bool addPng) {
  if (name.empty()) return nullptr;
  const std::string path = ResolveSkinFile(desklet.settings.resourcePath, addPng ? WithPng(name) : name);
  return FileExists(path) ? gdiplus::Bitmap::FromFile(path) : nullptr;
}

std::unique_ptr<gdiplus::Bitmap> RenderLayerSource(TDeskletObject& desklet, TLayerObject& layer,
                                                   const std::string& source) {
  if (source.find(kTextMarker) != std::string::npos) return RenderText(desklet, layer, source);
  if (source.find("!HITSPOT") != std::string::npos || source.find("!BLANKSPACE") != std::string::npos)
    return TransparentImage(layer.Width, layer.Height);

  std::string file = source;
  if (kiv::StartsWith(file, kWebImageMarker)) file = FetchRemoteImage(desklet, file);
  if (file.find('|') != std::string::npos) return RenderMasked(desklet, layer, file);
  if (file.find('>') != std::string::npos) return RenderComposed(desklet, file);
  if (auto image = LoadSkinImage(desklet, file)) return image;
  return TransparentImage(layer.Width, layer.Height);
}

void DrawChildLayers(TDeskletObject& desklet, TLayerObject& layer, std::unique_ptr<gdiplus::Bitmap>& image) {
  if (layer.Children.empty()) return;
  if (!image) image = TransparentImage(layer.Width, layer.Height);
  gdiplus::Graphics target(*image);
  const std::weak_ptr<const char> alive = layer.lifetime;
  for (size_t i = 0; !alive.expired() && i < layer.Children.size(); ++i)
    DrawChild(desklet, alive, layer.Children[i], target);
}

}  // namespace vorel
