#include "platform/scriptcontrol/run_budget.h"

#include <time.h>

namespace scriptcontrol {

int64_t RunBudget::ThreadTimeNs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

void RunBudget::Start(int32_t milliseconds) {
  if (milliseconds < 0) {
    deadline_.reset();
    return;
  }
  deadline_ = ThreadTimeNs() + static_cast<int64_t>(milliseconds) * 1'000'000;
}

bool RunBudget::Spent() const { return deadline_ && ThreadTimeNs() > *deadline_; }

std::optional<int64_t> RunBudget::RemainingNs() const {
  if (!deadline_) return std::nullopt;
  return *deadline_ - ThreadTimeNs();
}

}  // namespace scriptcontrol
