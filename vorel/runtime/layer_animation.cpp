#include "vorel/runtime/layer_animation.h"

#include "vorel/util/errors.h"

namespace vorel {

// NOTE: the animation threads do not exist yet; a script that starts one
// gets an honest failure instead of a layer that silently stays put.
void StartLayerSlide(TDeskletObject&, TLayerObject&, const TSlideRequest&) { NotImplemented("layer slides"); }

void StartLayerSlideShow(TDeskletObject&, TLayerObject&, const TSlideShowRequest&) {
  NotImplemented("layer slide shows");
}

}  // namespace vorel
