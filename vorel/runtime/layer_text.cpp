#include "vorel/runtime/layer_text.h"

#include "platform/gdiplus/brush.h"
#include "platform/gdiplus/font.h"
#include "platform/gdiplus/graphics.h"
#include "platform/gdiplus/graphics_path.h"
#include "platform/gdiplus/pixel.h"
#include "platform/gdiplus/string_format.h"
#include "vorel/skin/color_names.h"
#include "vorel/skin/layer_attributes.h"
#include "vorel/model/layer_record.h"
#include "vorel/util/errors.h"

namespace vorel {

TextLook TextLook::Of(const TLayerObject& layer) {
  return {layer.FontName, layer.FontColor, layer.FontSize, layer.FontStyle, layer.FontAlign,
          layer.OffSetX,  layer.OffSetY,   layer.Height};
}

TextLook TextLook::Of(const TChildLayer& child) {
  return {child.FontName, child.FontColor, child.FontSize, child.FontStyle, child.FontAlign,
          child.OffSetX,  child.OffSetY,   child.Height};
}

gdiplus::ARGB OpaqueColor(uint32_t colorRef) {
  const bool system = (colorRef & kSystemColorFlag) == kSystemColorFlag;
  if ((colorRef & 0x80000000u) != 0 && !system) throw KivError(errors::kRangeCheck);
  const uint32_t rgb = ColorToRgb(colorRef);
  return gdiplus::MakeArgb(255, rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

namespace {

gdiplus::Font FontOf(const TextLook& look) {
  return gdiplus::Font(gdiplus::FontFamily(look.fontName), static_cast<float>(look.fontSize),
                       look.fontStyle & gdiplus::kFontStyleMask);
}

}  // namespace

gdiplus::SizeF MeasureLayerText(const std::string& text, const TextLook& look) {
  gdiplus::Bitmap scratch(1, 1);
  gdiplus::Graphics g(scratch);
  return g.MeasureString(text, FontOf(look));
}

void DrawLayerText(gdiplus::Bitmap& image, const std::string& text, const TextLook& look) {
  const gdiplus::SolidBrush brush(OpaqueColor(look.fontColor));
  int32_t top = 0;
  if (look.fontAlign & AlignMiddle)
    top = look.height / 2 - look.fontSize / 2;
  else if (look.fontAlign & AlignBottom)
    top = look.height - look.fontSize;
  const gdiplus::RectF layout{static_cast<float>(look.offsetX), static_cast<float>(top + look.offsetY),
                              static_cast<float>(image.Width()), static_cast<float>(image.Height())};
  gdiplus::StringFormat format;
  if (look.fontAlign & AlignRight)
    format.SetAlignment(gdiplus::StringAlignment::Far);
  else if (look.fontAlign & AlignCenter)
    format.SetAlignment(gdiplus::StringAlignment::Center);

  gdiplus::Graphics g(image);
  const int style = look.fontStyle & gdiplus::kFontStyleMask;
  if ((look.fontStyle & StyleAntiAlias) == 0) {
    g.DrawString(text, FontOf(look), layout, format, brush);
    return;
  }
  g.SetSmoothingMode(gdiplus::SmoothingMode::AntiAlias);
  g.SetInterpolationMode(gdiplus::InterpolationMode::HighQualityBicubic);
  gdiplus::GraphicsPath path;
  path.AddString(text, gdiplus::FontFamily(look.fontName), style, static_cast<float>(look.fontSize), layout, format);
  g.FillPath(brush, path);
}

}  // namespace vorel
