// gdiplus::FontFamily and gdiplus::Font: a family named as a skin names it
// ("Arial", "Tahoma", ...) and a font of that family at a size in pixels
// with GDI+ style bits. Names resolve through fontconfig when text is laid
// out: common Windows families map to their installed metric twins, and a
// family that does not exist falls back to the default sans, never failing.
#pragma once

#include <pango/pango.h>

#include <memory>
#include <string>

#include "platform/gdiplus/types.h"

namespace gdiplus {

class FontFamily {
 public:
  // An empty or blank name means the default sans.
  explicit FontFamily(std::string name);

  // The name as given.
  const std::string& Name() const { return name_; }
  // The family fontconfig picks for this name on this machine, e.g.
  // "Liberation Sans" for "Arial".
  std::string ResolvedName() const;

 private:
  std::string name_;
};

class Font {
 public:
  // style: FontStyle bits; bits above Strikeout are ignored. A size that is
  // not a number above 0 and at most 32767 pixels makes an invalid font,
  // with which drawing and measuring do nothing (as GDI+ fails them).
  Font(const FontFamily& family, float sizeInPixels, int style = FontStyleRegular);
  Font(const Font& other);
  Font& operator=(const Font& other);
  Font(Font&&) noexcept = default;
  Font& operator=(Font&&) noexcept = default;
  ~Font();

  bool IsValid() const { return valid_; }
  const FontFamily& Family() const { return family_; }
  float Size() const { return size_; }
  int Style() const { return style_; }
  bool IsUnderline() const { return (style_ & FontStyleUnderline) != 0; }
  bool IsStrikeout() const { return (style_ & FontStyleStrikeout) != 0; }

  // Family, size, weight and slant as Pango takes them (underline and
  // strikeout are attributes of the laid-out text, not of the description).
  const PangoFontDescription* Description() const { return description_.get(); }

 private:
  struct DescriptionFree {
    void operator()(PangoFontDescription* d) const { pango_font_description_free(d); }
  };

  FontFamily family_;
  float size_;
  int style_;
  bool valid_;
  std::unique_ptr<PangoFontDescription, DescriptionFree> description_;
};

}  // namespace gdiplus
