#include "support/http_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <stdexcept>

namespace testing_support {
namespace {

using std::chrono::milliseconds;

// How long a client may take to send its request, and to hang up after the
// response. Generous: tests run on slow, busy machines.
constexpr milliseconds kRequestTimeout{10000};
constexpr milliseconds kHangUpTimeout{2000};
constexpr std::size_t kMaxRequestHead = 64 * 1024;
constexpr std::size_t kSendPiece = 64 * 1024;

enum class Wait { kReady, kTimedOut, kStopping };

// Waits for events on fd, or for the server to stop; a negative timeout
// waits without limit.
Wait WaitFor(int fd, short events, int stopFd, milliseconds timeout) {
  pollfd watched[2] = {{stopFd, POLLIN, 0}, {fd, events, 0}};
  const int count = fd >= 0 ? 2 : 1;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    int wait = -1;
    if (timeout.count() >= 0) {
      const auto left = std::chrono::duration_cast<milliseconds>(deadline - std::chrono::steady_clock::now());
      wait = static_cast<int>(std::max<milliseconds::rep>(left.count(), 0));
    }
    const int ready = ::poll(watched, count, wait);
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0) throw std::runtime_error(std::string("http server: poll failed: ") + std::strerror(errno));
    if (watched[0].revents != 0) return Wait::kStopping;
    if (ready == 0) return Wait::kTimedOut;
    return Wait::kReady;
  }
}

// Sends everything unless the client goes away or the server stops; false
// then. A client hanging up early is something tests do on purpose
// (cancelled or refused downloads), so it is not an error here.
bool SendAll(int client, std::string_view bytes, int stopFd) {
  while (!bytes.empty()) {
    if (WaitFor(client, POLLOUT, stopFd, milliseconds(-1)) == Wait::kStopping) return false;
    const ssize_t sent = ::send(client, bytes.data(), std::min(bytes.size(), kSendPiece), MSG_NOSIGNAL);
    if (sent < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (sent <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(sent));
  }
  return true;
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The request head ("line\r\nheaders\r\n\r\n") parsed; nullopt when malformed.
std::optional<HttpRequest> ParseHead(const std::string& head) {
  HttpRequest request;
  std::size_t lineEnd = head.find("\r\n");
  request.line = head.substr(0, lineEnd);
  const auto firstSpace = request.line.find(' ');
  const auto lastSpace = request.line.rfind(' ');
  if (firstSpace == std::string::npos || lastSpace == firstSpace) return std::nullopt;
  request.method = request.line.substr(0, firstSpace);
  request.target = request.line.substr(firstSpace + 1, lastSpace - firstSpace - 1);
  std::size_t start = lineEnd + 2;
  while (start < head.size()) {
    const std::size_t end = head.find("\r\n", start);
    if (end == std::string::npos || end == start) break;
    const std::string field = head.substr(start, end - start);
    const auto colon = field.find(':');
    if (colon == std::string::npos) return std::nullopt;
    request.headers.emplace_back(field.substr(0, colon), Trimmed(field.substr(colon + 1)));
    start = end + 2;
  }
  return request;
}

// Reads a request head and its body, if it announces one.
std::optional<HttpRequest> ReadRequest(int client, int stopFd) {
  std::string received;
  std::size_t headEnd = std::string::npos;
  char buffer[4096];
  const auto deadline = std::chrono::steady_clock::now() + kRequestTimeout;
  auto receiveMore = [&]() -> bool {
    const auto left = std::chrono::duration_cast<milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0 || WaitFor(client, POLLIN, stopFd, left) != Wait::kReady) return false;
    const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
    if (n <= 0) return false;
    received.append(buffer, static_cast<std::size_t>(n));
    return true;
  };
  while ((headEnd = received.find("\r\n\r\n")) == std::string::npos) {
    if (received.size() > kMaxRequestHead || !receiveMore()) return std::nullopt;
  }
  std::optional<HttpRequest> request = ParseHead(received.substr(0, headEnd + 2));
  if (!request) return std::nullopt;
  const std::string announced = request->Header("Content-Length");
  const std::size_t length = announced.empty() ? 0 : std::stoul(announced);
  while (received.size() - (headEnd + 4) < length)
    if (!receiveMore()) return std::nullopt;
  request->body = received.substr(headEnd + 4, length);
  return request;
}

const char* Reason(int status) {
  switch (status) {
    case 200: return "OK";
    case 204: return "No Content";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 303: return "See Other";
    case 307: return "Temporary Redirect";
    case 308: return "Permanent Redirect";
    case 400: return "Bad Request";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    case 503: return "Service Unavailable";
    default: return "Status";
  }
}

std::string ResponseHead(const HttpResponse& response) {
  std::string head = "HTTP/1.1 " + std::to_string(response.status) + " " + Reason(response.status) + "\r\n";
  head += "Connection: close\r\n";
  if (!response.location.empty()) head += "Location: " + response.location + "\r\n";
  for (const auto& [name, value] : response.headers) head += name + ": " + value + "\r\n";
  if (response.chunkSize > 0)
    head += "Transfer-Encoding: chunked\r\n";
  else
    head += "Content-Length: " + std::to_string(response.body.size()) + "\r\n";
  return head + "\r\n";
}

std::string Chunked(const std::string& body, std::size_t chunkSize) {
  std::string out;
  char size[32];
  for (std::size_t at = 0; at < body.size(); at += chunkSize) {
    const std::size_t length = std::min(chunkSize, body.size() - at);
    std::snprintf(size, sizeof size, "%zx\r\n", length);
    out += size;
    out.append(body, at, length);
    out += "\r\n";
  }
  return out + "0\r\n\r\n";
}

// Waits for the client to close its side (or the server to stop),
// discarding anything it still sends.
void AwaitHangUp(int client, int stopFd, milliseconds timeout) {
  char buffer[4096];
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    milliseconds left = timeout;
    if (timeout.count() >= 0) {
      left = std::chrono::duration_cast<milliseconds>(deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) return;
    }
    if (WaitFor(client, POLLIN, stopFd, left) != Wait::kReady) return;
    if (::recv(client, buffer, sizeof buffer, 0) <= 0) return;
  }
}

}  // namespace

