#include "vorel/runtime/cursor_images.h"

#include <cmath>

#include "platform/gdiplus/bitmap.h"
#include "platform/gdiplus/graphics.h"

namespace vorel {

namespace {

constexpr double kPi = 3.14159265358979323846;

// The classic pointer: black outline, white inside, tip at (1, 1).
void Arrow(cairo_t* cr) {
  cairo_move_to(cr, 1, 1);
  cairo_line_to(cr, 1, 17);
  cairo_line_to(cr, 5, 13);
  cairo_line_to(cr, 8, 20);
  cairo_line_to(cr, 11, 19);
  cairo_line_to(cr, 8, 12);
  cairo_line_to(cr, 13, 12);
  cairo_close_path(cr);
}

void Ink(cairo_t* cr) {
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_fill_preserve(cr);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

void Page(cairo_t* cr, double x, double y) {
  cairo_rectangle(cr, x + 0.5, y + 0.5, 9, 7);
  Ink(cr);
}

void DoubleArrow(cairo_t* cr, bool horizontal) {
  cairo_save(cr);
  if (!horizontal) {
    cairo_translate(cr, 16, 16);
    cairo_rotate(cr, kPi / 2);
    cairo_translate(cr, -16, -16);
  }
  cairo_rectangle(cr, 14.5, 6.5, 1.5, 19);
  cairo_rectangle(cr, 17.5, 6.5, 1.5, 19);
  Ink(cr);
  // The left head, then the same head mirrored about the bars.
  for (int side = 0; side < 2; ++side) {
    cairo_save(cr);
    if (side == 1) {
      cairo_translate(cr, 33, 0);
      cairo_scale(cr, -1, 1);
    }
    cairo_move_to(cr, 4, 16);
    cairo_line_to(cr, 9, 11);
    cairo_line_to(cr, 9, 14);
    cairo_line_to(cr, 13, 14);
    cairo_line_to(cr, 13, 18);
    cairo_line_to(cr, 9, 18);
    cairo_line_to(cr, 9, 21);
    cairo_close_path(cr);
    cairo_restore(cr);
    Ink(cr);
  }
  cairo_restore(cr);
}

void Hand(cairo_t* cr) {
  // Pointing finger with the tip at (9, 1), the fist below.
  cairo_new_path(cr);
  cairo_move_to(cr, 7.5, 3);
  cairo_arc(cr, 9.5, 3, 2, kPi, 0);
  cairo_line_to(cr, 11.5, 11);
  cairo_line_to(cr, 20, 12);
  cairo_curve_to(cr, 23, 12.5, 24, 14, 24, 17);
  cairo_line_to(cr, 23, 24);
  cairo_line_to(cr, 11, 25);
  cairo_line_to(cr, 4, 17);
  cairo_curve_to(cr, 3, 15, 5, 13.5, 7.5, 15.5);
  cairo_close_path(cr);
  Ink(cr);
}

}  // namespace

CursorImage DrawLibraryCursor(LibraryCursor which) {
  gdiplus::Bitmap bitmap(32, 32);
  CursorImage image;
  {
    gdiplus::Graphics g(bitmap);
    cairo_t* cr = g.Context();
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    switch (which) {
      case LibraryCursor::Drag:
        Arrow(cr);
        Ink(cr);
        Page(cr, 12, 20);
        image.hotX = image.hotY = 1;
        break;
      case LibraryCursor::MultiDrag:
        Arrow(cr);
        Ink(cr);
        Page(cr, 14, 18);
        Page(cr, 12, 21);
        Page(cr, 10, 24);
        image.hotX = image.hotY = 1;
        break;
      case LibraryCursor::NoDrop:
        cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
        cairo_arc(cr, 16, 16, 10, 0, 2 * kPi);
        cairo_move_to(cr, 9, 9);
        cairo_line_to(cr, 23, 23);
        cairo_set_line_width(cr, 5);
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_stroke_preserve(cr);
        cairo_set_line_width(cr, 3);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_stroke(cr);
        image.hotX = image.hotY = 16;
        break;
      case LibraryCursor::HSplit:
        DoubleArrow(cr, true);
        image.hotX = image.hotY = 16;
        break;
      case LibraryCursor::VSplit:
        DoubleArrow(cr, false);
        image.hotX = image.hotY = 16;
        break;
      case LibraryCursor::SqlWait:
        Arrow(cr);
        Ink(cr);
        // A small database drum beside the pointer.
        cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
        cairo_save(cr);
        cairo_translate(cr, 21, 22);
        cairo_scale(cr, 1, 0.4);
        cairo_arc(cr, 0, 0, 7, 0, 2 * kPi);
        cairo_restore(cr);
        Ink(cr);
        cairo_rectangle(cr, 14, 22, 14, 7);
        Ink(cr);
        image.hotX = image.hotY = 1;
        break;
      case LibraryCursor::HandPoint:
        cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
        Hand(cr);
        image.hotX = 9;
        image.hotY = 1;
        break;
    }
  }
  image.argb.reserve(32 * 32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) image.argb.push_back(bitmap.GetPixel(x, y));
  return image;
}

}  // namespace vorel
