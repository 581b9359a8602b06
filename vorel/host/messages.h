// The private window messages by which worker threads and deferred work
// reach the desklet window's thread, and the window messages the plug-in
// reads itself.
#pragma once

#include <cstdint>

namespace vorel {

enum Message : uint32_t {
  WM_CHAR = 258,
  MSG_REDRAW = 3024,
  MSG_SET_LAYER_STATE = 3025,
  MSG_RUN_TIMER = 3026,
  MSG_SET_LAYER_STATE_AT = 3027,
  MSG_DATA_ARRIVED = 3028,
  MSG_REFRESH_LAYERS = 3029,
  MSG_INVALIDATE = 3030,
  MSG_DROP_TIMER = 3031,
  MSG_SLIDE_STEP = 3032,
  MSG_SLIDESHOW_STEP = 3033,
  MSG_FETCH_DATA = 3034,
  MSG_UPDATE_AVAILABLE = 3035,
  // Events of connected objects wait in the desklet's event queue.
  MSG_OBJECT_EVENT = 3036,
  MSG_REAP_THREADS = 3124,
  MSG_LOAD_SKIN = 4024,
};

}  // namespace vorel
