// Notices: the plug-in callbacks an input event leads to, queued while the
// store is locked and run after, in order, without the lock: the plug-in's
// statement may call back into the library, change the control, or free it
// or its whole container. Each notice finds its control again by handle
// and is dropped when the control is gone or out of its container.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/abi/kiv_types.h"

namespace kivcontrols {

class ControlStore;

// Callback codes.
enum NoticeCode : uint32_t {
  kFocusIn = 10,
  kFocusOut = 11,
  kEnterKey = 120,
  kTextChanged = 129,
  kScrolled = 206,
  kSelecting = 311,  // carries the proposed index; the list selects after
};

struct Notice {
  KivHandle control = 0;
  uint32_t code = 0;
  int32_t index = -1;  // kSelecting only
};
using Notices = std::vector<Notice>;

// Runs the notices; `lock` holds the store's mutex on entry and on return.
// The controls' looks are brought up to date before each callback, so a
// statement that reads the control sees what the user sees.
void RunNotices(ControlStore& store, std::unique_lock<std::mutex>& lock, Notices notices);

}  // namespace kivcontrols
