// Stable descriptions of pictures for traces, state dumps and tests: the
// size and the SHA-256 of the straight-alpha RGBA pixels row by row, so the
// same picture gives the same digest whatever its stride or premultiplied
// storage.
#pragma once

#include <cairo.h>

#include <string>

namespace kivlib {

std::string SurfaceSha256(cairo_surface_t* surface);
// {"width":W,"height":H,"sha256":"..."} as JSON text; "null" for none.
std::string SurfaceJson(cairo_surface_t* surface);

}  // namespace kivlib
