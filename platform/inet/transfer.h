// One GET on an easy handle of its own, set up the way every download of
// the system is (agent, protocols, redirects, time-outs, cancel, the
// environment's proxy). The body is handed to a sink block by block; what
// the sink throws stops the transfer and is rethrown to the caller once
// libcurl has let go.
#pragma once

#include <cstddef>
#include <string>

#include "platform/inet/download.h"

namespace inet::detail {

class BodySink {
 public:
  virtual ~BodySink() = default;
  virtual void Write(const char* data, std::size_t size) = 0;
};

// Throws DownloadError when the transfer fails, or what the sink threw.
DownloadResult RunTransfer(const std::string& url, const std::string& agentSuffix, const DownloadOptions& options,
                           BodySink& sink);

}  // namespace inet::detail
