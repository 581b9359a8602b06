#include "kivhost/loop/host.h"

#include <algorithm>

#include "kivhost/trace/trace_values.h"
#include "platform/gdiplus/bitmap.h"

namespace kivhost {

Host& Host::Get() {
  static Host host;
  return host;
}

Host::~Host() {
  queue.Stop();
  for (auto& [path, surface] : imageCache_)
    if (surface) cairo_surface_destroy(surface);
}

HostDesklet& Host::CreateDesklet() {
  const HWND hwnd = nextHwnd_++;
  auto desklet = std::make_unique<HostDesklet>(hwnd);
  HostDesklet& ref = *desklet;
  desklets_[hwnd] = std::move(desklet);
  std::lock_guard lock(liveMutex_);
  live_.insert(hwnd);
  return ref;
}

HostDesklet* Host::Find(HWND hwnd) {
  auto it = desklets_.find(hwnd);
  return it == desklets_.end() ? nullptr : it->second.get();
}

void Host::CloseWindow(HWND hwnd) { queue.CloseWindow(hwnd); }

void Host::RemoveDesklet(HWND hwnd) {
  {
    std::lock_guard lock(liveMutex_);
    live_.erase(hwnd);
  }
  queue.CloseWindow(hwnd);
  desklets_.erase(hwnd);
}

std::vector<HostDesklet*> Host::Desklets() {
  std::vector<HostDesklet*> out;
  for (auto& [hwnd, d] : desklets_) out.push_back(d.get());
  return out;
}

PageWindow* Host::FindPageWindow(HWND page) {
  PropertiesDialog* dialog = FindDialogOfPage(page);
  return dialog ? dialog->Page(page) : nullptr;
}

PropertiesDialog* Host::FindDialogOfPage(HWND page) {
  for (auto& [hwnd, d] : desklets_)
    if (d->properties && d->properties->Page(page)) return &*d->properties;
  return nullptr;
}

bool Host::IsWindow(HWND hwnd) const {
  std::lock_guard lock(liveMutex_);
  return live_.count(hwnd) > 0;
}

std::string Host::ResolveImageFile(const std::string& file) const {
  if (file.empty() || file.find('/') != std::string::npos) return file;
  return hostFolder_ + "/" + file;
}

cairo_surface_t* Host::DeskletImage(const HostDesklet& desklet) {
  if (desklet.imageFile.empty()) return nullptr;
  auto it = imageCache_.find(desklet.imageFile);
  if (it != imageCache_.end()) return it->second;
  cairo_surface_t* surface = nullptr;
  try {
    if (auto bitmap = gdiplus::Bitmap::FromFile(desklet.imageFile))
      surface = cairo_surface_reference(bitmap->Surface());
  } catch (const gdiplus::BitmapTooLarge& e) {
    errorEcho.Show(desklet.imageFile, e.what());
  }
  imageCache_[desklet.imageFile] = surface;
  return surface;
}

bool Host::Post(const WinMsg& msg) { return IsWindow(msg.hwnd) && queue.Post(msg); }

LRESULT Host::Deliver(const WinMsg& msg) {
  HostDesklet* desklet = Find(msg.hwnd);
  if (!desklet || !desklet->instance || !plugin_) return 0;
  LRESULT result = 0;
  const uint64_t seq = trace.Begin("host>plugin", "OnProcessMessageEx", msg.hwnd,
                                   json::array({msg.message, msg.wParam, msg.lParam}));
  const int32_t ret = plugin_->OnProcessMessageEx(desklet->instance, msg.hwnd, msg.message, msg.wParam, msg.lParam, &result);
  trace.End(seq, {{"return", ret}, {"result", result}});
  return result;
}

LRESULT Host::Send(const WinMsg& msg) {
  if (OnWindowThread()) return Deliver(msg);
  if (!IsWindow(msg.hwnd)) return 0;
  return queue.SendAndWait(msg);
}

void Host::RunItem(QueuedItem& item) {
  if (item.task) item.task();
  else if (item.sent) item.sent->Answer(Deliver(item.msg));
  else Deliver(item.msg);
}

std::optional<Answer> Host::Ask(const DialogRequest& request, std::initializer_list<Answer::Kind> kinds) {
  // Kept before it is answered: the plug-in destroys the menu right after.
  if (request.kind == DialogRequest::Kind::Menu)
    if (HostDesklet* d = Find(request.owner)) d->shownMenus.push_back(objects.Snapshot(request.menu));
  std::optional<Answer> answer = asker_ ? asker_(request) : answers.Next();
  if (!answer || std::find(kinds.begin(), kinds.end(), answer->kind) == kinds.end()) return std::nullopt;
  return answer;
}

void Host::PumpPending() {
  constexpr int kMaxItems = 100000;
  for (int i = 0; i < kMaxItems; ++i) {
    auto item = queue.TakeNow();
    if (!item) return;
    RunItem(*item);
  }
}

void Host::RunWhileWaiting() {
  // NOTE: what runs may call the plug-in, which may wait again; one level
  // of the front end's work at a time is enough to keep windows alive.
  if (!whileWaiting_ || inWhileWaiting_) return;
  inWhileWaiting_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{inWhileWaiting_};
  whileWaiting_();
}

void Host::RunFor(std::chrono::milliseconds duration) {
  const auto deadline = std::chrono::steady_clock::now() + duration;
  // NOTE: the queue hands out what is ready without looking at the clock; a
  // stream that never dries up (a timer faster than its statement, work
  // that posts itself again) must not hold the wait past its end.
  while (std::chrono::steady_clock::now() < deadline) {
    auto item = queue.Take(deadline);
    if (!item) break;
    RunItem(*item);
  }
}

}  // namespace kivhost
