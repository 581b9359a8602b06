// The host's desklet interface, exported from the kivhost program for the
// plug-in to find by name. Each function records itself in the trace and
// changes the desklet model; calls for an unknown window do nothing.
#include <cmath>
#include <cstring>
#include <memory>

#include "kivhost/loop/host.h"
#include "kivhost/render/layer_geometry.h"
#include "kivhost/trace/trace_values.h"
#include "kivhost/image/host_image.h"
#include "platform/util/utf8.h"

#define HOST_EXPORT extern "C" __attribute__((visibility("default")))

using kivhost::Host;
using kivhost::HostDesklet;
using kivhost::HostLayer;
using kivhost::json;

namespace {

// Traces one plug-in call and runs its body with the desklet (null when
// the window is unknown).
template <class Body>
auto Traced(const char* fn, HWND hwnd, json args, Body body) {
  Host& host = Host::Get();
  const uint64_t seq = host.trace.Begin(host.trace.CallerDir(), fn, hwnd, std::move(args));
  HostDesklet* desklet = host.Find(hwnd);
  if constexpr (std::is_void_v<decltype(body(desklet))>) {
    body(desklet);
    host.trace.End(seq, nullptr);
  } else {
    auto ret = body(desklet);
    host.trace.End(seq, json(ret));
    return ret;
  }
}

void RedrawIf(HostDesklet* d, BOOL32 redraw) {
  if (d && redraw) d->Redraw();
}

// Where a layer shows on its desklet, whole pixels around it.
KivRect PixelBounds(const HostLayer& layer, KivSize size) {
  const kivhost::FRect r = kivhost::LayerBounds(layer, size);
  return {static_cast<int32_t>(std::floor(r.x)), static_cast<int32_t>(std::floor(r.y)),
          static_cast<int32_t>(std::ceil(r.x + r.width)), static_cast<int32_t>(std::ceil(r.y + r.height))};
}

// The desklet's face changed where the layer was and where it is now; a
// turned layer reaches beyond its rectangle, so all of it then.
void DamageLayer(HostDesklet& d, const HostLayer& layer) {
  if (layer.rotation % 360 != 0) d.DamageAll();
  else d.Damage(PixelBounds(layer, d.Size()));
}

// Runs a layer function's body on an existing layer.
template <class Body>
void OnLayer(const char* fn, HWND hwnd, uint32_t id, BOOL32 redraw, json args, Body body) {
  Traced(fn, hwnd, std::move(args), [&](HostDesklet* d) {
    if (!d) return;
    if (HostLayer* layer = d->Layer(id)) {
      DamageLayer(*d, *layer);
      body(*layer);
      DamageLayer(*d, *layer);
      RedrawIf(d, redraw);
    }
  });
}

std::optional<kivhost::RefRect> RefRectOf(BOOL32 use, const KivRect* rect, int32_t refWidth, int32_t refHeight) {
  if (!use || !rect) return std::nullopt;
  return kivhost::RefRect{*rect, refWidth, refHeight};
}

std::string CopyWide(const char16_t* s) { return s ? kiv::Utf16ToUtf8(s) : std::string(); }

}  // namespace

HOST_EXPORT void DeskletRedraw(HWND h) {
  Traced("DeskletRedraw", h, json::array(), [](HostDesklet* d) { if (d) d->Redraw(); });
}

HOST_EXPORT void DeskletActivateExtendedDragDrop(HWND h) {
  Traced("DeskletActivateExtendedDragDrop", h, json::array(), [](HostDesklet* d) { if (d) d->extendedDragDrop = true; });
}

HOST_EXPORT void DeskletLayerReleaseCapture(HWND h) {
  Traced("DeskletLayerReleaseCapture", h, json::array(), [](HostDesklet* d) { if (d) d->ReleaseCapture(); });
}

HOST_EXPORT void DeskletLockInvalidating(HWND h) {
  Traced("DeskletLockInvalidating", h, json::array(), [](HostDesklet* d) { if (d) d->Lock(); });
}

HOST_EXPORT void DeskletUnlockInvalidating(HWND h, BOOL32 redraw) {
  Traced("DeskletUnlockInvalidating", h, json::array({kivhost::BoolJson(redraw)}), [&](HostDesklet* d) {
    if (!d) return;
    const bool last = d->Unlock();
    if (last && (redraw || d->pendingRedraw)) d->Redraw();
  });
}

