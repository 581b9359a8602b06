#include "vorel/runtime/event_dispatch.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "platform/util/text.h"
#include "vorel/model/desklet.h"
#include "vorel/runtime/cursor_table.h"
#include "vorel/runtime/layer_effects.h"
#include "vorel/runtime/side_flip.h"
#include "vorel/runtime/render_layer.h"
#include "vorel/runtime/statement_runner.h"
#include "vorel/runtime/window_messages.h"

namespace vorel {

namespace {

constexpr std::string_view kFlipPrefix = "!FLIP:";
constexpr std::string_view kEffectPrefix = "!EFFECT:";

// The statement part after the first "|" of an effect statement.
std::string AfterBar(const std::string& statement) {
  const size_t bar = statement.find('|');
  return bar == std::string::npos ? std::string() : statement.substr(bar + 1);
}

void Look(TDeskletObject& d, const TLayerObject& layer, LayerImageState state) {
  SetLayerImageState(d, layer.Id, true, false, state);
}

// Enter and exit statements: an effect first, then the statement part
// after "|". A failing effect raises, and the event is not handled.
void RunWithEffect(TDeskletObject& d, TLayerObject& layer, const std::string statement) {
  if (kiv::StartsWith(statement, kEffectPrefix)) {
    RunEffect(d, layer, statement);
    RunStatement(d, AfterBar(statement));
  } else {
    RunStatement(d, statement);
  }
}

bool Press(TDeskletObject& d, TLayerObject& layer) {
  if (layer.OnClick.empty() && layer.OnMouseDown.empty()) return false;
  d.input.pressedLayerId = layer.Id;
  Look(d, layer, LayerImageState::Pressed);
  if (!layer.OnMouseDown.empty()) RunStatement(d, std::string(layer.OnMouseDown));
  return true;
}

bool Click(TDeskletObject& d, TLayerObject& layer, LayerEventKind kind) {
  if (kind == LayerEventKind::MouseUp && (d.input.pressedLayerId != layer.Id || d.input.enteredLayerId != layer.Id)) {
    d.input.pressedLayerId = kNoLayerId;
    return false;
  }
  // A statement may delete the layer it was run for.
  const std::weak_ptr<const char> alive = layer.lifetime;
  auto gone = [&] {
    if (!alive.expired()) return false;
    d.input.pressedLayerId = kNoLayerId;
    return true;
  };
  if (!layer.OnMouseUp.empty()) RunStatement(d, std::string(layer.OnMouseUp));
  if (gone()) return false;
  if (kind == LayerEventKind::MouseUp) SetDeskletCursor(d, layer.Cursor);
  bool handled = false;
  if (!layer.OnClick.empty()) {
    handled = true;
    if (kind == LayerEventKind::KeyClick) Look(d, layer, LayerImageState::Pressed);
    try {
      const std::string click = layer.OnClick;
      if (kiv::StartsWith(click, kFlipPrefix)) {
        RequestFlip(d, click);
      } else if (kiv::StartsWith(click, kEffectPrefix)) {
        // NOTE: a click runs its statement before its effect, the reverse
        // of enter and exit.
        RunStatement(d, AfterBar(click));
        if (!alive.expired()) RunEffect(d, layer, click);
      } else {
        RunStatement(d, click);
      }
    } catch (...) {
      // A failed flip or effect still ends the click normally below.
      d.errorLog.Report(std::current_exception(), layer.OnClick);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(std::max(d.settings.keyPressAnim, 0)));
    if (gone()) return true;
    if (!layer.DSrc.empty()) Look(d, layer, LayerImageState::Normal);
  }
  d.input.pressedLayerId = kNoLayerId;
  return handled;
}

bool Enter(TDeskletObject& d, TLayerObject& layer) {
  d.input.enteredLayerId = layer.Id;
  SetDeskletCursor(d, layer.Cursor);
  Look(d, layer, d.input.pressedLayerId == layer.Id ? LayerImageState::Pressed : LayerImageState::Hover);
  if (layer.OnMouseEnter.empty()) return false;
  try {
    RunWithEffect(d, layer, layer.OnMouseEnter);
  } catch (...) {
    d.errorLog.Report(std::current_exception(), layer.OnMouseEnter);
    return false;
  }
  return true;
}

bool Exit(TDeskletObject& d, TLayerObject& layer) {
  if (layer.Cursor != kNoCursor) SetDeskletCursor(d, 0);
  if (d.input.pressedLayerId == layer.Id || !layer.MSrc.empty()) Look(d, layer, LayerImageState::Normal);
  if (layer.OnMouseExit.empty()) return false;
  try {
    RunWithEffect(d, layer, layer.OnMouseExit);
  } catch (...) {
    d.errorLog.Report(std::current_exception(), layer.OnMouseExit);
    return false;
  }
  return true;
}

const char* EventName(LayerEventKind kind) {
  switch (kind) {
    case LayerEventKind::MouseDown: return "onmousedown";
    case LayerEventKind::MouseUp: return "onclick";
    case LayerEventKind::KeyClick: return "key";
    case LayerEventKind::MouseEnter: return "onmouseenter";
    case LayerEventKind::MouseExit: return "onmouseexit";
    case LayerEventKind::MouseScroll: return "onmousescroll";
    case LayerEventKind::RightClick: return "onmouserightclick";
    case LayerEventKind::MouseMove: return "onmousemove";
  }
  return "event";
}

bool RunIfAny(TDeskletObject& d, const std::string& statement) {
  if (kiv::IsBlank(statement)) return false;
  RunStatement(d, statement);
  return true;
}

}  // namespace

bool DispatchLayerEvent(TDeskletObject& d, TLayerObject* layer, LayerEventKind kind) {
  if (!layer || static_cast<uint8_t>(kind) > 10) return false;
  d.input.currentLayerId = layer->Id;
  TErrorLog::Scope scope(d.errorLog, "layer \"" + layer->Name + "\" " + EventName(kind));
  switch (kind) {
    case LayerEventKind::MouseDown: return Press(d, *layer);
    case LayerEventKind::MouseUp:
    case LayerEventKind::KeyClick: return Click(d, *layer, kind);
    case LayerEventKind::MouseEnter: return Enter(d, *layer);
    case LayerEventKind::MouseExit: return Exit(d, *layer);
    case LayerEventKind::MouseScroll: return RunIfAny(d, layer->OnMouseScroll);
    case LayerEventKind::RightClick: return RunIfAny(d, layer->OnMouseRightClick);
    case LayerEventKind::MouseMove: return RunIfAny(d, layer->OnMouseMove);
  }
  return false;
}

void SetLayerImageState(TDeskletObject& desklet, uint32_t layerId, bool invalidate, bool updatePlacement,
                        LayerImageState state) {
  TLayerObject* layer = desklet.FindLayerById(layerId);
  if (!layer) return;
  const std::string source = layer->Src;
  TErrorLog::Scope scope(desklet.errorLog, "drawing layer \"" + layer->Name + "\"");
  try {
    RenderLayer(desklet, *layer, static_cast<TLook>(state), updatePlacement, invalidate);
  } catch (...) {
    // A look that cannot be drawn (a missing text background, a script
    // source that fails) leaves the layer as it was; the event goes on.
    desklet.errorLog.Report(std::current_exception(), source);
  }
}

void HandleKeyPress(TDeskletObject& desklet, uint32_t code) {
  desklet.input.lastKey = KeyText(code);
  desklet.input.lastKeyCode = static_cast<int32_t>(code);
  if (!kiv::IsBlank(desklet.settings.onKeyPress)) {
    RunStatement(desklet, desklet.settings.onKeyPress);
    return;
  }
  TLayerObject* layer = desklet.FindLayerByKey(kiv::ToUpperAscii(desklet.input.lastKey));
  DispatchLayerEvent(desklet, layer, LayerEventKind::KeyClick);
}

}  // namespace vorel
