#include "kivhost/controls/text_layout.h"

#include <algorithm>

#include "kivhost/controls/control_store.h"
#include "platform/util/utf8.h"

namespace kivcontrols {
namespace {

constexpr double kPointsToPixels = 96.0 / 72.0;
constexpr double kDefaultPoints = 9;
constexpr char kBullet[] = "\u25CF";

// The font map's context, one per layout: layouts live only as long as one
// drawing or one mouse event.
PangoContextPtr NewContext() {
  PangoContextPtr context(pango_font_map_create_context(pango_cairo_font_map_get_default()));
  pango_cairo_context_set_resolution(context.get(), 96);
  return context;
}

}  // namespace

TextStyle StyleOf(const Control& c) {
  TextStyle style;
  style.face = c.fontName;
  double points = c.fontSize > 0 ? c.fontSize : kDefaultPoints;
  if (c.fontSize <= 0 && (c.kind == ControlKind::TextField || c.kind == ControlKind::EditBox)) points *= 2;
  style.pixels = std::clamp(points * kPointsToPixels, 1.0, 1000.0);
  style.style = c.fontStyle;
  return style;
}

TextLayout::TextLayout(const TextStyle& style, const std::u16string& text, bool password, double wrapWidth,
                       bool singleLine)
    : context_(NewContext()), layout_(pango_layout_new(context_.get())) {
  byteAt_.reserve(text.size() + 1);
  for (size_t i = 0; i < text.size(); ++i) {
    byteAt_.push_back(static_cast<int>(shown_.size()));
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      byteAt_.push_back(static_cast<int>(shown_.size()));
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    if (password) shown_ += kBullet;
    else if (singleLine && (c == u'\r' || c == u'\n')) shown_ += ' ';
    else kiv::AppendUtf8(shown_, c);
  }
  byteAt_.push_back(static_cast<int>(shown_.size()));

  FontPtr font(pango_font_description_new());
  pango_font_description_set_family(font.get(), style.face.empty() ? "Sans" : style.face.c_str());
  pango_font_description_set_absolute_size(font.get(), style.pixels * PANGO_SCALE);
  if (style.style & 1) pango_font_description_set_weight(font.get(), PANGO_WEIGHT_BOLD);
  if (style.style & 2) pango_font_description_set_style(font.get(), PANGO_STYLE_ITALIC);
  pango_layout_set_font_description(layout_.get(), font.get());
  if (style.style & (4 | 8)) {
    PangoAttrList* attrs = pango_attr_list_new();
    if (style.style & 4) pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    if (style.style & 8) pango_attr_list_insert(attrs, pango_attr_strikethrough_new(TRUE));
    pango_layout_set_attributes(layout_.get(), attrs);
    pango_attr_list_unref(attrs);
  }
  if (wrapWidth > 0) {
    pango_layout_set_width(layout_.get(), static_cast<int>(wrapWidth * PANGO_SCALE));
    pango_layout_set_wrap(layout_.get(), PANGO_WRAP_WORD_CHAR);
  }
  pango_layout_set_single_paragraph_mode(layout_.get(), singleLine);
  pango_layout_set_text(layout_.get(), shown_.c_str(), static_cast<int>(shown_.size()));
}

int TextLayout::ByteOf(size_t pos) const { return byteAt_[std::min(pos, byteAt_.size() - 1)]; }

size_t TextLayout::PositionOf(int byte) const {
  auto it = std::lower_bound(byteAt_.begin(), byteAt_.end(), byte);
  return it == byteAt_.end() ? byteAt_.size() - 1 : static_cast<size_t>(it - byteAt_.begin());
}

TextLayout::Caret TextLayout::CaretAt(size_t pos) const {
  PangoRectangle strong;
  pango_layout_get_cursor_pos(layout_.get(), ByteOf(pos), &strong, nullptr);
  return {static_cast<double>(strong.x) / PANGO_SCALE, static_cast<double>(strong.y) / PANGO_SCALE,
          static_cast<double>(strong.height) / PANGO_SCALE};
}

size_t TextLayout::IndexAt(double x, double y) const {
  int index = 0, trailing = 0;
  pango_layout_xy_to_index(layout_.get(), static_cast<int>(x * PANGO_SCALE), static_cast<int>(y * PANGO_SCALE), &index,
                           &trailing);
  const char* at = shown_.c_str() + index;
  for (; trailing > 0 && *at; --trailing) at = g_utf8_next_char(at);
  return PositionOf(static_cast<int>(at - shown_.c_str()));
}

size_t TextLayout::IndexOnLine(int line, double x) const {
  PangoLayoutLine* l = pango_layout_get_line_readonly(layout_.get(), std::clamp(line, 0, LineCount() - 1));
  if (!l) return 0;
  int index = 0, trailing = 0;
  pango_layout_line_x_to_index(l, static_cast<int>(x * PANGO_SCALE), &index, &trailing);
  const char* at = shown_.c_str() + index;
  for (; trailing > 0 && *at; --trailing) at = g_utf8_next_char(at);
  return PositionOf(static_cast<int>(at - shown_.c_str()));
}

int TextLayout::LineOf(size_t pos) const {
  int line = 0, x = 0;
  pango_layout_index_to_line_x(layout_.get(), ByteOf(pos), FALSE, &line, &x);
  return line;
}

TextLayout::LineBox TextLayout::BoxOfLine(int line) const {
  PangoLayoutIter* iter = pango_layout_get_iter(layout_.get());
  for (int i = 0; i < line && pango_layout_iter_next_line(iter);) ++i;
  PangoRectangle logical;
  pango_layout_iter_get_line_extents(iter, nullptr, &logical);
  pango_layout_iter_free(iter);
  return {static_cast<double>(logical.x) / PANGO_SCALE, static_cast<double>(logical.y) / PANGO_SCALE,
          static_cast<double>(logical.width) / PANGO_SCALE, static_cast<double>(logical.height) / PANGO_SCALE};
}

int TextLayout::LineCount() const { return std::max(1, pango_layout_get_line_count(layout_.get())); }

double TextLayout::LineHeight() const { return Height() / LineCount(); }

double TextLayout::Width() const {
  int w = 0, h = 0;
  pango_layout_get_size(layout_.get(), &w, &h);
  return static_cast<double>(w) / PANGO_SCALE;
}

double TextLayout::Height() const {
  int w = 0, h = 0;
  pango_layout_get_size(layout_.get(), &w, &h);
  return static_cast<double>(h) / PANGO_SCALE;
}

}  // namespace kivcontrols
