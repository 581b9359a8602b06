// One remote XML data source of a skin: its address, schedule, cache file
// and the parsed document.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace xml { class Document; }

namespace vorel {

struct TXMLInfo {
  std::string Src;
  std::string CacheFile;
  int32_t Interval = 60;  // minutes; 0 never refreshes on the schedule
  int32_t Counter = 0;    // minutes since the last refresh
  std::shared_ptr<xml::Document> Document;
  bool UseOwnTemp = true;
  std::string OnGetData;
};

}  // namespace vorel
