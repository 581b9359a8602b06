#include "vorel/runtime/window_messages.h"

#include "vorel/runtime/event_sinker.h"

#include <chrono>

#include "platform/util/utf8.h"
#include "platform/win/win_services.h"
#include "vorel/model/desklet.h"
#include "vorel/host/host_api.h"
#include "vorel/host/messages.h"
#include "vorel/runtime/control_apply.h"
#include "vorel/runtime/data_fetch.h"
#include "vorel/runtime/event_dispatch.h"
#include "vorel/runtime/layer_animation.h"
#include "vorel/runtime/layer_refresh.h"
#include "vorel/runtime/render_layer.h"
#include "vorel/runtime/statement_runner.h"
#include "vorel/runtime/timer_control.h"
#include "vorel/ui/update_check.h"
#include "vorel/util/errors.h"

namespace vorel {

namespace {

using namespace std::chrono_literals;

void CheckLayerStateParameters(WPARAM wParam, LPARAM lParam) {
  // A negative id or position arrives as a huge unsigned value.
  if (static_cast<intptr_t>(wParam) < 0 || lParam < 0 || lParam > 255) throw KivError(errors::kRangeCheck);
}

// `fresh`: the data came fresh from the cache, and the schedule started
// again; the timers' delays and the shown side's text controls, which may
// read the data, read it again.
void DataArrived(TDeskletObject& desklet, WPARAM position, LPARAM fresh) {
  if (position >= desklet.data.xmlSources.size()) return;
  if (desklet.loading) {
    // The skin is still loading: try again in 100 ms.
    PostMessageLater(desklet.threads, desklet.windowHandle, 100ms, MSG_DATA_ARRIVED, position, fresh);
    return;
  }
  if (fresh == 1) {
    ReevaluateTimerDelays(desklet);
    try {
      RefreshControlValues(desklet, desklet.sideState.activeSide, true);
    } catch (...) {
      // The data's own statement still runs.
      desklet.errorLog.Report(std::current_exception());
    }
  }
  RunStatement(desklet, desklet.data.xmlSources[position].OnGetData);
}

void RefreshLayers(TDeskletObject& desklet, WPARAM dataBoundOnly) {
  // A statement of a layer being rendered asked for it: that rendering
  // goes on.
  if (desklet.sideState.flipping) return;
  if (dataBoundOnly == 1)
    RerenderLayers(desklet, &IsDataBound);
  else
    RerenderLayers(desklet);
  // NOTE: new data reaches the text controls that show it now as well,
  // not only when the source next finds its cache fresh, a minute later.
  if (dataBoundOnly == 1) {
    try {
      RefreshControlValues(desklet, desklet.sideState.activeSide, true);
    } catch (...) {
      desklet.errorLog.Report(std::current_exception());
    }
  }
  host::DeskletRedraw(desklet.windowHandle);
}

void Invalidate(TDeskletObject& desklet, WPARAM wParam) {
  KivRect rect{0, 0, 0, 0};
  KivSize size{0, 0};
  if (wParam == 1) {
    size = {static_cast<int32_t>(desklet.sideState.currentSide.Width), static_cast<int32_t>(desklet.sideState.currentSide.Height)};
    rect = {0, 0, size.cx, size.cy};
  }
  host::DeskletInvalidateRect(desklet.windowHandle, rect, size, true);
}

}  // namespace

std::string KeyText(uint32_t code) {
  switch (code) {
    case 13: return "CR";
    case 27: return "ESC";
    case 9: return "TAB";
    case 8: return "BS";
    default: {
      std::u16string one(1, static_cast<char16_t>(code));
      return kiv::Utf16ToUtf8(one);
    }
  }
}

void HandleWindowMessage(TDeskletObject& desklet, uint32_t message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  switch (message) {
    case WM_CHAR:
      HandleKeyPress(desklet, static_cast<uint32_t>(wParam));
      if (result) *result = kTrue;
      break;
    case MSG_REDRAW:
      host::DeskletRedraw(desklet.windowHandle);
      break;
    case MSG_SET_LAYER_STATE:
      CheckLayerStateParameters(wParam, lParam);
      SetLayerImageState(desklet, static_cast<uint32_t>(wParam), true, true, static_cast<LayerImageState>(lParam));
      break;
    case MSG_SET_LAYER_STATE_AT:
      CheckLayerStateParameters(wParam, lParam);
      if (TLayerObject* layer = desklet.FindLayerAt(wParam))
        SetLayerImageState(desklet, layer->Id, true, true, static_cast<LayerImageState>(lParam));
      break;
    case MSG_RUN_TIMER:
      RunTimerMessage(desklet, wParam);
      break;
    case MSG_DATA_ARRIVED:
      DataArrived(desklet, wParam, lParam);
      break;
    case MSG_OBJECT_EVENT:
      DeliverObjectEvents(desklet);
      break;
    case MSG_FETCH_DATA:
      if (!desklet.data.fetching) StartFetchWorker(desklet);
      break;
    case MSG_UPDATE_AVAILABLE:
      OfferFoundUpdate(desklet.windowHandle);
      break;
    case MSG_REFRESH_LAYERS:
      RefreshLayers(desklet, wParam);
      break;
    case MSG_INVALIDATE:
      Invalidate(desklet, wParam);
      break;
    case MSG_DROP_TIMER:
      DropTimerMessage(desklet, wParam);
      break;
    case MSG_SLIDE_STEP:
      SlideStep(desklet, static_cast<uint32_t>(wParam));
      break;
    case MSG_SLIDESHOW_STEP:
      SlideShowStep(desklet, static_cast<uint32_t>(wParam));
      break;
    case MSG_REAP_THREADS:
      desklet.threads.ReapTerminated();
      if (desklet.timing.secondsThread && desklet.timing.secondsThread->Finished())
        if (std::exception_ptr failure = desklet.timing.secondsThread->TakeFailure()) desklet.errorLog.Report(failure);
      break;
    default:
      break;
  }
}

}  // namespace vorel
