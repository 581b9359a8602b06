#include "kivhost/desktop/desktop_front_end.h"

#include <glib-unix.h>

#include <csignal>

#include "kivhost/desktop/gtk_dialogs.h"
#include "kivhost/desktop/queue_source.h"

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
  const guint term = g_unix_signal_add(SIGTERM, &DesktopFrontEnd::OnSignal, this);
  const guint interrupt = g_unix_signal_add(SIGINT, &DesktopFrontEnd::OnSignal, this);
  SyncAll();
  if (!windows_.empty()) g_main_loop_run(loop_);
  g_source_remove(term);
  g_source_remove(interrupt);
  host_.SetAsker(nullptr);
}

gboolean DesktopFrontEnd::OnSignal(gpointer self) {
  g_main_loop_quit(static_cast<DesktopFrontEnd*>(self)->loop_);
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
