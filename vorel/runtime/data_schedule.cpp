#include "vorel/runtime/data_schedule.h"

#include <chrono>
#include <memory>

#include "platform/win/win_services.h"
#include "vorel/host/messages.h"
#include "vorel/model/desklet.h"

namespace vorel {

bool CountDataMinute(std::vector<TXMLInfo>& sources) {
  bool due = false;
  for (TXMLInfo& source : sources) {
    if (source.Interval == 0) continue;
    if (source.Counter + 1 >= source.Interval) due = true;
    ++source.Counter;
  }
  return due;
}

void StartDataDueCheck(TDeskletObject& desklet) {
  if (desklet.data.xmlSources.empty()) return;
  TDataState* data = &desklet.data;
  const HWND window = desklet.windowHandle;
  // NOTE: the fetch itself is started from the window thread, which
  // expands the addresses; the count runs here.
  auto check = std::make_unique<TCallThread>(window, std::chrono::milliseconds(0), [data, window] {
    bool due = false;
    {
      std::lock_guard guard(data->lock);
      due = CountDataMinute(data->xmlSources);
    }
    if (due && !data->fetching) win::PostMessage(window, MSG_FETCH_DATA, 0, 0);
  });
  check->Start();
  desklet.threads.Add(std::move(check));
}

}  // namespace vorel
