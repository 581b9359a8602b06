// TAnimationState: the layer slides and slide shows under way. Each record
// is known by an id, which the step messages carry, so that a message that
// comes after its animation ended finds nothing rather than freed memory.
// Only the layer animation module changes it, on the window thread.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "vorel/model/layer_record.h"

namespace vorel {

using TRectValues = std::array<int32_t, 4>;  // left, top, right, bottom

struct TSlideInfo {
  TLayerRef Layer;
  TRectValues Start{}, Stop{}, Step{}, Current{};
  int32_t Delay = 0;
  int32_t Loop = 1;  // passes; -1 for ever
  int32_t Pass = 1;
  bool Async = false;
  bool Finished = false;  // for a starter that waits
  std::string CallBack;
};

struct TSlideShow {
  TLayerRef Layer;
  std::string ImageList;  // sources separated by "|"
  int32_t Delay = 0;
  int32_t Loop = -1;
  int32_t Pass = 1;
  int32_t Index = -1;  // the entry shown last
  bool Finished = false;
  bool Async = true;
  std::string CallBack;
};

struct TAnimationState {
  std::map<uint32_t, std::unique_ptr<TSlideInfo>> slides;
  std::map<uint32_t, std::unique_ptr<TSlideShow>> shows;
  uint32_t nextId = 1;
};

}  // namespace vorel