std::string HttpRequest::Header(const std::string& name) const {
  const std::string wanted = Lower(name);
  for (const auto& [key, value] : headers)
    if (Lower(key) == wanted) return value;
  return {};
}

HttpServer::HttpServer() {
  fallback_.status = 404;
  fallback_.body = "not found";

  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0)
    throw std::runtime_error(std::string("http server: pipe failed: ") + std::strerror(errno));
  stopRead_ = UniqueFd(pipeFds[0]);
  stopWrite_ = UniqueFd(pipeFds[1]);

  listener_ = UniqueFd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!listener_.Valid()) throw std::runtime_error(std::string("http server: socket failed: ") + std::strerror(errno));
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (::bind(listener_.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listener_.Get(), 64) != 0 ||
      ::getsockname(listener_.Get(), reinterpret_cast<sockaddr*>(&address), &length) != 0)
    throw std::runtime_error(std::string("http server: cannot listen on loopback: ") + std::strerror(errno));
  port_ = ntohs(address.sin_port);
  acceptor_ = std::thread([this] { Accept(); });
}

HttpServer::~HttpServer() {
  const char stop = 1;
  while (::write(stopWrite_.Get(), &stop, 1) < 0 && errno == EINTR) {
  }
  acceptor_.join();
  // The acceptor is gone: no thread is added any more.
  for (std::thread& client : clients_) client.join();
}

void HttpServer::Route(const std::string& target, HttpResponse response) {
  std::lock_guard lock(mutex_);
  routes_[target] = std::move(response);
}

void HttpServer::SetFallback(HttpResponse response) {
  std::lock_guard lock(mutex_);
  fallback_ = std::move(response);
}

std::string HttpServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<HttpRequest> HttpServer::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

bool HttpServer::WaitForRequests(std::size_t count, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return requestArrived_.wait_for(lock, timeout, [&] { return requests_.size() >= count; });
}

HttpResponse HttpServer::ResponseFor(const std::string& target) const {
  std::lock_guard lock(mutex_);
  const auto found = routes_.find(target);
  return found != routes_.end() ? found->second : fallback_;
}

void HttpServer::Accept() {
  for (;;) {
    if (WaitFor(listener_.Get(), POLLIN, stopRead_.Get(), milliseconds(-1)) == Wait::kStopping) return;
    UniqueFd client(::accept4(listener_.Get(), nullptr, nullptr, SOCK_CLOEXEC));
    if (!client.Valid()) {
      if (errno == EINTR || errno == EAGAIN || errno == ECONNABORTED) continue;  // the client gave up
      // Clients now fail to connect; say why for the test that sees it.
      std::fprintf(stderr, "http server: accept failed, no more connections: %s\n", std::strerror(errno));
      return;
    }
    ++connections_;
    std::lock_guard lock(mutex_);
    clients_.emplace_back([this, fd = std::move(client)]() mutable { Serve(std::move(fd)); });
  }
}

void HttpServer::Serve(UniqueFd client) {
  const int fd = client.Get();
  const int stopFd = stopRead_.Get();
  std::optional<HttpRequest> request = ReadRequest(fd, stopFd);
  if (!request) return;
  const std::string target = request->target;
  {
    std::lock_guard lock(mutex_);
    requests_.push_back(std::move(*request));
  }
  requestArrived_.notify_all();

  const HttpResponse response = ResponseFor(target);
  if (response.delay.count() > 0 && WaitFor(-1, 0, stopFd, response.delay) == Wait::kStopping) return;

  if (response.stall) {
    const std::string start = ResponseHead(response) + response.body.substr(0, response.stallAfterBytes);
    if (SendAll(fd, start, stopFd)) AwaitHangUp(fd, stopFd, milliseconds(-1));
    return;
  }
  const std::string body = response.chunkSize > 0 ? Chunked(response.body, response.chunkSize) : response.body;
  if (!SendAll(fd, ResponseHead(response), stopFd) || !SendAll(fd, body, stopFd)) return;
  // Half-close and let the client hang up first, so that nothing it still
  // has to read is cut off by a reset.
  ::shutdown(fd, SHUT_WR);
  AwaitHangUp(fd, stopFd, kHangUpTimeout);
}

}  // namespace testing_support
