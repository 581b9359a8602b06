#include "kivhost/controls/notices.h"

#include "kivhost/controls/control_input.h"
#include "kivhost/controls/control_renderer.h"
#include "kivhost/controls/control_store.h"

namespace kivcontrols {

void RunNotices(ControlStore& store, std::unique_lock<std::mutex>& lock, Notices notices) {
  PresentDirty(store);
  for (const Notice& n : notices) {
    Control* c = store.FindControl(n.control);
    if (!c || c->container == 0) continue;
    Callback callback;
    if (auto it = c->callbacks.find(n.code); it != c->callbacks.end()) callback = it->second;
    int32_t index = n.index;
    if (callback.fn) {
      lock.unlock();
      callback.fn(callback.control, n.code == kSelecting ? &index : nullptr);
      lock.lock();
    }
    if (n.code == kSelecting) {
      // The statement may have chosen another index, or freed the list.
      if (Control* list = store.FindControl(n.control)) SelectItem(*list, index);
    }
    PresentDirty(store);
  }
}

}  // namespace kivcontrols
