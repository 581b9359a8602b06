// Layer slides (moving a layer's placement in steps) and slide shows
// (showing a list of images in turn), started by the layer object. The
// requests carry everything the animation needs; the stepping itself runs
// on timer threads that post their steps back to the window.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace vorel {

class TDeskletObject;
struct TLayerObject;

struct TSlideRequest {
  std::array<int32_t, 4> start{}, end{}, step{};
  int32_t delay = 0;
  int32_t loop = 0;
  bool async = false;
  std::string callback;
};

struct TSlideShowRequest {
  std::string images;
  int32_t delay = 0;
  int32_t loop = -1;
  bool async = true;
  std::string callback;
};

void StartLayerSlide(TDeskletObject& desklet, TLayerObject& layer, const TSlideRequest& request);
void StartLayerSlideShow(TDeskletObject& desklet, TLayerObject& layer, const TSlideShowRequest& request);

}  // namespace vorel
