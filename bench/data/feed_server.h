// A loopback HTTP/1.1 server for one feed with its validators, an ETag and
// a Last-Modified time. A GET whose If-None-Match names the tag (or "*"),
// or that has no If-None-Match and an If-Modified-Since not before the
// feed's time, is answered 304 without a body; any other GET gets 200 and
// the feed. Every byte read and written is counted, so that a benchmark
// can tell what a fetch put on the wire at the HTTP level (TCP and IP
// headers are not counted). Connections are served one at a time, and
// each is closed after its response, as a download that makes its own
// connection needs nothing more.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

namespace bench {

struct FeedTraffic {
  std::uint64_t requests = 0;
  std::uint64_t notModified = 0;
  std::uint64_t bytesRead = 0;     // request heads
  std::uint64_t bytesWritten = 0;  // response heads and bodies
};

class FeedServer {
 public:
  // Throws std::runtime_error when it cannot listen on 127.0.0.1.
  FeedServer(std::string body, std::string etag, std::int64_t lastModified);
  ~FeedServer();
  FeedServer(const FeedServer&) = delete;
  FeedServer& operator=(const FeedServer&) = delete;

  std::string Url() const;
  FeedTraffic Traffic() const;

 private:
  void Run();
  void Answer(int client);
  std::string ResponseTo(const std::string& head);

  const std::string body_;
  const std::string etag_;
  const std::int64_t lastModified_;
  int listener_ = -1;
  int port_ = 0;
  int stopRead_ = -1;
  int stopWrite_ = -1;
  std::atomic<std::uint64_t> requests_{0};
  std::atomic<std::uint64_t> notModified_{0};
  std::atomic<std::uint64_t> bytesRead_{0};
  std::atomic<std::uint64_t> bytesWritten_{0};
  std::thread thread_;
};

// Seconds since the epoch as an HTTP date ("Tue, 14 Nov 2023 22:13:20 GMT").
std::string HttpDate(std::int64_t seconds);

}  // namespace bench
