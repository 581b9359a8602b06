// RenderLayer: (re)draws one layer and hands the image to the host: the
// source chosen by the look, expanded and rewritten by the script, data and
// text-file forms, drawn, sized or scaled to the layer, recoloured, then
// shown, placed, faded and clipped in the host.
#pragma once

#include "vorel/model/layer_record.h"

namespace vorel {

class TDeskletObject;

enum class TLook { Normal = 0, Pressed = 1, Hover = 2 };

// place asks for the host placement, invalidate for an invalidation of the
// layer's rectangle at the end. Errors (a missing text background, a size
// beyond 16 bits, a failing host call, a script error) go to the caller;
// the layer then keeps whatever the host showed before.
void RenderLayer(TDeskletObject& desklet, TLayerObject& layer, TLook look, bool place, bool invalidate);

}  // namespace vorel
