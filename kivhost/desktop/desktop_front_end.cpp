#include "kivhost/desktop/desktop_front_end.h"

#include <glib-unix.h>

#include <csignal>

#include "kivhost/desktop/gtk_dialogs.h"
#include "kivhost/desktop/properties_window.h"
#include "kivhost/desktop/queue_source.h"
#include "platform/abi/desklet_api.h"

namespace kivhost {

DesktopFrontEnd::DesktopFrontEnd(Host& host, Session& session)
    : host_(host), session_(session), loop_(g_main_loop_new(nullptr, FALSE)) {}

DesktopFrontEnd::~DesktopFrontEnd() {
  if (freeing_) g_source_remove(freeing_);
  windows_.clear();
  retired_.clear();
  g_main_loop_unref(loop_);
}

void DesktopFrontEnd::Run() {
  QueueSource queue(host_, [this] { SyncAll(); });
  host_.SetAsker([this](const DialogRequest& request) { return AskWithGtk(host_, request); });
  host_.SetPropertiesShower([this](HWND hwnd) { ShowPropertiesWithGtk(host_, session_, hwnd); });
  host_.startsPrograms = true;
  const guint term = g_unix_signal_add(SIGTERM, &DesktopFrontEnd::OnSignal, this);
  const guint interrupt = g_unix_signal_add(SIGINT, &DesktopFrontEnd::OnSignal, this);
  // While the plug-in waits inside a call, the windows go on: they follow
  // the model and GTK's events are handled (the queue's own source is
  // busy with that call, so the plug-in's messages stay its to take).
  host_.SetWhileWaiting([this] {
    constexpr int kMostEvents = 100;
    SyncAll();
    for (int i = 0; i < kMostEvents && g_main_context_pending(nullptr); ++i) g_main_context_iteration(nullptr, FALSE);
  });
  host_.SetFlipAnimator([this](HWND hwnd, cairo_surface_t* before, std::function<void()> finished) {
    SyncAll();  // the window takes the new side's size first
    const auto it = windows_.find(hwnd);
    return it != windows_.end() && it->second->StartFlip(before, std::move(finished));
  });
  SyncAll();
  if (!windows_.empty()) g_main_loop_run(loop_);
  g_source_remove(term);
  g_source_remove(interrupt);
  host_.SetFlipAnimator(nullptr);
  host_.SetWhileWaiting(nullptr);
  host_.SetAsker(nullptr);
  host_.SetPropertiesShower(nullptr);
  host_.startsPrograms = false;
}

gboolean DesktopFrontEnd::OnSignal(gpointer self) {
  auto* front = static_cast<DesktopFrontEnd*>(self);
  // A plug-in waiting inside a call stops waiting, so that the loop can end.
  for (HostDesklet* d : front->host_.Desklets()) front->host_.Post({d->Hwnd(), kHostEndWaitMessage, kHostQuitting, 0});
  // A properties dialog runs a loop of its own, which must end first.
  CloseShownProperties();
  g_main_loop_quit(front->loop_);
  return G_SOURCE_CONTINUE;
}

gboolean DesktopFrontEnd::FreeRetired(gpointer self) {
  auto* front = static_cast<DesktopFrontEnd*>(self);
  front->freeing_ = 0;
  // NOTE: inside a modal loop a handler further up may still be running;
  // try again shortly, without spinning while the dialog stays open.
  if (g_main_depth() > 1) {
    front->freeing_ = g_timeout_add(50, &DesktopFrontEnd::FreeRetired, front);
    return G_SOURCE_REMOVE;
  }
  front->retired_.clear();
  return G_SOURCE_REMOVE;
}

void DesktopFrontEnd::SyncAll() {
  // A window's event may run the plug-in, which may post; the queue's own
  // run syncs again afterwards.
  if (syncing_) return;
  syncing_ = true;
  std::map<HWND, std::unique_ptr<DeskletWindow>> kept;
  for (HostDesklet* d : host_.Desklets()) {
    auto it = windows_.find(d->Hwnd());
    if (it == windows_.end()) {
      kept[d->Hwnd()] = std::make_unique<DeskletWindow>(host_, session_, d->Hwnd(), [this] { SyncAll(); });
    } else {
      kept[d->Hwnd()] = std::move(it->second);
    }
  }
  // What is left of the old map are the windows of closed desklets.
  windows_.swap(kept);
  for (auto& [hwnd, window] : kept) {
    if (!window) continue;
    gtk_widget_hide(window->Widget());
    retired_.push_back(std::move(window));
  }
  if (!retired_.empty() && !freeing_) freeing_ = g_idle_add(&DesktopFrontEnd::FreeRetired, this);
  for (auto& [hwnd, window] : windows_) window->Sync();
  syncing_ = false;
  if (windows_.empty() && g_main_loop_is_running(loop_)) g_main_loop_quit(loop_);
}

}  // namespace kivhost
