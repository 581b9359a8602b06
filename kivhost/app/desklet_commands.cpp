// The host functions that reach beyond one desklet's model: the host's
// default menu and its commands, and flipping between sides with its
// completion callback.
#include <cairo.h>

#include <functional>
#include <vector>

#include "kivhost/loop/host.h"
#include "kivhost/render/compositor.h"
#include "kivhost/loop/session.h"
#include "kivhost/trace/trace_values.h"

#define HOST_EXPORT extern "C" __attribute__((visibility("default")))

using kivhost::Host;
using kivhost::json;

namespace {

json LayerList(const uint32_t* ids, int32_t count) {
  json out = json::array();
  for (int32_t i = 0; ids && i < count; ++i) out.push_back(ids[i]);
  return out;
}

json FlipJson(const FlipParams* p) {
  if (!p) return nullptr;
  return {{"useLayers", p->useLayers != 0},
          {"oldSize", kivhost::SizeJson(p->oldSize)},
          {"oldLayers", LayerList(p->oldLayers, p->oldLayerCount)},
          {"newSize", kivhost::SizeJson(p->newSize)},
          {"newLayers", LayerList(p->newLayers, p->newLayerCount)},
          {"direction", p->direction},
          {"callback", p->callback != nullptr}};
}

}  // namespace

HOST_EXPORT HMENU DeskletGetDefaultMenu(HWND h, int32_t firstCommand) {
  Host& host = Host::Get();
  const uint64_t seq = host.trace.Begin("plugin>host", "DeskletGetDefaultMenu", h, json::array({firstCommand}));
  HMENU menu = 0;
  if (auto* session = kivhost::Session::Current()) menu = session->BuildDefaultMenu(h, firstCommand);
  host.trace.End(seq, menu);
  return menu;
}

HOST_EXPORT void DeskletDoDefaultMenuCommand(HWND h, int32_t firstCommand, int32_t command) {
  Host& host = Host::Get();
  const uint64_t seq =
      host.trace.Begin("plugin>host", "DeskletDoDefaultMenuCommand", h, json::array({firstCommand, command}));
  if (auto* session = kivhost::Session::Current()) session->RunDefaultCommand(h, command - firstCommand);
  host.trace.End(seq, nullptr);
}

// The desklet's picture as it is now, for a front end that shows the turn
// from it; null when no front end animates flips.
static cairo_surface_t* PictureBeforeFlip(Host& host, kivhost::HostDesklet& d) {
  if (!host.Animator()) return nullptr;
  const KivSize size = d.Size();
  if (size.cx <= 0 || size.cy <= 0) return nullptr;
  cairo_surface_t* picture = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size.cx, size.cy);
  cairo_t* cr = cairo_create(picture);
  kivhost::CompositeDesklet(cr, d, host.DeskletImage(d));
  cairo_destroy(cr);
  return picture;
}

HOST_EXPORT void DeskletFlip(HWND h, FlipParams* params) {
  Host& host = Host::Get();
  const uint64_t seq = host.trace.Begin("plugin>host", "DeskletFlip", h, json::array({FlipJson(params)}));
  kivhost::HostDesklet* d = host.Find(h);
  if (d) d->DamageAll();
  if (d && params) {
    cairo_surface_t* before = PictureBeforeFlip(host, *d);
    if (params->useLayers) {
      for (int32_t i = 0; params->oldLayers && i < params->oldLayerCount; ++i)
        if (auto* l = d->Layer(params->oldLayers[i])) l->visible = false;
      for (int32_t i = 0; params->newLayers && i < params->newLayerCount; ++i)
        if (auto* l = d->Layer(params->newLayers[i])) l->visible = true;
    }
    if (params->newSize && params->newSize->cx > 0 && params->newSize->cy > 0) d->SetSize(*params->newSize);
    d->Redraw();
    // The completion comes later from the loop, never inside DeskletFlip,
    // and only while the window still exists: after the turn a front end
    // shows, or at once.
    std::function<void()> complete = [] {};
    if (params->callback) {
      KivFlipCallback callback = params->callback;
      void* data = params->callbackData;
      complete = [h, callback, data] {
        Host::Get().queue.PostTask([h, callback, data] {
          Host& host = Host::Get();
          if (!host.IsWindow(h)) return;
          const uint64_t s = host.trace.Begin("host>plugin", "FlipCallback", h, json::array());
          callback(data);
          host.trace.End(s, nullptr);
        });
      };
    }
    const bool animated = before != nullptr && host.Animator()(h, before, complete);
    if (before) cairo_surface_destroy(before);
    if (!animated) complete();
  }
  host.trace.End(seq, nullptr);
}
