// QueueSource: the host's message queue as a source of GLib's main loop.
// A thread that posts wakes the loop; the loop then runs every queued item
// on the window thread and calls `afterRun`, so that windows can follow
// what the plug-in changed. Nothing wakes the loop while nothing is queued.
#pragma once

#include <glib.h>

#include <functional>

#include "kivhost/loop/host.h"

namespace kivhost {

class QueueSource {
 public:
  QueueSource(Host& host, std::function<void()> afterRun);
  ~QueueSource();
  QueueSource(const QueueSource&) = delete;
  QueueSource& operator=(const QueueSource&) = delete;

 private:
  struct Source;
  static gboolean Prepare(GSource* source, gint* timeout);
  static gboolean Check(GSource* source);
  static gboolean Dispatch(GSource* source, GSourceFunc, gpointer);

  Host& host_;
  std::function<void()> afterRun_;
  GSource* source_ = nullptr;
};

}  // namespace kivhost
