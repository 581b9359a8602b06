// TInputState: what the latest host events recorded about the pointer, the
// keys and dropped files. The exports and the event dispatcher write it
// while they handle an event; scripts and variable expansion read it.
#pragma once

#include <cstdint>
#include <string>

namespace vorel {

// NOTE: the host numbers its layers from 0, so 0 is the first layer and
// cannot also mean "no layer" for the pressed, entered and current layer.
inline constexpr uint32_t kNoLayerId = 0xFFFFFFFF;

struct TInputState {
  uint32_t enteredLayerId = kNoLayerId;
  uint32_t pressedLayerId = kNoLayerId;
  uint32_t currentLayerId = kNoLayerId;
  std::string droppedFile;
  int32_t wheelScrolls = 0;
  int32_t mouseX = 0, mouseY = 0;
  int32_t layerMouseX = 0, layerMouseY = 0;
  std::string lastKey;
  int32_t lastKeyCode = 0;
};

}  // namespace vorel