HOST_EXPORT void DeskletMove(HWND h, KivRect* r, BOOL32 redraw) {
  Traced("DeskletMove", h, json::array({kivhost::RectJson(r), kivhost::BoolJson(redraw)}), [&](HostDesklet* d) {
    if (!d || !r) return;
    d->rect = *r;
    RedrawIf(d, redraw);
  });
}

HOST_EXPORT void DeskletGetPosition(HWND h, KivPoint* pos) {
  Traced("DeskletGetPosition", h, json::array(), [&](HostDesklet* d) {
    if (!d || !pos) return json(nullptr);
    *pos = {d->rect.left, d->rect.top};
    return kivhost::PointJson(pos);
  });
}

HOST_EXPORT void DeskletGetRect(HWND h, KivRect* rect) {
  Traced("DeskletGetRect", h, json::array(), [&](HostDesklet* d) {
    if (!d || !rect) return json(nullptr);
    *rect = d->rect;
    return kivhost::RectJson(rect);
  });
}

HOST_EXPORT void DeskletGetSize(HWND h, KivSize* size) {
  Traced("DeskletGetSize", h, json::array(), [&](HostDesklet* d) {
    if (!d || !size) return json(nullptr);
    *size = d->Size();
    return kivhost::SizeJson(size);
  });
}

HOST_EXPORT void DeskletSetSize(HWND h, KivSize* size) {
  Traced("DeskletSetSize", h, json::array({kivhost::SizeJson(size)}), [&](HostDesklet* d) {
    if (d && size && size->cx > 0 && size->cy > 0) d->SetSize(*size);
  });
}

HOST_EXPORT void DeskletGetLabel(HWND h, char* buffer, int32_t bufferSize) {
  Traced("DeskletGetLabel", h, json::array({bufferSize}), [&](HostDesklet* d) {
    if (!buffer || bufferSize <= 0) return json(nullptr);
    const std::string label = d ? d->label : std::string();
    // Cut at a whole UTF-8 character so the copy stays valid text.
    size_t n = std::min(label.size(), static_cast<size_t>(bufferSize - 1));
    while (n > 0 && n < label.size() && (static_cast<unsigned char>(label[n]) & 0xC0) == 0x80) --n;
    std::memcpy(buffer, label.data(), n);
    buffer[n] = '\0';
    return json(std::string(buffer));
  });
}

HOST_EXPORT void DeskletSetLabel(HWND h, const char* text) {
  Traced("DeskletSetLabel", h, json::array({kivhost::TextJson(text)}), [&](HostDesklet* d) { if (d) d->label = text ? text : ""; });
}

HOST_EXPORT void DeskletSetSubLabel(HWND h, const char* text) {
  Traced("DeskletSetSubLabel", h, json::array({kivhost::TextJson(text)}), [&](HostDesklet* d) { if (d) d->subLabel = text ? text : ""; });
}

HOST_EXPORT void DeskletSetLabelW(HWND h, const char16_t* text) {
  Traced("DeskletSetLabelW", h, json::array({kivhost::WideTextJson(text)}), [&](HostDesklet* d) { if (d) d->label = CopyWide(text); });
}

HOST_EXPORT void DeskletSetSubLabelW(HWND h, const char16_t* text) {
  Traced("DeskletSetSubLabelW", h, json::array({kivhost::WideTextJson(text)}), [&](HostDesklet* d) { if (d) d->subLabel = CopyWide(text); });
}

HOST_EXPORT void DeskletSetAlpha(HWND h, int32_t alpha) {
  Traced("DeskletSetAlpha", h, json::array({alpha}), [&](HostDesklet* d) { if (d) d->alpha = alpha; });
}

HOST_EXPORT void DeskletSetRotation(HWND h, int32_t rotation) {
  Traced("DeskletSetRotation", h, json::array({rotation}), [&](HostDesklet* d) { if (d) d->rotation = rotation; });
}

HOST_EXPORT int32_t DeskletGetAlpha(HWND h) {
  return Traced("DeskletGetAlpha", h, json::array(), [](HostDesklet* d) { return d ? d->alpha : 0; });
}

HOST_EXPORT int32_t DeskletGetRotation(HWND h) {
  return Traced("DeskletGetRotation", h, json::array(), [](HostDesklet* d) { return d ? d->rotation : 0; });
}

HOST_EXPORT void DeskletSetImageFile(HWND h, const char* file) {
  Traced("DeskletSetImageFile", h, json::array({kivhost::TextJson(file)}), [&](HostDesklet* d) {
    if (d) d->imageFile = Host::Get().ResolveImageFile(file ? file : "");
  });
}

