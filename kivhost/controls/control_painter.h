// Drawing the controls: each kind paints itself into a cairo context the
// size of its drawing (see control_geometry.h). PaintControl makes that
// image; the per-kind painters live in paint_*.cpp.
#pragma once

#include <string>

#include "kivhost/controls/control_store.h"
#include "kivhost/controls/control_geometry.h"
#include "kivhost/controls/graphics.h"

namespace kivcontrols {

// The control's look as a new ARGB32 image of width x height; null when
// the size is not one an image can have. `resourceFolder` is where image
// buttons find their pictures.
SurfacePtr PaintControl(Control& c, int width, int height, const std::string& resourceFolder);

void PaintTextField(cairo_t* cr, Control& c);
void PaintEditBox(cairo_t* cr, Control& c);
void PaintDropDown(cairo_t* cr, Control& c);
void PaintScrollBar(cairo_t* cr, const Control& c);
void PaintImageButton(cairo_t* cr, Control& c, const std::string& resourceFolder);
void PaintLabel(cairo_t* cr, const Control& c);

// The name an image button finds its pictures by: its text, or its name
// when the text is empty.
std::string ButtonBaseName(const Control& c);

// Shared strokes.
void FrameRect(cairo_t* cr, double x, double y, double w, double h, uint32_t colour);
void FillRect(cairo_t* cr, double x, double y, double w, double h, uint32_t colour);
// A filled triangle pointing up or down, centred on (cx, cy).
void Arrow(cairo_t* cr, double cx, double cy, double size, bool up, uint32_t colour);
// A raised (or, pressed, sunken) button face.
void Bevel(cairo_t* cr, double x, double y, double w, double h, bool pressed);

}  // namespace kivcontrols
