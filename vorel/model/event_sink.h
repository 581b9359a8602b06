// TEventSink: connects the events of a foreign automation object to script
// procedures named by a prefix. The desklet owns its sinks.
#pragma once

#include <string>

namespace vorel {

class TEventSink {
 public:
  virtual ~TEventSink() = default;
  std::string Prefix;
  std::string ProgID;
};

}  // namespace vorel
