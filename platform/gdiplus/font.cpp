// Font families and fonts as Pango font descriptions.
#include "platform/gdiplus/font.h"

#include <pango/pangocairo.h>

#include <cmath>

#include "platform/util/text.h"

namespace gdiplus {

namespace {

// NOTE: Pango's default family alias; fontconfig maps it to the configured
// default sans.
constexpr const char* kDefaultFamily = "sans-serif";

PangoFontDescription* Describe(const std::string& family, float size, int style) {
  PangoFontDescription* description = pango_font_description_new();
  pango_font_description_set_family(description, family.c_str());
  pango_font_description_set_absolute_size(description, static_cast<double>(size) * PANGO_SCALE);
  pango_font_description_set_weight(description, (style & FontStyleBold) ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_style(description, (style & FontStyleItalic) ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  return description;
}

}  // namespace

FontFamily::FontFamily(std::string name) : name_(kiv::Trim(name)) {
  // NOTE: Pango reads "," in a family as a list separator; a skin's font name
  // is one family.
  for (char& c : name_) {
    if (c == ',') c = ' ';
  }
  name_ = kiv::Trim(name_);
  if (name_.empty()) name_ = kDefaultFamily;
}

std::string FontFamily::ResolvedName() const {
  PangoFontMap* map = pango_cairo_font_map_get_default();
  PangoContext* context = pango_font_map_create_context(map);
  PangoFontDescription* description = Describe(name_, 12, FontStyleRegular);
  std::string resolved;
  if (PangoFont* font = pango_font_map_load_font(map, context, description)) {
    PangoFontDescription* actual = pango_font_describe(font);
    if (const char* family = pango_font_description_get_family(actual)) resolved = family;
    pango_font_description_free(actual);
    g_object_unref(font);
  }
  pango_font_description_free(description);
  g_object_unref(context);
  return resolved;
}

Font::Font(const FontFamily& family, float sizeInPixels, int style)
    : family_(family),
      size_(sizeInPixels),
      style_(style & kFontStyleMask),
      valid_(std::isfinite(sizeInPixels) && sizeInPixels > 0 && sizeInPixels <= 32767),
      description_(Describe(family_.Name(), valid_ ? sizeInPixels : 1, style_)) {}

Font::Font(const Font& other)
    : family_(other.family_),
      size_(other.size_),
      style_(other.style_),
      valid_(other.valid_),
      description_(pango_font_description_copy(other.description_.get())) {}

Font& Font::operator=(const Font& other) {
  if (this != &other) {
    Font copy(other);
    *this = std::move(copy);
  }
  return *this;
}

Font::~Font() = default;

}  // namespace gdiplus
