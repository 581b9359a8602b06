// A real HTTP/1.1 server on 127.0.0.1 for tests: it listens on a free port,
// serves each connection on a thread of its own and answers from routes
// the test sets up -- a status and body, extra headers, a redirect, a
// delay, a chunked body, or headers followed by silence. It records every
// request (request line and headers) and counts the connections it
// accepted, so that a test can check what a client sent, or that nothing
// was sent at all. Each response closes its connection.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "support/unique_fd.h"

namespace testing_support {

struct HttpResponse {
  // Every member has a default so that routes name only what they need,
  // HttpResponse{.status = 404}, without warnings about the rest.
  int status = 200;
  std::string body{};
  std::vector<std::pair<std::string, std::string>> headers{};
  // Sent as the Location header when not empty.
  std::string location{};
  // Waited before anything is sent.
  std::chrono::milliseconds delay{0};
  // Sends the status line, the headers (announcing the whole body) and the
  // first stallAfterBytes bytes of the body, then nothing more until the
  // client hangs up or the server stops.
  bool stall = false;
  std::size_t stallAfterBytes = 0;
  // Sends the body in chunks of this size (Transfer-Encoding: chunked)
  // instead of announcing its length; 0 sends it in one piece.
  std::size_t chunkSize = 0;
};

struct HttpRequest {
  std::string line;    // "GET /x HTTP/1.1"
  std::string method;  // "GET"
  std::string target;  // "/x", or "http://host/x" when asked as a proxy
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;

  // The value of a header (names compare without case), "" when absent.
  std::string Header(const std::string& name) const;
};

class HttpServer {
 public:
  // Throws std::runtime_error when no socket can be opened. Until routes
  // are set, every request is answered with 404.
  HttpServer();
  // Stops serving, cutting short delays and stalls, and joins every thread.
  ~HttpServer();
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;

  // target is matched exactly against the request target: a path ("/x")
  // for direct requests, a whole address for requests sent to a proxy.
  void Route(const std::string& target, HttpResponse response);
  // The answer for targets without a route.
  void SetFallback(HttpResponse response);

  int Port() const { return port_; }
  std::string Url(const std::string& path) const;

  std::vector<HttpRequest> Requests() const;
  int Connections() const { return connections_.load(); }
  // Waits until at least count requests were received; false on time-out.
  bool WaitForRequests(std::size_t count, std::chrono::milliseconds timeout) const;

 private:
  void Accept();
  void Serve(UniqueFd client);
  HttpResponse ResponseFor(const std::string& target) const;

  UniqueFd listener_;
  int port_ = 0;
  // Written once at shutdown; every wait of the server also polls it.
  UniqueFd stopRead_;
  UniqueFd stopWrite_;
  std::atomic<int> connections_{0};

  mutable std::mutex mutex_;
  mutable std::condition_variable requestArrived_;
  std::map<std::string, HttpResponse> routes_;
  HttpResponse fallback_;
  std::vector<HttpRequest> requests_;
  std::vector<std::thread> clients_;

  std::thread acceptor_;
};

}  // namespace testing_support
