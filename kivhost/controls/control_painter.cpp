#include "kivhost/controls/control_painter.h"

#include <cmath>

namespace kivcontrols {

namespace {
// Larger than any desklet shows; a placement beyond it is a mistake of the
// plug-in, and drawing it would only waste memory.
constexpr int kMaxSide = 8192;
}  // namespace

SurfacePtr PaintControl(Control& c, int width, int height, const std::string& resourceFolder) {
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return nullptr;
  SurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
  CairoPtr cr(cairo_create(surface.get()));
  switch (c.kind) {
    case ControlKind::TextField: PaintTextField(cr.get(), c); break;
    case ControlKind::EditBox: PaintEditBox(cr.get(), c); break;
    case ControlKind::DropDown: PaintDropDown(cr.get(), c); break;
    case ControlKind::ScrollBar: PaintScrollBar(cr.get(), c); break;
    case ControlKind::ImageButton: PaintImageButton(cr.get(), c, resourceFolder); break;
    case ControlKind::Label: PaintLabel(cr.get(), c); break;
    case ControlKind::Unknown: FillRect(cr.get(), 0, 0, width, height, c.backColor); break;
  }
  cr.reset();
  cairo_surface_flush(surface.get());
  return surface;
}

void FillRect(cairo_t* cr, double x, double y, double w, double h, uint32_t colour) {
  if (w <= 0 || h <= 0) return;
  SetColour(cr, colour);
  cairo_rectangle(cr, x, y, w, h);
  cairo_fill(cr);
}

void FrameRect(cairo_t* cr, double x, double y, double w, double h, uint32_t colour) {
  if (w < 1 || h < 1) return;
  // One-unit lines on whole pixels: half a unit in from the edge.
  SetColour(cr, colour);
  cairo_set_line_width(cr, 1);
  cairo_rectangle(cr, x + 0.5, y + 0.5, w - 1, h - 1);
  cairo_stroke(cr);
}

void Arrow(cairo_t* cr, double cx, double cy, double size, bool up, uint32_t colour) {
  const double half = size / 2, dy = up ? -size / 4 : size / 4;
  SetColour(cr, colour);
  cairo_move_to(cr, cx - half, cy - dy);
  cairo_line_to(cr, cx + half, cy - dy);
  cairo_line_to(cr, cx, cy + dy);
  cairo_close_path(cr);
  cairo_fill(cr);
}

void Bevel(cairo_t* cr, double x, double y, double w, double h, bool pressed) {
  FillRect(cr, x, y, w, h, pressed ? 0xFFCCCCCC : kFaceColour);
  FrameRect(cr, x, y, w, h, 0xFF8A8A8A);
  if (w < 4 || h < 4) return;
  // A light top-left and dark bottom-right edge inside the frame, swapped
  // when pressed.
  const uint32_t light = 0xFFFFFFFF, dark = 0xFFA0A0A0;
  cairo_set_line_width(cr, 1);
  SetColour(cr, pressed ? dark : light);
  cairo_move_to(cr, x + 1.5, y + h - 2);
  cairo_line_to(cr, x + 1.5, y + 1.5);
  cairo_line_to(cr, x + w - 2, y + 1.5);
  cairo_stroke(cr);
  SetColour(cr, pressed ? light : dark);
  cairo_move_to(cr, x + w - 1.5, y + 2);
  cairo_line_to(cr, x + w - 1.5, y + h - 1.5);
  cairo_line_to(cr, x + 2, y + h - 1.5);
  cairo_stroke(cr);
}

}  // namespace kivcontrols
