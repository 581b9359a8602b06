#include "platform/inet/errors.h"

namespace inet {

DownloadError::DownloadError(const std::string& message) : std::runtime_error(message) {}

FileError::FileError(const std::string& message) : std::runtime_error(message) {}

}  // namespace inet
