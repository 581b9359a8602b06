// Layer slides and slide shows. A slide moves a clip rectangle over the
// layer's image step by step and fits the layer's placement to the part
// shown; a slide show puts the entries of an image list into the layer's
// source in turn. Every step runs on the window thread; between steps a
// deferred-call thread waits the delay and posts the next step message
// with the animation's id. A starter that asks to wait keeps dispatching
// the thread's messages until its animation has ended.
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

// Errors of the first step reach the caller; the slide has ended then.
void StartLayerSlide(TDeskletObject& desklet, TLayerObject& layer, const TSlideRequest& request);
// Nothing happens for a list without "|".
void StartLayerSlideShow(TDeskletObject& desklet, TLayerObject& layer, const TSlideShowRequest& request);

// The steps, for MSG_SLIDE_STEP and MSG_SLIDESHOW_STEP; an id of an
// animation that ended does nothing. A step that fails ends its animation
// and raises.
void SlideStep(TDeskletObject& desklet, uint32_t id);
void SlideShowStep(TDeskletObject& desklet, uint32_t id);

}  // namespace vorel