HOST_EXPORT void DeskletSetImageSetStatus(HWND h, int32_t status) {
  Traced("DeskletSetImageSetStatus", h, json::array({status}), [&](HostDesklet* d) { if (d) d->imageSetStatus = status; });
}

HOST_EXPORT void DeskletSetCursor(HWND h, HCURSOR cursor) {
  Traced("DeskletSetCursor", h, json::array({cursor}), [&](HostDesklet* d) { if (d) d->cursor = cursor; });
}

HOST_EXPORT void DeskletInvalidateRect(HWND h, KivRect* rect, KivSize* size, BOOL32 redraw) {
  Traced("DeskletInvalidateRect", h,
         json::array({kivhost::RectJson(rect), kivhost::SizeJson(size), kivhost::BoolJson(redraw)}), [&](HostDesklet* d) {
           if (!d) return;
           if (rect) d->Invalidate(*rect);
           if (rect) d->Damage(*rect);
           else d->DamageAll();
           RedrawIf(d, redraw);
         });
}

HOST_EXPORT void DeskletAsyncSetPointer(HWND h, void* instance) {
  Traced("DeskletAsyncSetPointer", h, json::array({instance != nullptr}), [&](HostDesklet* d) { if (d) d->instance = instance; });
}

HOST_EXPORT void DeskletSetSkinInfoW(HWND h, SkinInfoRecord* info) {
  Traced("DeskletSetSkinInfoW", h, json::array({kivhost::SkinInfoJson(info)}), [&](HostDesklet* d) {
    if (!d) return;
    if (!info) {
      d->skinInfo.reset();
      return;
    }
    kivhost::SkinInfo copy;
    copy.key = CopyWide(info->key);
    copy.name = CopyWide(info->name);
    copy.author = CopyWide(info->author);
    copy.notes = CopyWide(info->notes);
    copy.index = info->index;
    copy.version = info->version;
    d->skinInfo = std::move(copy);
  });
}

HOST_EXPORT void DeskletAddPropertySheet(HWND h, HPROPSHEETPAGE page) {
  Traced("DeskletAddPropertySheet", h, json::array({page != 0}), [&](HostDesklet* d) { if (d && page) d->propertyPages.push_back(page); });
}

HOST_EXPORT void DeskletSetClosePoint(HWND h, KivPoint* point, int32_t refWidth, int32_t refHeight) {
  Traced("DeskletSetClosePoint", h, json::array({kivhost::PointJson(point), refWidth, refHeight}), [&](HostDesklet* d) {
    if (d && point) d->closePoint = {*point, refWidth, refHeight};
  });
}

HOST_EXPORT uint32_t DeskletLayerAdd(HWND h, const char* name) {
  return Traced("DeskletLayerAdd", h, json::array({kivhost::TextJson(name)}), [&](HostDesklet* d) -> uint32_t {
    return d ? d->AddLayer(name ? name : "") : 0;
  });
}

HOST_EXPORT uint32_t DeskletLayerGetLayer(HWND h, const char* name, BOOL32* success) {
  Host& host = Host::Get();
  const uint64_t seq = host.trace.Begin(host.trace.CallerDir(), "DeskletLayerGetLayer", h, json::array({kivhost::TextJson(name)}));
  HostDesklet* d = host.Find(h);
  uint32_t id = 0;
  bool found = false;
  if (d && name) {
    if (auto at = d->FindLayer(name)) {
      id = *at;
      found = true;
    }
  }
  if (success) *success = ToBool32(found);
  host.trace.End(seq, {{"id", id}, {"success", found}});
  return id;
}

HOST_EXPORT void DeskletLayerRemove(HWND h, uint32_t id, BOOL32 redraw) {
  Traced("DeskletLayerRemove", h, json::array({id, kivhost::BoolJson(redraw)}), [&](HostDesklet* d) {
    if (!d) return;
    if (const HostLayer* layer = d->Layer(id)) DamageLayer(*d, *layer);
    if (d->RemoveLayer(id)) RedrawIf(d, redraw);
  });
}

HOST_EXPORT void DeskletLayerSetAlpha(HWND h, uint32_t id, BOOL32 redraw, int32_t alpha) {
  OnLayer("DeskletLayerSetAlpha", h, id, redraw, json::array({id, kivhost::BoolJson(redraw), alpha}),
          [&](HostLayer& l) { l.alpha = alpha; });
}

