// TDataState: the skin's remote XML data sources and the fetching of them.
// The data-source reader fills the list at load, on the window thread;
// scripts add and delete sources there too, but only while no fetch runs
// (runtime/xml_sources.h), so a fetch sees the list's length unchanged.
// Scripts change Src, Interval and UseOwnTemp on the window thread under
// `lock`, and fetches read them under it; OnGetData belongs to the window
// thread. CacheFile, Counter and Document change while the desklet runs,
// on fetching workers as well as on the window thread: they are read and
// written under `lock` only, and a Document, once published, is replaced
// rather than changed, so that a reader keeps a whole document.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include "vorel/model/xml_source_record.h"

namespace vorel {

struct TDataState {
  std::vector<TXMLInfo> xmlSources;
  mutable std::mutex lock;
  // A download is under way; whoever finds it set fetches nothing.
  std::atomic<bool> fetching{false};
  // The desklet goes, or loads its skin again: downloads stop, fetches end.
  std::atomic<bool> stopping{false};
  // Fetches running on any thread, so that a new load can wait them out.
  std::atomic<int> activeFetches{0};

  // The source's document as it is now; null beyond the list.
  std::shared_ptr<xml::Document> DocumentOf(size_t position) const {
    std::lock_guard guard(lock);
    return position < xmlSources.size() ? xmlSources[position].Document : nullptr;
  }
};

}  // namespace vorel
