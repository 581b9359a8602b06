#include "vorel/runtime/data_schedule.h"

#include <chrono>
#include <memory>

#include "vorel/model/desklet.h"
#include "vorel/util/errors.h"

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

void StartFirstFetch(TDeskletObject& desklet) {
  if (desklet.data.xmlSources.empty()) return;
  auto fetch = std::make_unique<TCallThread>(desklet.windowHandle, std::chrono::milliseconds(0),
                                             [] { NotImplemented("fetching remote XML data"); });
  fetch->Start();
  desklet.threads.Add(std::move(fetch));
}

void StartDataDueCheck(TDeskletObject& desklet) {
  if (desklet.data.xmlSources.empty()) return;
  TDeskletObject* d = &desklet;
  auto check = std::make_unique<TCallThread>(desklet.windowHandle, std::chrono::milliseconds(0), [d] {
    if (CountDataMinute(d->data.xmlSources) && !d->data.fetching) NotImplemented("fetching remote XML data");
  });
  check->Start();
  desklet.threads.Add(std::move(check));
}

}  // namespace vorel
