// TDataState: the skin's remote XML data sources and whether a fetch is
// under way. The data-source reader fills the list; the fetching worker
// sets `fetching` while it runs.
#pragma once

#include <atomic>
#include <vector>

#include "vorel/model/xml_source_record.h"

namespace vorel {

struct TDataState {
  std::vector<TXMLInfo> xmlSources;
  std::atomic<bool> fetching{false};
};

}  // namespace vorel