HOST_EXPORT void DeskletLayerSetRotation(HWND h, uint32_t id, BOOL32 redraw, int32_t rotation) {
  OnLayer("DeskletLayerSetRotation", h, id, redraw, json::array({id, kivhost::BoolJson(redraw), rotation}),
          [&](HostLayer& l) { l.rotation = rotation; });
}

HOST_EXPORT void DeskletLayerSetSaturation(HWND h, uint32_t id, BOOL32 redraw, int32_t saturation) {
  OnLayer("DeskletLayerSetSaturation", h, id, redraw, json::array({id, kivhost::BoolJson(redraw), saturation}),
          [&](HostLayer& l) { l.saturation = saturation; });
}

HOST_EXPORT void DeskletLayerSetVisibility(HWND h, uint32_t id, BOOL32 redraw, BOOL32 visible) {
  OnLayer("DeskletLayerSetVisibility", h, id, redraw,
          json::array({id, kivhost::BoolJson(redraw), kivhost::BoolJson(visible)}),
          [&](HostLayer& l) { l.visible = visible != 0; });
}

HOST_EXPORT void DeskletLayerSetImage(HWND h, uint32_t id, BOOL32 redraw, KivHandle image, BOOL32 autoDelete) {
  Traced("DeskletLayerSetImage", h,
         // NOTE: describing the picture hashes all its pixels; only a trace
         // that is written needs it.
         json::array({id, kivhost::BoolJson(redraw),
                      Host::Get().trace.Enabled() ? kivhost::ImageHandleJson(image) : json(nullptr),
                      kivhost::BoolJson(autoDelete)}),
         [&](HostDesklet* d) {
           const auto* picture = kivimg::ImageFromHandle(image);
           HostLayer* layer = d ? d->Layer(id) : nullptr;
           if (!layer) {
             // The host was handed the image to own; with nowhere to put it,
             // it is released at once.
             if (autoDelete && picture) KivImageRelease(image);
             return;
           }
           DamageLayer(*d, *layer);
           layer->image = picture ? std::make_shared<kivhost::LayerImage>(picture->surface, autoDelete ? image : 0)
                                  : nullptr;
           DamageLayer(*d, *layer);
           RedrawIf(d, redraw);
         });
}

HOST_EXPORT void DeskletLayerSetPlacement(HWND h, uint32_t id, BOOL32 redraw, BOOL32 use, KivRect* rect, int32_t refWidth,
                                          int32_t refHeight) {
  OnLayer("DeskletLayerSetPlacement", h, id, redraw,
          json::array({id, kivhost::BoolJson(redraw), kivhost::BoolJson(use), kivhost::RectJson(rect), refWidth, refHeight}),
          [&](HostLayer& l) { l.placement = RefRectOf(use, rect, refWidth, refHeight); });
}

HOST_EXPORT void DeskletLayerSetImageClipRect(HWND h, uint32_t id, BOOL32 redraw, BOOL32 use, KivRect* rect,
                                              int32_t refWidth, int32_t refHeight) {
  OnLayer("DeskletLayerSetImageClipRect", h, id, redraw,
          json::array({id, kivhost::BoolJson(redraw), kivhost::BoolJson(use), kivhost::RectJson(rect), refWidth, refHeight}),
          [&](HostLayer& l) { l.clip = RefRectOf(use, rect, refWidth, refHeight); });
}

HOST_EXPORT void DeskletLayerSetIsClickThrough(HWND h, uint32_t id, BOOL32 clickThrough) {
  OnLayer("DeskletLayerSetIsClickThrough", h, id, kFalse, json::array({id, kivhost::BoolJson(clickThrough)}),
          [&](HostLayer& l) { l.clickThrough = clickThrough != 0; });
}

HOST_EXPORT void DeskletLayerSetNoAlphaBlendedHitTesting(HWND h, uint32_t id, BOOL32 noAlpha) {
  OnLayer("DeskletLayerSetNoAlphaBlendedHitTesting", h, id, kFalse, json::array({id, kivhost::BoolJson(noAlpha)}),
          [&](HostLayer& l) { l.fullHitTest = noAlpha != 0; });
}

HOST_EXPORT void DeskletLayerSetCapture(HWND h, uint32_t id) {
  Traced("DeskletLayerSetCapture", h, json::array({id}), [&](HostDesklet* d) {
    if (d && d->Layer(id)) d->Capture(id);
  });
}
