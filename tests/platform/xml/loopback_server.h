// A real HTTP server on 127.0.0.1 for tests that must prove nothing calls
// out: it answers every request with a small XML document and counts the
// connections it accepted.
#pragma once

#include <atomic>
#include <string>
#include <thread>

namespace xmltest {

class LoopbackServer {
 public:
  LoopbackServer();  // throws std::runtime_error when no socket can be opened
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  std::string Url(const std::string& path) const;
  int Connections() const { return connections_.load(); }
  static constexpr const char* kBodyMarker = "NETWORK-CONTENT-7f3a";

 private:
  void Serve();

  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::atomic<int> connections_{0};
  std::thread thread_;
};

}  // namespace xmltest
