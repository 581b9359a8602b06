// The bare Pango work a text layer stands on, for benchmarks to time beside
// the layer: one layout on a fresh surface, outlined and filled (the
// antialiased path), with nothing else around it.
#pragma once

#include <benchmark/benchmark.h>
#include <cairo.h>
#include <pango/pangocairo.h>

namespace bench {

inline void DrawBarePangoText(const char* text, int width, int height, int pixels, double top = 0) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cairo_t* cr = cairo_create(s);
  PangoLayout* layout = pango_cairo_create_layout(cr);
  PangoFontDescription* font = pango_font_description_from_string("Arial");
  pango_font_description_set_absolute_size(font, pixels * PANGO_SCALE);
  pango_layout_set_font_description(layout, font);
  pango_layout_set_width(layout, width * PANGO_SCALE);
  pango_layout_set_alignment(layout, PANGO_ALIGN_CENTER);
  pango_layout_set_text(layout, text, -1);
  cairo_move_to(cr, 0, top);
  cairo_set_source_rgb(cr, 1, 1, 1);
  pango_cairo_layout_path(cr, layout);
  cairo_fill(cr);
  cairo_surface_flush(s);
  benchmark::DoNotOptimize(cairo_image_surface_get_data(s));
  pango_font_description_free(font);
  g_object_unref(layout);
  cairo_destroy(cr);
  cairo_surface_destroy(s);
}

}  // namespace bench
