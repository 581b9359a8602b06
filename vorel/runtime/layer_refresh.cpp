#include "vorel/runtime/layer_refresh.h"

#include "platform/util/text.h"
#include "vorel/model/desklet.h"
#include "vorel/runtime/render_layer.h"

namespace vorel {

bool IsDataBound(const TLayerObject& layer) {
  if (kiv::StartsWith(layer.Src, "!XML")) return true;
  for (const TChildLayer& child : layer.Children)
    if (kiv::StartsWith(child.Src, "!XML")) return true;
  return false;
}

void RerenderLayers(TDeskletObject& desklet, const std::function<bool(const TLayerObject&)>& which) {
  if (desklet.sideState.flipping) return;
  desklet.sideState.flipping = true;
  struct Clear {
    TDeskletObject& d;
    ~Clear() { d.sideState.flipping = false; }
  } clear{desklet};
  // Drawing may run scripts that add or delete layers: walk the layers as
  // they were and pass over the ones that are gone.
  for (const TLayerRef& ref : desklet.LayerSnapshot()) {
    TLayerObject* layer = ref.Get();
    if (!layer || (which && !which(*layer))) continue;
    // One layer that cannot be drawn does not keep the others old.
    TErrorLog::Scope scope(desklet.errorLog, "drawing layer \"" + layer->Name + "\"");
    try {
      RenderLayer(desklet, *layer, TLook::Normal, true, false);
    } catch (...) {
      desklet.errorLog.Report(std::current_exception(), layer->Src);
    }
  }
}

}  // namespace vorel
