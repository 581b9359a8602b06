// Dispatching host events to the skin's statements: the layer events with
// their look changes, and the key press.
#pragma once

#include <cstdint>

namespace vorel {

class TDeskletObject;
struct TLayerObject;

enum class LayerEventKind : uint8_t {
  MouseDown = 0,
  MouseUp = 1,
  MouseEnter = 2,
  MouseExit = 3,
  MouseScroll = 4,
  RightClick = 5,
  MouseMove = 6,
  KeyClick = 10,
};

enum class LayerImageState : uint8_t { Normal = 0, Pressed = 1, Hover = 2 };

// Whether the layer had a statement for the event. No layer: false.
bool DispatchLayerEvent(TDeskletObject& desklet, TLayerObject* layer, LayerEventKind kind);

// Gives the layer with that host id the look; an unknown id does nothing.
void SetLayerImageState(TDeskletObject& desklet, uint32_t layerId, bool invalidate, bool updatePlacement,
                        LayerImageState state);

// A character key: records it and runs the key statement or the bound
// layer's click.
void HandleKeyPress(TDeskletObject& desklet, uint32_t code);

}  // namespace vorel
