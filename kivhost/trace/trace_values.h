// How values of the host interface appear in the trace and the state
// dump: rectangles, sizes and points as objects with named fields, texts
// as UTF-8 (null for a null pointer), images by size and digest.
#pragma once

#include <cairo.h>

#include <nlohmann/json.hpp>

#include "platform/abi/desklet_api.h"

namespace kivhost {

using nlohmann::json;

json RectJson(const KivRect* r);
json SizeJson(const KivSize* s);
json PointJson(const KivPoint* p);
json TextJson(const char* s);
json WideTextJson(const char16_t* s);
json BoolJson(BOOL32 b);
// A picture as {"width","height","sha256"}; null for none.
json SurfaceJson(cairo_surface_t* surface);
// An image handle of the image library, as its picture; null for 0.
json ImageHandleJson(KivHandle image);
json SkinInfoJson(const SkinInfoRecord* info);

}  // namespace kivhost
