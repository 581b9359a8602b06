#include "platform/util/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace kiv {

namespace {

constexpr std::string_view kTemporaryMarker = ".tmp-";
constexpr std::string_view kUniqueEnding = "XXXXXX";  // what mkostemp fills in

[[noreturn]] void Fail(const char* step, int error) {
  throw std::runtime_error(std::string(step) + " (" + std::strerror(error) + ")");
}

// The descriptor of a temporary being written, and its name: closed, and
// the file removed, unless the write went through.
class PendingTemporary {
 public:
  explicit PendingTemporary(const std::string& path)
      : name_(path + std::string(kTemporaryMarker) + std::string(kUniqueEnding)) {
    fd_ = ::mkostemp(name_.data(), O_CLOEXEC);
    if (fd_ < 0) Fail("cannot create a temporary file", errno);
  }
  ~PendingTemporary() {
    if (fd_ >= 0) ::close(fd_);
    if (!kept_) ::unlink(name_.c_str());
  }
  PendingTemporary(const PendingTemporary&) = delete;
  PendingTemporary& operator=(const PendingTemporary&) = delete;

  int Fd() const { return fd_; }
  const std::string& Name() const { return name_; }
  void Close() {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) Fail("cannot finish the temporary file", errno);
  }
  void Keep() { kept_ = true; }

 private:
  std::string name_;
  int fd_ = -1;
  bool kept_ = false;
};

}  // namespace

bool IsTemporaryName(std::string_view fileName) {
  const size_t tail = kTemporaryMarker.size() + kUniqueEnding.size();
  return fileName.size() > tail && fileName.substr(fileName.size() - tail, kTemporaryMarker.size()) == kTemporaryMarker;
}

std::string MakeTemporaryBeside(const std::string& path) {
  PendingTemporary temporary(path);
  temporary.Close();
  temporary.Keep();
  return temporary.Name();
}

void ReplaceFileContent(const std::string& path, std::string_view bytes) {
  PendingTemporary temporary(path);
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = ::write(temporary.Fd(), bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) Fail("cannot write the temporary file", errno);
    done += static_cast<size_t>(written);
  }
  // mkstemp makes the file private; keep the mode of the file replaced.
  struct stat existing {};
  const mode_t mode = ::stat(path.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : 0644;
  if (::fchmod(temporary.Fd(), mode) != 0) Fail("cannot set the temporary file's mode", errno);
  // The bytes must be on the disk before the rename makes them the file.
  if (::fsync(temporary.Fd()) != 0) Fail("cannot flush the temporary file", errno);
  temporary.Close();
  if (::rename(temporary.Name().c_str(), path.c_str()) != 0) Fail("cannot replace the file", errno);
  temporary.Keep();
}

}  // namespace kiv
