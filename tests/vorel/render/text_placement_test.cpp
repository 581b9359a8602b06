// Where a text layer's ink lands, judged against Pango itself: the same
// text, font, size and alignment laid out by pango-cairo straight onto a
// plain cairo surface, with none of our drawing code in between.
#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>

#include "platform/gdiplus/bitmap.h"
#include "tests/vorel/render/render_fixture.h"
#include "vorel/runtime/layer_source.h"
#include "vorel/skin/layer_attributes.h"

namespace rendertest {
namespace {

constexpr int kWidth = 300;
constexpr int kHeight = 20;
constexpr int kFontSize = 14;
constexpr const char* kText = "a desklet in one skin file";

// Bounding box (right and bottom exclusive) and summed alpha of the pixels
// whose alpha is above a threshold, read from premultiplied ARGB32 rows.
struct Ink {
  int left = kWidth, top = kHeight, right = 0, bottom = 0;
  int64_t alphaSum = 0;
  bool Empty() const { return right <= left; }
};

Ink InkOfRows(const unsigned char* data, int stride, int width, int height) {
  Ink ink;
  for (int y = 0; y < height; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
    for (int x = 0; x < width; ++x) {
      const uint32_t a = row[x] >> 24;
      ink.alphaSum += a;
      if (a <= 64) continue;
      ink.left = std::min(ink.left, x);
      ink.top = std::min(ink.top, y);
      ink.right = std::max(ink.right, x + 1);
      ink.bottom = std::max(ink.bottom, y + 1);
    }
  }
  return ink;
}

Ink InkOf(const gdiplus::Bitmap& image) {
  cairo_surface_flush(image.Surface());
  return InkOfRows(cairo_image_surface_get_data(image.Surface()), image.Stride(), image.Width(), image.Height());
}

// pango-cairo on its own: a layout as wide as the layer, aligned by Pango,
// drawn from the surface's top-left corner.
Ink BarePangoInk(PangoAlignment alignment, bool underline) {
  using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;
  using Context = std::unique_ptr<cairo_t, decltype(&cairo_destroy)>;
  Surface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, kHeight), cairo_surface_destroy);
  Context cr(cairo_create(surface.get()), cairo_destroy);
  // Layers lay text out with unhinted metrics at unrounded positions, so
  // that it scales evenly with the font size; Pango is asked for the same,
  // or the text would differ in width before any drawing code is involved.
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(cr.get(), options);
  cairo_font_options_destroy(options);
  PangoLayout* layout = pango_cairo_create_layout(cr.get());
  pango_context_set_round_glyph_positions(pango_layout_get_context(layout), FALSE);
  PangoFontDescription* font = pango_font_description_new();
  pango_font_description_set_family(font, "Arial");
  pango_font_description_set_absolute_size(font, kFontSize * PANGO_SCALE);
  pango_layout_set_font_description(layout, font);
  pango_font_description_free(font);
  pango_layout_set_text(layout, kText, -1);
  pango_layout_set_width(layout, kWidth * PANGO_SCALE);
  pango_layout_set_alignment(layout, alignment);
  if (underline) {
    PangoAttrList* attributes = pango_attr_list_new();
    pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    pango_layout_set_attributes(layout, attributes);
    pango_attr_list_unref(attributes);
  }
  cairo_set_source_rgb(cr.get(), 1, 1, 1);
  cairo_move_to(cr.get(), 0, 0);
  pango_cairo_show_layout(cr.get(), layout);
  g_object_unref(layout);
  cairo_surface_flush(surface.get());
  return InkOfRows(cairo_image_surface_get_data(surface.get()), cairo_image_surface_get_stride(surface.get()), kWidth,
                   kHeight);
}

struct PlacementCase {
  uint8_t align;
  PangoAlignment pango;
  uint8_t style;
};

std::string Describe(const PlacementCase& c) {
  std::string name = c.align & vorel::AlignRight ? "Right" : c.align & vorel::AlignCenter ? "Centre" : "Left";
  if (c.style & vorel::StyleUnderline) name += "Underlined";
  name += c.style & vorel::StyleAntiAlias ? "Outlines" : "Plain";
  return name;
}

void PrintTo(const PlacementCase& c, std::ostream* os) { *os << Describe(c); }

class TextPlacementTest : public DeskletFixture, public ::testing::WithParamInterface<PlacementCase> {};

TEST_P(TextPlacementTest, InkLandsWhereBarePangoPutsIt) {
  const PlacementCase& c = GetParam();
  vorel::TLayerObject layer;
  layer.Width = kWidth;
  layer.Height = kHeight;
  layer.FontName = "Arial";
  layer.FontSize = kFontSize;
  layer.FontColor = 0xFFFFFF;
  layer.FontStyle = c.style;
  layer.FontAlign = static_cast<uint8_t>(c.align | vorel::AlignTop);
  const auto image = vorel::RenderLayerSource(D(), layer, std::string("!TXT:") + kText);
  ASSERT_NE(image, nullptr);
  ASSERT_EQ(image->Width(), kWidth);

  const Ink got = InkOf(*image);
  const Ink want = BarePangoInk(c.pango, (c.style & vorel::StyleUnderline) != 0);
  ASSERT_FALSE(want.Empty());
  ASSERT_FALSE(got.Empty()) << "no text drawn";
  EXPECT_NEAR(got.left, want.left, 1);
  EXPECT_NEAR(got.right, want.right, 1);
  EXPECT_NEAR(got.top, want.top, 1);
  EXPECT_NEAR(got.bottom, want.bottom, 1);
  // The whole text: as much ink as Pango lays down, give or take the
  // difference between filling outlines and rasterising glyphs.
  EXPECT_NEAR(static_cast<double>(got.alphaSum) / static_cast<double>(want.alphaSum), 1.0, 0.05);
}

INSTANTIATE_TEST_SUITE_P(
    Alignments, TextPlacementTest,
    ::testing::Values(PlacementCase{vorel::AlignLeft, PANGO_ALIGN_LEFT, vorel::StyleAntiAlias},
                      PlacementCase{vorel::AlignCenter, PANGO_ALIGN_CENTER, vorel::StyleAntiAlias},
                      PlacementCase{vorel::AlignRight, PANGO_ALIGN_RIGHT, vorel::StyleAntiAlias},
                      PlacementCase{vorel::AlignLeft, PANGO_ALIGN_LEFT, vorel::StyleAntiAlias | vorel::StyleUnderline},
                      PlacementCase{vorel::AlignCenter, PANGO_ALIGN_CENTER,
                                    vorel::StyleAntiAlias | vorel::StyleUnderline},
                      PlacementCase{vorel::AlignRight, PANGO_ALIGN_RIGHT,
                                    vorel::StyleAntiAlias | vorel::StyleUnderline},
                      PlacementCase{vorel::AlignCenter, PANGO_ALIGN_CENTER, 0},
                      PlacementCase{vorel::AlignRight, PANGO_ALIGN_RIGHT, vorel::StyleUnderline}),
    [](const ::testing::TestParamInfo<PlacementCase>& info) { return Describe(info.param); });

}  // namespace
}  // namespace rendertest
