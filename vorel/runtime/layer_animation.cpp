#include "vorel/runtime/layer_animation.h"

#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

#include "platform/abi/desklet_api.h"
#include "platform/win/win_services.h"
#include "vorel/host/host_api.h"
#include "vorel/host/messages.h"
#include "vorel/model/desklet.h"
#include "vorel/runtime/render_layer.h"
#include "vorel/runtime/side_layout.h"
#include "vorel/runtime/statement_runner.h"
#include "vorel/util/errors.h"
#include "vorel/util/text_routines.h"

namespace vorel {

namespace {

using namespace std::chrono_literals;

constexpr auto kWaitPause = 10ms;

KivRect AsRect(const TRectValues& r) { return {r[0], r[1], r[2], r[3]}; }

// The host's invalidation is locked while the clip and placement change,
// and unlocked again whatever happens.
class InvalidationLock {
 public:
  explicit InvalidationLock(HWND window) : window_(window) { host::DeskletLockInvalidating(window_); }
  ~InvalidationLock() {
    if (!unlocked_) host::DeskletUnlockInvalidating(window_, false);
  }
  InvalidationLock(const InvalidationLock&) = delete;
  InvalidationLock& operator=(const InvalidationLock&) = delete;
  void Unlock() {
    unlocked_ = true;
    host::DeskletUnlockInvalidating(window_, false);
  }

