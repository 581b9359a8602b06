#include "platform/inet/download.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/inet/transfer.h"

namespace inet {
namespace {

[[noreturn]] void ThrowFileError(const char* what, const std::string& path, int error) {
  throw FileError(std::string("inet: cannot ") + what + " \"" + path + "\": " + std::strerror(error));
}

// The output file, created before the transfer starts so that a path that
// cannot be written costs no request.
class FileSink : public detail::BodySink {
 public:
  explicit FileSink(const std::string& path) : path_(path) {
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd_ < 0) ThrowFileError("create", path_, errno);
  }
  ~FileSink() override {
    if (fd_ >= 0) ::close(fd_);  // only after a failure, which is already being reported
  }
  FileSink(const FileSink&) = delete;
  FileSink& operator=(const FileSink&) = delete;

  void Write(const char* data, std::size_t size) override {
    while (size > 0) {
      const ssize_t written = ::write(fd_, data, size);
      if (written < 0 && errno == EINTR) continue;
      if (written < 0) ThrowFileError("write", path_, errno);
      data += written;
      size -= static_cast<std::size_t>(written);
    }
  }

  // close() is where some file systems report a failed write.
  void Finish() {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) ThrowFileError("write", path_, errno);
  }

 private:
  std::string path_;
  int fd_ = -1;
};

class MemorySink : public detail::BodySink {
 public:
  MemorySink(const std::string& url, std::size_t maxBytes) : url_(url), maxBytes_(maxBytes) {}

  void Write(const char* data, std::size_t size) override {
    if (size > maxBytes_ - body_.size())
      throw DownloadError("inet: cannot download \"" + url_ + "\": the body is larger than " +
                          std::to_string(maxBytes_) + " bytes");
    body_.append(data, size);
  }

  std::string TakeBody() { return std::move(body_); }

 private:
  const std::string& url_;
  std::size_t maxBytes_;
  std::string body_;
};

}  // namespace

DownloadResult DownloadToFile(const std::string& url, const std::string& path, const std::string& agentSuffix,
                              const DownloadOptions& options) {
  FileSink file(path);
  DownloadResult result = detail::RunTransfer(url, agentSuffix, options, file);
  file.Finish();
  return result;
}

std::string EscapeBlanks(std::string address) {
  for (size_t at = address.find(' '); at != std::string::npos; at = address.find(' ', at + 3))
    address.replace(at, 1, "%20");
  return address;
}

MemoryDownload DownloadToMemory(const std::string& url, const std::string& agentSuffix,
                                const DownloadOptions& options) {
  MemorySink memory(url, options.maxBytes);
  MemoryDownload download;
  download.result = detail::RunTransfer(url, agentSuffix, options, memory);
  download.body = memory.TakeBody();
  return download;
}

}  // namespace inet
