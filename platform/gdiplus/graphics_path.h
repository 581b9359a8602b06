// gdiplus::GraphicsPath: outlines to fill later with Graphics::FillPath.
// AddString turns text into glyph outlines, laid out exactly as DrawString
// lays it out, which is how antialiased text is drawn.
#pragma once

#include <cairo.h>

#include <memory>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/gdiplus/font.h"
#include "platform/gdiplus/string_format.h"
#include "platform/gdiplus/text_layout.h"
#include "platform/gdiplus/types.h"

namespace gdiplus {

class GraphicsPath {
 public:
  explicit GraphicsPath(FillMode fillMode = FillMode::Alternate) : fillMode_(fillMode) {}

  FillMode GetFillMode() const { return fillMode_; }
  void SetFillMode(FillMode mode) { fillMode_ = mode; }

  // Adds the outlines of text in family at emSize pixels with FontStyle
  // bits (underline and strikeout included), wrapped and aligned in
  // layoutRect by format. Lines that start below the rectangle's bottom are
  // left out; an invalid size adds nothing.
  void AddString(std::string_view text, const FontFamily& family, int style, float emSize, const RectF& layoutRect,
                 const StringFormat& format);
  void AddRectangle(const RectF& rect);

  bool IsEmpty() const { return parts_.empty(); }
  void Reset() { parts_.clear(); }

  // Appends every outline to cr's current path, in cr's user space (pixels
  // on a Graphics). Glyphs ten em or more beyond cr's target may be left
  // out, as cairo does: they could not show there.
  void AppendTo(cairo_t* cr) const;

 private:
  struct PathFree {
    void operator()(cairo_path_t* p) const { cairo_path_destroy(p); }
  };
  using PathPtr = std::unique_ptr<cairo_path_t, PathFree>;

  // Text is kept laid out, not outlined: its outlines are made straight
  // into the context that fills them, which spares copying every curve of
  // every glyph twice.
  struct TextPart {
    detail::LayoutPtr layout;
    double x = 0;  // where the layout's top-left goes
    double y = 0;
    int lineCount = 0;  // the lines that start above the rectangle's bottom
  };

  static void AppendText(cairo_t* cr, const TextPart& text);

  FillMode fillMode_;
  std::vector<std::variant<PathPtr, TextPart>> parts_;
};

}  // namespace gdiplus
