// Compositing a desklet with cairo: its own picture stretched over the
// whole desklet, then every visible layer in order: its placement scaled to
// the desklet's size, its clip rectangle choosing the part of its picture,
// its saturation, its alpha and its rotation about its centre.
#pragma once

#include <cairo.h>

#include "kivhost/model/desklet.h"

namespace kivhost {

// Draws onto `cr`, whose origin is the desklet's top left corner.
void CompositeDesklet(cairo_t* cr, const HostDesklet& desklet, cairo_surface_t* deskletImage);

// Draws onto `cr` the part of the desklet that takes the pointer, opaque:
// its own picture and, by the rules of hit testing, every visible layer
// that is not click-through, where its picture is not fully transparent
// (over its whole rectangle for a layer hit-tested without alpha).
void CompositeHitMask(cairo_t* cr, const HostDesklet& desklet, cairo_surface_t* deskletImage);

// A new ARGB surface of the desklet's size holding its composite.
cairo_surface_t* RenderDesklet(const HostDesklet& desklet, cairo_surface_t* deskletImage);

// The luminance that saturation keeps: Rec. 601 luma weights on straight
// (not premultiplied) 0..255 channels.
constexpr double SaturationLuma(double r, double g, double b) { return 0.299 * r + 0.587 * g + 0.114 * b; }

// A copy of `source` with colour saturation applied: each pixel's chroma is
// scaled about its luminance by saturation / 100, so 0 is grey, 100 leaves
// the picture and above 100 makes it more vivid (a highlight asks for 300),
// each channel clamped to 0..255. Premultiplied pixels are un-premultiplied
// for this and premultiplied again; the alpha never changes.
cairo_surface_t* ApplySaturation(cairo_surface_t* source, int saturation);

}  // namespace kivhost
