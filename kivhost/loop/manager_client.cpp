#include "kivhost/loop/manager_client.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace kivhost {

namespace {

// An owned file descriptor.
class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// A connected socket to `path`, or -1 (errno set) when nobody listens.
int ConnectTo(const std::string& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) throw ManagerError("the socket path is too long: " + path);
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) throw ManagerError(std::string("no socket: ") + std::strerror(errno));
  if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    const int error = errno;
    close(fd);
    errno = error;
    return -1;
  }
  return fd;
}

}  // namespace

bool HostAnswersOn(const std::string& path) {
  const int fd = ConnectTo(path);
  if (fd < 0) return false;
  close(fd);
  return true;
}

std::optional<std::string> AskRunningHost(const std::string& path, const ManagerRequest& request) {
  const int connected = ConnectTo(path);
  if (connected < 0) {
    if (errno == ENOENT || errno == ECONNREFUSED) return std::nullopt;
    throw ManagerError("cannot reach kivhost on " + path + ": " + std::strerror(errno));
  }
  Fd fd(connected);
  // Adding a desklet loads its skin first; that may take a while.
  const timeval wait{60, 0};
  setsockopt(fd.get(), SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
  setsockopt(fd.get(), SOL_SOCKET, SO_SNDTIMEO, &wait, sizeof wait);
  const std::string line = FormatRequest(request) + "\n";
  for (size_t sent = 0; sent < line.size();) {
    const ssize_t n = send(fd.get(), line.data() + sent, line.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw ManagerError(std::string("the request could not be sent: ") + std::strerror(errno));
    sent += static_cast<size_t>(n);
  }
  std::string answer;
  for (;;) {
    char buffer[4096];
    const ssize_t n = recv(fd.get(), buffer, sizeof buffer, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw ManagerError(std::string("no answer from kivhost: ") + std::strerror(errno));
    if (n == 0) break;
    answer.append(buffer, static_cast<size_t>(n));
  }
  if (answer.ends_with("\n")) answer.pop_back();
  const size_t last = answer.rfind('\n');
  const std::string status = answer.substr(last == std::string::npos ? 0 : last + 1);
  answer.resize(last == std::string::npos ? 0 : last + 1);
  if (status == "ok") return answer;
  if (status.starts_with("error: ")) throw ManagerError(status.substr(7));
  throw ManagerError("kivhost gave no proper answer");
}

}  // namespace kivhost
