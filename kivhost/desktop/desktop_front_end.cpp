#include "kivhost/desktop/desktop_front_end.h"

#include <glib-unix.h>

#include <csignal>

#include "kivhost/desktop/gtk_dialogs.h"
#include "kivhost/desktop/queue_source.h"

namespace kivhost {

DesktopFrontEnd::DesktopFrontEnd(Host& host, Session& session)
    : host_(host), session_(session), loop_(g_main_loop_new(nullptr, FALSE)) {}

DesktopFrontEnd::~DesktopFrontEnd() {
  windows_.clear();
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
  // Windows of closed desklets go with the old map.
  windows_.swap(kept);
  kept.clear();
  for (auto& [hwnd, window] : windows_) window->Sync();
  syncing_ = false;
  if (windows_.empty() && g_main_loop_is_running(loop_)) g_main_loop_quit(loop_);
}

}  // namespace kivhost
