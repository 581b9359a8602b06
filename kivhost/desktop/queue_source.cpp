#include "kivhost/desktop/queue_source.h"

namespace kivhost {

struct QueueSource::Source {
  GSource base;
  QueueSource* owner;
};

namespace {
GSourceFuncs kFuncs;
}  // namespace

QueueSource::QueueSource(Host& host, std::function<void()> afterRun) : host_(host), afterRun_(std::move(afterRun)) {
  kFuncs.prepare = &QueueSource::Prepare;
  kFuncs.check = &QueueSource::Check;
  kFuncs.dispatch = &QueueSource::Dispatch;
  source_ = g_source_new(&kFuncs, sizeof(Source));
  reinterpret_cast<Source*>(source_)->owner = this;
  g_source_attach(source_, nullptr);
  // g_main_context_wakeup may be called from any thread.
  host_.queue.SetWakeUp([] { g_main_context_wakeup(nullptr); });
}

QueueSource::~QueueSource() {
  host_.queue.SetWakeUp(nullptr);
  g_source_destroy(source_);
  g_source_unref(source_);
}

gboolean QueueSource::Prepare(GSource* source, gint* timeout) {
  *timeout = -1;
  return reinterpret_cast<Source*>(source)->owner->host_.queue.Size() > 0;
}

gboolean QueueSource::Check(GSource* source) { return reinterpret_cast<Source*>(source)->owner->host_.queue.Size() > 0; }

gboolean QueueSource::Dispatch(GSource* source, GSourceFunc, gpointer) {
  QueueSource& self = *reinterpret_cast<Source*>(source)->owner;
  self.host_.PumpPending();
  if (self.afterRun_) self.afterRun_();
  return G_SOURCE_CONTINUE;
}

}  // namespace kivhost
