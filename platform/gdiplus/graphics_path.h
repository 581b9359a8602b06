// gdiplus::GraphicsPath: outlines to fill later with Graphics::FillPath.
// AddString turns text into glyph outlines, laid out exactly as DrawString
// lays it out, which is how antialiased text is drawn.
#pragma once

#include <cairo.h>

#include <memory>
#include <string_view>
#include <vector>

#include "platform/gdiplus/font.h"
#include "platform/gdiplus/string_format.h"
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

  // Appends every outline to cr's current path.
  void AppendTo(cairo_t* cr) const;

 private:
  struct PathFree {
    void operator()(cairo_path_t* p) const { cairo_path_destroy(p); }
  };

  FillMode fillMode_;
  std::vector<std::unique_ptr<cairo_path_t, PathFree>> parts_;
};

}  // namespace gdiplus
