#include "platform/automation/com_object.h"

namespace automation {

namespace {
std::atomic<long> liveObjects{0};
}

size_t LiveObjectCount() { return static_cast<size_t>(liveObjects.load(std::memory_order_acquire)); }

void detail::CountObject(int delta) { liveObjects.fetch_add(delta, std::memory_order_acq_rel); }

}  // namespace automation
