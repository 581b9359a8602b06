#include "kivhost/trace/trace_values.h"

#include <string>

#include "kivhost/common/image_digest.h"
#include "kivhost/image/host_image.h"
#include "platform/util/utf8.h"

namespace kivhost {

json RectJson(const KivRect* r) {
  if (!r) return nullptr;
  return {{"left", r->left}, {"top", r->top}, {"right", r->right}, {"bottom", r->bottom}};
}

json SizeJson(const KivSize* s) {
  if (!s) return nullptr;
  return {{"width", s->cx}, {"height", s->cy}};
}

json PointJson(const KivPoint* p) {
  if (!p) return nullptr;
  return {{"x", p->x}, {"y", p->y}};
}

json TextJson(const char* s) { return s ? json(std::string(s)) : json(nullptr); }

json WideTextJson(const char16_t* s) {
  if (!s) return nullptr;
  return kiv::Utf16ToUtf8(std::u16string(s));
}

json BoolJson(BOOL32 b) { return b != 0; }

json SurfaceJson(cairo_surface_t* surface) {
  if (!surface) return nullptr;
  return {{"width", cairo_image_surface_get_width(surface)},
          {"height", cairo_image_surface_get_height(surface)},
          {"sha256", kivlib::SurfaceSha256(surface)}};
}

json ImageHandleJson(KivHandle image) {
  if (!image) return nullptr;
  const auto* host = kivimg::ImageFromHandle(image);
  if (!host) return "unknown image";
  return SurfaceJson(host->surface);
}

json SkinInfoJson(const SkinInfoRecord* info) {
  if (!info) return nullptr;
  return {{"size", info->size},       {"key", WideTextJson(info->key)},
          {"keyLength", info->keyLength}, {"index", info->index},
          {"name", WideTextJson(info->name)}, {"nameLength", info->nameLength},
          {"author", WideTextJson(info->author)}, {"authorLength", info->authorLength},
          {"notes", WideTextJson(info->notes)}, {"notesLength", info->notesLength},
          {"version", info->version}};
}

}  // namespace kivhost
