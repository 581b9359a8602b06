#include "vorel/runtime/event_dispatch.h"

#include "platform/util/text.h"
#include "vorel/host/desklet_object.h"
#include "vorel/runtime/statement_runner.h"
#include "vorel/runtime/window_messages.h"
#include "vorel/util/errors.h"

namespace vorel {

bool DispatchLayerEvent(TDeskletObject&, TLayerObject* layer, LayerEventKind) {
  if (!layer) return false;
  // Layer statements and looks arrive with event dispatch; until then a
  // layer reports the event as not handled.
  return false;
}

void SetLayerImageState(TDeskletObject& desklet, uint32_t layerId, bool, bool, LayerImageState) {
  if (!desklet.FindLayerById(layerId)) return;
  NotImplemented("layer image state");
}

void HandleKeyPress(TDeskletObject& desklet, uint32_t code) {
  desklet.lastKey = KeyText(code);
  desklet.lastKeyCode = static_cast<int32_t>(code);
  if (!kiv::IsBlank(desklet.onKeyPress)) {
    RunStatement(desklet, desklet.onKeyPress);
    return;
  }
  TLayerObject* layer = desklet.FindLayerByKey(kiv::ToUpperAscii(desklet.lastKey));
  DispatchLayerEvent(desklet, layer, LayerEventKind::KeyClick);
}

}  // namespace vorel