 private:
  HWND window_;
  bool unlocked_ = false;
};

// The next step of the animation, after its delay.
void PostStep(TDeskletObject& desklet, int32_t delay, uint32_t message, uint32_t id) {
  PostMessageLater(desklet.threads, desklet.windowHandle, std::chrono::milliseconds(std::max(delay, 0)), message, id, 0);
}

// An animation record has ended: one whose starter waits is marked for
// it; any other is freed. Returns the statement to run at the end.
template <typename Record>
std::string EndAnimation(std::map<uint32_t, std::unique_ptr<Record>>& records, uint32_t id) {
  const auto found = records.find(id);
  if (found == records.end()) return "";
  std::string callback = found->second->CallBack;
  if (found->second->Async)
    records.erase(found);
  else
    found->second->Finished = true;
  return callback;
}

// Keeps the thread's messages flowing until the animation has ended. The
// host's end-wait message stops the waiting at once: the animation goes on
// by itself and frees its record when it ends.
template <typename Record>
void WaitForEnd(TDeskletObject& desklet, std::map<uint32_t, std::unique_ptr<Record>>& records, uint32_t id) {
  for (;;) {
    const auto found = records.find(id);
    if (found == records.end()) return;
    if (found->second->Finished) {
      records.erase(found);
      return;
    }
    if (desklet.destroying) {
      found->second->Async = true;
      return;
    }
    std::this_thread::sleep_for(kWaitPause);
    WinMsg message{};
    if (!win::PeekMessage(message, 0, true)) continue;
    if (message.message == kHostEndWaitMessage &&
        (message.wParam == kHostCloseDesklet || message.wParam == kHostQuitting)) {
      if (const auto still = records.find(id); still != records.end()) still->second->Async = true;
      win::SendMessage(message.hwnd, message.message, message.wParam, message.lParam);
      return;
    }
    win::DispatchMessage(message);
  }
}

bool InvalidCourse(const TSlideInfo& slide) {
  for (size_t i = 0; i < 4; ++i) {
    const int32_t step = slide.Step[i], start = slide.Start[i], stop = slide.Stop[i];
    if ((step > 0 && start > stop) || (step < 0 && start < stop) || (step == 0 && start != stop)) return true;
  }
  return false;
}

bool PassesLeft(const TSlideInfo& slide) { return slide.Loop == -1 || slide.Loop > slide.Pass; }

// Shows the slide's current rectangle: the clip over the image, and the
// layer's placement fitted to the part shown.
void ShowFrame(TDeskletObject& desklet, TLayerObject& layer, const TSlideInfo& slide) {
  const HWND window = desklet.windowHandle;
  const KivSize reference = SideSize(desklet, desklet.sideState.activeSide);
  InvalidationLock lock(window);
  host::DeskletLayerSetImageClipRect(window, layer.Id, false, true, AsRect(slide.Current), layer.ImageWidth,
                                     layer.ImageHeight);
  const int32_t width = std::abs(slide.Current[2] - slide.Current[0]);
  const int32_t height = std::abs(slide.Current[3] - slide.Current[1]);
  int32_t left = layer.X, top = layer.Y;
  // A part shrinking from the right or the bottom stays anchored there.
  if ((width < layer.Width && slide.Step[2] < 0) || (height < layer.Height && slide.Step[3] < 0)) {
    left = layer.X - slide.Step[2];
    top = layer.Y - slide.Step[3];
  }
  const KivRect repaint{std::min<int32_t>(left, layer.X), std::min<int32_t>(top, layer.Y),
                        std::min<int32_t>(left, layer.X) + std::max<int32_t>(width, layer.Width),
                        std::min<int32_t>(top, layer.Y) + std::max<int32_t>(height, layer.Height)};
  const int16_t x = CheckedInt16(left), y = CheckedInt16(top), w = CheckedInt16(width), h = CheckedInt16(height);
  layer.X = x, layer.Y = y, layer.Width = w, layer.Height = h;
  const KivSize own = SideSize(desklet, layer.LayerSide);
  host::DeskletLayerSetPlacement(window, layer.Id, false, true, {left, top, left + width, top + height}, own.cx,
                                 own.cy);
  lock.Unlock();
  host::DeskletInvalidateRect(window, repaint, reference, true);
}

// One step of the slide; true when the slide has ended.
bool AdvanceSlide(TDeskletObject& desklet, TSlideInfo& slide, uint32_t id) {
  TLayerObject* layer = slide.Layer.Get();
  if (!layer) return true;
  if (InvalidCourse(slide)) {
    layer->ClipSource = slide.Current;
    return true;
  }
  ShowFrame(desklet, *layer, slide);
  if (slide.Current == slide.Stop) {
    layer->ClipSource = slide.Current;
    if (!PassesLeft(slide)) return true;
    // NOTE: a pass that showed its last frame starts over while passes are
    // left; waiting for the next step to notice would end the slide first.
    if (slide.Loop != -1) ++slide.Pass;
    slide.Current = slide.Start;
  } else {
    for (size_t i = 0; i < 4; ++i) {
      if (slide.Current[i] == slide.Stop[i]) continue;
      slide.Current[i] += slide.Step[i];
      if ((slide.Step[i] > 0 && slide.Current[i] > slide.Stop[i]) ||
          (slide.Step[i] < 0 && slide.Current[i] < slide.Stop[i]))
        slide.Current[i] = slide.Stop[i];
    }
    layer->ClipSource = slide.Current;
  }
  PostStep(desklet, slide.Delay, MSG_SLIDE_STEP, id);
  return false;
}

// One step of the show; true when the show has ended.
bool AdvanceShow(TDeskletObject& desklet, TSlideShow& show, uint32_t id) {
  TLayerObject* layer = show.Layer.Get();
  const std::vector<std::string> images = Split(show.ImageList, '|', {.clearFirst = true, .skipEmpty = true});
  if (!layer || images.empty()) return true;
  ++show.Index;
  if (show.Index >= static_cast<int32_t>(images.size())) {
    show.Index = 0;
    ++show.Pass;
  }
  if (show.Loop != -1 && show.Loop < show.Pass) return true;
  layer->Src = images[static_cast<size_t>(show.Index)];
  RenderLayer(desklet, *layer, TLook::Normal, false, true);
  PostStep(desklet, show.Delay, MSG_SLIDESHOW_STEP, id);
  return false;
}

// Runs one step of an animation kept in `records`; a step that fails ends
// the animation before the failure goes on, so that no starter waits for
// a step that never comes.
template <typename Record, typename Advance>
void RunStep(TDeskletObject& desklet, std::map<uint32_t, std::unique_ptr<Record>>& records, uint32_t id,
             Advance advance) {
  const auto found = records.find(id);
  if (found == records.end() || found->second->Finished) return;
  bool ended = false;
  try {
    ended = advance(desklet, *found->second, id);
  } catch (...) {
    EndAnimation(records, id);
    throw;
  }
  if (!ended) return;
  const std::string callback = EndAnimation(records, id);
  if (!callback.empty()) RunStatement(desklet, callback);
}

// Registers the animation, runs its first step and, for a starter that
// waits, keeps the messages flowing until it has ended.
template <typename Record>
void StartAnimation(TDeskletObject& desklet, std::map<uint32_t, std::unique_ptr<Record>>& records,
                    std::unique_ptr<Record> record, void (*step)(TDeskletObject&, uint32_t)) {
  const bool async = record->Async;
  const uint32_t id = desklet.animations.nextId++;
  records.emplace(id, std::move(record));
  try {
    step(desklet, id);
  } catch (...) {  // ended by the failure; nobody will wait for it
    records.erase(id);
    throw;
  }
  if (!async) WaitForEnd(desklet, records, id);
}

}  // namespace

void SlideStep(TDeskletObject& desklet, uint32_t id) {
  RunStep(desklet, desklet.animations.slides, id, AdvanceSlide);
}

void SlideShowStep(TDeskletObject& desklet, uint32_t id) {
  RunStep(desklet, desklet.animations.shows, id, AdvanceShow);
}

void StartLayerSlide(TDeskletObject& desklet, TLayerObject& layer, const TSlideRequest& request) {
  auto slide = std::make_unique<TSlideInfo>();
  slide->Layer = {&layer, layer.lifetime};
  slide->Start = request.start;
  slide->Stop = request.end;
  slide->Step = request.step;
  slide->Current = request.start;
  slide->Delay = request.delay;
  slide->Loop = request.loop;
  slide->Async = request.async;
  slide->CallBack = request.callback;
  StartAnimation(desklet, desklet.animations.slides, std::move(slide), &SlideStep);
}

void StartLayerSlideShow(TDeskletObject& desklet, TLayerObject& layer, const TSlideShowRequest& request) {
  if (request.images.find('|') == std::string::npos) return;
  auto show = std::make_unique<TSlideShow>();
  show->Layer = {&layer, layer.lifetime};
  show->ImageList = request.images;
  show->Delay = request.delay;
  show->Loop = request.loop;
  show->Async = request.async;
  show->CallBack = request.callback;
  StartAnimation(desklet, desklet.animations.shows, std::move(show), &SlideShowStep);
}

}  // namespace vorel
