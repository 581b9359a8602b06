// The failures of a download that callers tell apart: the transfer itself
// failed (bad address, refused or timed-out connection, a stalled or
// cancelled transfer, a redirect to a refused protocol, a body over the
// limit), or the local file could not be created or written. Each message
// names the address or the path it is about.
#pragma once

#include <stdexcept>
#include <string>

namespace inet {

class DownloadError : public std::runtime_error {
 public:
  explicit DownloadError(const std::string& message);
};

class FileError : public std::runtime_error {
 public:
  explicit FileError(const std::string& message);
};

}  // namespace inet
