#include "bench/data/feed_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <utility>

namespace bench {
namespace {

using Clock = std::chrono::steady_clock;
constexpr std::chrono::milliseconds kRequestTimeout{5000};
constexpr std::chrono::milliseconds kHangUpTimeout{2000};
constexpr size_t kLongestHead = 64 * 1024;

// Waits until fd has data (or room, for POLLOUT) or the deadline passes;
// false on time-out or when the stop pipe is written.
bool WaitFor(int fd, short events, int stopFd, Clock::time_point deadline) {
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    pollfd watched[2] = {{stopFd, POLLIN, 0}, {fd, events, 0}};
    const int ready = ::poll(watched, 2, static_cast<int>(left));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0 || watched[0].revents != 0) return false;
    return true;
  }
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

std::string_view Trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The value of the header (names compare without case) in a request head,
// its lines each ending in CRLF.
std::optional<std::string> HeaderValue(const std::string& head, std::string_view name) {
  const std::string wanted = Lower(name);
  size_t start = head.find("\r\n");
  while (start != std::string::npos && start + 2 < head.size()) {
    start += 2;
    const size_t end = head.find("\r\n", start);
    const std::string_view field(head.data() + start, (end == std::string::npos ? head.size() : end) - start);
    if (field.empty()) break;
    const size_t colon = field.find(':');
    if (colon != std::string_view::npos && Lower(Trimmed(field.substr(0, colon))) == wanted)
      return std::string(Trimmed(field.substr(colon + 1)));
    start = end;
  }
  return std::nullopt;
}

// A GET is compared weakly: W/"x" matches "x".
std::string_view Opaque(std::string_view tag) { return tag.starts_with("W/") ? tag.substr(2) : tag; }

bool TagListed(std::string_view list, std::string_view etag) {
  for (size_t start = 0; start <= list.size();) {
    size_t comma = list.find(',', start);
    if (comma == std::string_view::npos) comma = list.size();
    const std::string_view tag = Trimmed(list.substr(start, comma - start));
    if (tag == "*" || (!tag.empty() && Opaque(tag) == Opaque(etag))) return true;
    start = comma + 1;
  }
  return false;
}

std::optional<std::int64_t> ParseHttpDate(const std::string& text) {
  std::tm parts{};
  const char* end = strptime(text.c_str(), "%a, %d %b %Y %H:%M:%S GMT", &parts);
  if (end == nullptr || *end != '\0') return std::nullopt;
  return static_cast<std::int64_t>(timegm(&parts));
}

bool SendAll(int fd, std::string_view bytes, int stopFd) {
  const auto deadline = Clock::now() + kRequestTimeout;
  while (!bytes.empty()) {
    if (!WaitFor(fd, POLLOUT, stopFd, deadline)) return false;
    const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (sent <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(sent));
  }
  return true;
}

void CloseIfOpen(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

}  // namespace

std::string HttpDate(std::int64_t seconds) {
  const std::time_t when = static_cast<std::time_t>(seconds);
  std::tm parts{};
  gmtime_r(&when, &parts);
  char text[64];
  std::strftime(text, sizeof text, "%a, %d %b %Y %H:%M:%S GMT", &parts);
  return text;
}

FeedServer::FeedServer(std::string body, std::string etag, std::int64_t lastModified)
    : body_(std::move(body)), etag_(std::move(etag)), lastModified_(lastModified) {
  auto fail = [this](const char* what) {
    const std::string why = std::string("feed server: ") + what + ": " + std::strerror(errno);
    CloseIfOpen(listener_);
    CloseIfOpen(stopRead_);
    CloseIfOpen(stopWrite_);
    throw std::runtime_error(why);
  };
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) fail("pipe");
  stopRead_ = pipeFds[0];
  stopWrite_ = pipeFds[1];
  listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (listener_ < 0) fail("socket");
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) fail("bind");
  if (::listen(listener_, 16) != 0) fail("listen");
  if (::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) fail("getsockname");
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { Run(); });
}

FeedServer::~FeedServer() {
  const char stop = 1;
  while (::write(stopWrite_, &stop, 1) < 0 && errno == EINTR) {
  }
  thread_.join();
  CloseIfOpen(listener_);
  CloseIfOpen(stopRead_);
  CloseIfOpen(stopWrite_);
}

std::string FeedServer::Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/feed.xml"; }

FeedTraffic FeedServer::Traffic() const {
  return {requests_.load(), notModified_.load(), bytesRead_.load(), bytesWritten_.load()};
}

void FeedServer::Run() {
  for (;;) {
    pollfd watched[2] = {{stopRead_, POLLIN, 0}, {listener_, POLLIN, 0}};
    if (::poll(watched, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (watched[0].revents != 0) return;
    const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) continue;  // the client gave up before it was accepted
    Answer(client);
    ::close(client);
  }
}

void FeedServer::Answer(int client) {
  std::string received;
  char buffer[4096];
  const auto deadline = Clock::now() + kRequestTimeout;
  size_t headEnd;
  while ((headEnd = received.find("\r\n\r\n")) == std::string::npos) {
    if (received.size() > kLongestHead || !WaitFor(client, POLLIN, stopRead_, deadline)) return;
    const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
    if (n <= 0) return;
    received.append(buffer, static_cast<size_t>(n));
  }
  bytesRead_ += received.size();
  ++requests_;
  const std::string response = ResponseTo(received.substr(0, headEnd + 2));
  if (!SendAll(client, response, stopRead_)) return;
  bytesWritten_ += response.size();
  // Half-close and wait for the client to hang up, so that nothing it
  // still has to read is cut off by a reset.
  ::shutdown(client, SHUT_WR);
  const auto hangUp = Clock::now() + kHangUpTimeout;
  while (WaitFor(client, POLLIN, stopRead_, hangUp) && ::recv(client, buffer, sizeof buffer, 0) > 0) {
  }
}

std::string FeedServer::ResponseTo(const std::string& head) {
  const std::string validators = "Last-Modified: " + HttpDate(lastModified_) + "\r\nETag: " + etag_ + "\r\n";
  const std::string common = "Date: " + HttpDate(std::time(nullptr)) + "\r\nConnection: close\r\n";
  if (!head.starts_with("GET "))
    return "HTTP/1.1 405 Method Not Allowed\r\n" + common + "Allow: GET\r\nContent-Length: 0\r\n\r\n";

  // If-None-Match, when sent, decides alone.
  bool unchanged = false;
  if (const auto tags = HeaderValue(head, "If-None-Match")) {
    unchanged = TagListed(*tags, etag_);
  } else if (const auto since = HeaderValue(head, "If-Modified-Since")) {
    const auto when = ParseHttpDate(*since);
    unchanged = when && lastModified_ <= *when;
  }
  if (unchanged) {
    ++notModified_;
    return "HTTP/1.1 304 Not Modified\r\n" + common + validators + "\r\n";
  }
  return "HTTP/1.1 200 OK\r\n" + common + validators +
         "Content-Type: application/rss+xml; charset=UTF-8\r\nContent-Length: " + std::to_string(body_.size()) +
         "\r\n\r\n" + body_;
}

}  // namespace bench
