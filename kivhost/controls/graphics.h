// Owning handles for the cairo and Pango objects the controls draw with,
// so that every early return releases what was made.
#pragma once

#include <cairo.h>
#include <pango/pangocairo.h>

#include <memory>

namespace kivcontrols {

struct SurfaceRelease {
  void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct CairoRelease {
  void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};
struct GObjectRelease {
  void operator()(void* object) const { g_object_unref(object); }
};
struct FontRelease {
  void operator()(PangoFontDescription* font) const { pango_font_description_free(font); }
};

using SurfacePtr = std::unique_ptr<cairo_surface_t, SurfaceRelease>;
using CairoPtr = std::unique_ptr<cairo_t, CairoRelease>;
using LayoutPtr = std::unique_ptr<PangoLayout, GObjectRelease>;
using PangoContextPtr = std::unique_ptr<PangoContext, GObjectRelease>;
using FontPtr = std::unique_ptr<PangoFontDescription, FontRelease>;

// 0xAARRGGBB as the plug-in sends colours.
inline void SetColour(cairo_t* cr, uint32_t argb) {
  cairo_set_source_rgba(cr, ((argb >> 16) & 0xFF) / 255.0, ((argb >> 8) & 0xFF) / 255.0, (argb & 0xFF) / 255.0,
                        ((argb >> 24) & 0xFF) / 255.0);
}

}  // namespace kivcontrols
