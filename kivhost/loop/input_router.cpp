#include "kivhost/loop/input_router.h"

#include <cmath>

#include "kivhost/render/hit_test.h"
#include "kivhost/render/layer_geometry.h"
#include "kivhost/trace/trace_values.h"
#include "platform/win/data_object.h"

namespace kivhost {
namespace {

constexpr uint32_t kKeyDownMessage = 256;
constexpr uint32_t kKeyUpMessage = 257;
constexpr uint32_t kCharMessage = 258;

json HitArgs(uint32_t id, const std::string& name, const KivPoint& pt, const KivSize& size) {
  return json::array({id, name, PointJson(&pt), SizeJson(&size)});
}

}  // namespace

InputRouter::InputRouter(Host& host, HWND hwnd) : host_(host), hwnd_(hwnd) {}

std::optional<InputRouter::LayerHit> InputRouter::HitAt(int x, int y) const {
  HostDesklet* d = Desklet();
  if (!d) return std::nullopt;
  auto id = HitTest(*d, x + 0.5, y + 0.5);
  if (!id) return std::nullopt;
  const HostLayer& layer = *d->Layer(*id);
  const FRect bounds = LayerBounds(layer, d->Size());
  LayerHit hit{*id, layer.name, {x - static_cast<int>(std::lround(bounds.x)), y - static_cast<int>(std::lround(bounds.y))},
               {static_cast<int>(std::lround(bounds.width)), static_cast<int>(std::lround(bounds.height))}};
  return hit;
}

void InputRouter::LayerOut() {
  HostDesklet* d = Desklet();
  if (!entered_ || !d || !d->instance) {
    entered_.reset();
    return;
  }
  const uint32_t id = *entered_;
  const std::string name = enteredName_;
  entered_.reset();
  const uint64_t seq = host_.trace.Begin("host>plugin", "OnLayerMouseOut", hwnd_, json::array({id, name}));
  const BOOL32 ret = host_.Plugin()->OnLayerMouseOut(d->instance, id, name.c_str());
  host_.trace.End(seq, BoolJson(ret));
}

void InputRouter::Move(int x, int y) {
  HostDesklet* d = Desklet();
  if (!d || !d->instance) return;
  PluginLibrary& p = *host_.Plugin();
  host_.cursorPos = {d->rect.left + x, d->rect.top + y};
  if (!inside_) {
    inside_ = true;
    const uint64_t seq = host_.trace.Begin("host>plugin", "OnMouseOn", hwnd_, json::array());
    host_.trace.End(seq, BoolJson(p.OnMouseOn(d->instance)));
  }
  const uint64_t seq = host_.trace.Begin("host>plugin", "OnMouseMove", hwnd_, json::array({x, y}));
  host_.trace.End(seq, BoolJson(p.OnMouseMove(d->instance, x, y)));

  auto hit = HitAt(x, y);
  if (entered_ && (!hit || hit->id != *entered_ || hit->name != enteredName_)) LayerOut();
  d = Desklet();
  if (!hit || !d || !d->instance) return;
  const bool entering = !entered_;
  entered_ = hit->id;
  enteredName_ = hit->name;
  const char* fn = entering ? "OnLayerMouseOn" : "OnLayerMouseMove";
  const uint64_t s2 = host_.trace.Begin("host>plugin", fn, hwnd_, HitArgs(hit->id, hit->name, hit->pt, hit->size));
  const BOOL32 ret = entering ? p.OnLayerMouseOn(d->instance, hit->id, hit->name.c_str(), &hit->pt, &hit->size)
                              : p.OnLayerMouseMove(d->instance, hit->id, hit->name.c_str(), &hit->pt, &hit->size);
  host_.trace.End(s2, BoolJson(ret));
}

bool InputRouter::Button(int x, int y, uint32_t flags, const char* fn, ButtonExport call) {
  Move(x, y);
  HostDesklet* d = Desklet();
  auto hit = HitAt(x, y);
  if (!d || !d->instance || !hit) return false;
  json args = HitArgs(hit->id, hit->name, hit->pt, hit->size);
  args.push_back(flags);
  const uint64_t seq = host_.trace.Begin("host>plugin", fn, hwnd_, std::move(args));
  const BOOL32 ret = (host_.Plugin()->*call)(d->instance, hit->id, hit->name.c_str(), &hit->pt, &hit->size, flags);
  host_.trace.End(seq, BoolJson(ret));
  return ret != 0;
}

bool InputRouter::Down(int x, int y, uint32_t flags) {
  return Button(x, y, flags, "OnLayerMouseDown", &PluginLibrary::OnLayerMouseDown);
}

void InputRouter::Up(int x, int y, uint32_t flags) { Button(x, y, flags, "OnLayerMouseUp", &PluginLibrary::OnLayerMouseUp); }

bool InputRouter::RightClick(int x, int y) {
  return Button(x, y, kFlagRight, "OnLayerRightClick", &PluginLibrary::OnLayerRightClick);
}

void InputRouter::Wheel(int count, int x, int y) {
  if (count == 0) return;
  Move(x, y);
  HostDesklet* d = Desklet();
  if (!d || !d->instance) return;
  PluginLibrary& p = *host_.Plugin();
  const bool forward = count > 0;
  // The count keeps its sign: a backward turn reaches the plug-in as a
  // negative count, so a skin reading the scroll value can tell the way.
  const int32_t scrolls = count;
  if (auto hit = HitAt(x, y)) {
    json args = HitArgs(hit->id, hit->name, hit->pt, hit->size);
    args.push_back(0);
    args.push_back(scrolls);
    const char* fn = forward ? "OnLayerMouseWheelForward" : "OnLayerMouseWheelBackward";
    const uint64_t seq = host_.trace.Begin("host>plugin", fn, hwnd_, std::move(args));
    const BOOL32 ret =
        forward ? p.OnLayerMouseWheelForward(d->instance, hit->id, hit->name.c_str(), &hit->pt, &hit->size, 0, scrolls)
                : p.OnLayerMouseWheelBackward(d->instance, hit->id, hit->name.c_str(), &hit->pt, &hit->size, 0, scrolls);
    host_.trace.End(seq, BoolJson(ret));
    return;
  }
  const char* fn = forward ? "OnMouseWheelForward" : "OnMouseWheelBackward";
  const uint64_t seq = host_.trace.Begin("host>plugin", fn, hwnd_, json::array({0, scrolls, x, y}));
  const BOOL32 ret = forward ? p.OnMouseWheelForward(d->instance, 0, scrolls, x, y)
                             : p.OnMouseWheelBackward(d->instance, 0, scrolls, x, y);
  host_.trace.End(seq, BoolJson(ret));
}

void InputRouter::Key(const std::u32string& characters) {
  for (char32_t c : characters) {
    HostDesklet* d = Desklet();
    if (!d || !d->instance) return;
    host_.Deliver({hwnd_, kCharMessage, static_cast<WPARAM>(c), 0});
    host_.PumpPending();
  }
}

void InputRouter::KeyDown(uint32_t virtualKey, bool shift) {
  const LPARAM flags = shift ? 1 : 0;
  const bool makesCharacter = virtualKey == 8 || virtualKey == 9 || virtualKey == 13 || virtualKey == 27;
  for (uint32_t message : {kKeyDownMessage, kCharMessage, kKeyUpMessage}) {
    if (message == kCharMessage && !makesCharacter) continue;
    HostDesklet* d = Desklet();
    if (!d || !d->instance) return;
    host_.Deliver({hwnd_, message, static_cast<WPARAM>(virtualKey), flags});
    host_.PumpPending();
  }
}

void InputRouter::Drop(const std::vector<std::string>& files, int x, int y) {
  Move(x, y);
  HostDesklet* d = Desklet();
  if (!d || !d->instance) return;
  win::DataObject* data = win::DataObject::WithFiles(files);
  const uint64_t seq = host_.trace.Begin("host>plugin", "OnDrop", hwnd_, json::array({files, 0, x, y, 1}));
  const BOOL32 ret = host_.Plugin()->OnDrop(d->instance, data, 0, x, y, 1);
  host_.trace.End(seq, BoolJson(ret));
  data->Release();
}

void InputRouter::Select() {
  HostDesklet* d = Desklet();
  if (!d || !d->instance) return;
  const uint64_t seq = host_.trace.Begin("host>plugin", "OnSelect", hwnd_, json::array());
  host_.trace.End(seq, BoolJson(host_.Plugin()->OnSelect(d->instance)));
}

void InputRouter::Deselect() {
  HostDesklet* d = Desklet();
  if (!d || !d->instance) return;
  const uint64_t seq = host_.trace.Begin("host>plugin", "OnDeselect", hwnd_, json::array());
  host_.trace.End(seq, BoolJson(host_.Plugin()->OnDeselect(d->instance)));
}

void InputRouter::Leave() {
  LayerOut();
  HostDesklet* d = Desklet();
  if (!inside_ || !d || !d->instance) return;
  inside_ = false;
  const uint64_t seq = host_.trace.Begin("host>plugin", "OnMouseOut", hwnd_, json::array());
  host_.trace.End(seq, BoolJson(host_.Plugin()->OnMouseOut(d->instance)));
}

}  // namespace kivhost
