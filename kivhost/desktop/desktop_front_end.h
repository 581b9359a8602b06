// DesktopFrontEnd: runs a session on the desktop. Each desklet gets a
// window; the host's queue runs inside GTK's main loop; windows follow the
// model after every queued item and every input event. It runs until the
// last desklet is closed, or SIGTERM or SIGINT asks it to end.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "kivhost/desktop/desklet_window.h"
#include "kivhost/loop/session.h"

namespace kivhost {

class DesktopFrontEnd {
 public:
  // GTK must have been initialised.
  DesktopFrontEnd(Host& host, Session& session);
  ~DesktopFrontEnd();
  DesktopFrontEnd(const DesktopFrontEnd&) = delete;
  DesktopFrontEnd& operator=(const DesktopFrontEnd&) = delete;

  void Run();
  // Opens windows for new desklets, drops those of closed ones and brings
  // every window in line with its desklet. Ends the loop when no desklet
  // is left.
  void SyncAll();
  size_t WindowCount() const { return windows_.size(); }

 private:
  static gboolean OnSignal(gpointer self);
  // Frees the windows of closed desklets once no event handler of theirs
  // can be running: from the main loop itself, outside any modal loop.
  static gboolean FreeRetired(gpointer self);

  Host& host_;
  Session& session_;
  std::map<HWND, std::unique_ptr<DeskletWindow>> windows_;
  // Windows of closed desklets, hidden, waiting to be freed: a desklet may
  // close while one of its window's handlers runs a modal loop (a menu, a
  // dialog) further up the stack.
  std::vector<std::unique_ptr<DeskletWindow>> retired_;
  guint freeing_ = 0;
  GMainLoop* loop_ = nullptr;
  bool syncing_ = false;
};

}  // namespace kivhost
