// Downloads that fail: refused protocols, unreachable servers, stalls,
// cancelling, and files that cannot be written.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>

#include "inet_fixture.h"
#include "platform/inet/download.h"
#include "support/unique_fd.h"

namespace {

using std::chrono::seconds;
using std::chrono::steady_clock;
using testing::HasSubstr;
using testing::Not;
using testing_support::HttpResponse;
using testing_support::UniqueFd;

class InetFailure : public inettest::InetFixture {};

// A loopback port that refuses connections for as long as the object
// lives: bound, so nobody else takes it, but not listening.
class RefusingPort {
 public:
  RefusingPort() : socket_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (!socket_.Valid() || ::bind(socket_.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(socket_.Get(), reinterpret_cast<sockaddr*>(&address), &length) != 0)
      throw std::runtime_error("cannot bind a loopback port");
    port_ = ntohs(address.sin_port);
  }
  std::string Url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }

 private:
  UniqueFd socket_;
  int port_ = 0;
};

// A loopback port whose connections never complete: it listens with no
// room in its accept queue and never accepts, and the queue is filled, so
// the kernel drops further connection requests unanswered.
class UnansweredPort {
 public:
  UnansweredPort() : listener_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (!listener_.Valid() || ::bind(listener_.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_.Get(), 0) != 0 ||
        ::getsockname(listener_.Get(), reinterpret_cast<sockaddr*>(&address), &length) != 0)
      throw std::runtime_error("cannot listen on a loopback port");
    port_ = ntohs(address.sin_port);
    for (UniqueFd& filler : fillers_) {
      filler = UniqueFd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
      if (!filler.Valid()) throw std::runtime_error("cannot open a socket");
      ::connect(filler.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address);  // completes or waits
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  std::string Url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }

 private:
  UniqueFd listener_;
  UniqueFd fillers_[3];
  int port_ = 0;
};

// The DownloadError a call throws, or nullopt when it throws nothing.
template <typename Call>
std::optional<std::string> DownloadFailure(Call call) {
  try {
    call();
  } catch (const inet::DownloadError& e) {
    return std::string(e.what());
  }
  return std::nullopt;
}

double SecondsSince(steady_clock::time_point start) {
  return std::chrono::duration<double>(steady_clock::now() - start).count();
}

TEST_F(InetFailure, RedirectsAwayFromHttpAreRefused) {
  const std::string secret = folder_.Write("secret.txt", "SECRET-91b2");
  server_.Route("/to-file", HttpResponse{.status = 302, .location = "file://" + secret});
  const std::string ftp = "ftp://127.0.0.1:" + std::to_string(server_.Port()) + "/x";
  server_.Route("/to-ftp", HttpResponse{.status = 302, .location = ftp});
  for (const char* route : {"/to-file", "/to-ftp"}) {
    const std::string path = folder_.File("out");
    const auto failure = DownloadFailure([&] { inet::DownloadToFile(server_.Url(route), path, "Test"); });
    ASSERT_TRUE(failure) << route;
    EXPECT_THAT(*failure, HasSubstr(server_.Url(route)));
    EXPECT_THAT(Read(path), Not(HasSubstr("SECRET-91b2")));
  }
  // The ftp address names this server: it would have seen a third connection.
  EXPECT_EQ(server_.Connections(), 2);
}

TEST_F(InetFailure, OnlyHttpAddressesAreFetched) {
  const std::string secret = folder_.Write("secret.txt", "SECRET-91b2");
  EXPECT_THROW(inet::DownloadToMemory("file://" + secret, "Test"), inet::DownloadError);
  EXPECT_THROW(inet::DownloadToMemory("ftp://127.0.0.1:" + std::to_string(server_.Port()) + "/x", "Test"),
               inet::DownloadError);
  EXPECT_EQ(server_.Connections(), 0);
}

TEST_F(InetFailure, MalformedAddressesFail) {
  const auto failure = DownloadFailure([&] { inet::DownloadToMemory("http://[zz/", "Test"); });
  ASSERT_TRUE(failure);
  EXPECT_THAT(*failure, HasSubstr("http://[zz/"));
}

TEST_F(InetFailure, ARefusedConnectionFailsAtOnce) {
  RefusingPort closed;
  const auto start = steady_clock::now();
  const auto failure = DownloadFailure([&] { inet::DownloadToFile(closed.Url("/x"), folder_.File("x"), "Test"); });
  ASSERT_TRUE(failure);
  EXPECT_THAT(*failure, HasSubstr(closed.Url("/x")));
  EXPECT_LT(SecondsSince(start), 10.0);
}

TEST_F(InetFailure, AConnectionThatIsNeverAnsweredTimesOut) {
  UnansweredPort silent;
  inet::DownloadOptions options;
  options.connectTimeoutSeconds = 1;
  options.stallSeconds = 600;
  const auto start = steady_clock::now();
  const auto failure = DownloadFailure([&] { inet::DownloadToMemory(silent.Url("/x"), "Test", options); });
  ASSERT_TRUE(failure);
  EXPECT_THAT(*failure, HasSubstr(silent.Url("/x")));
  // Only the connect time-out can end it this soon: libcurl's own limit is
  // 300 s and the stall limit is far away.
  EXPECT_LT(SecondsSince(start), 30.0);
}

TEST_F(InetFailure, AStalledTransferFails) {
  server_.Route("/stall", HttpResponse{.body = std::string(1000, 'a'), .stall = true, .stallAfterBytes = 10});
  inet::DownloadOptions options;
  options.stallSeconds = 1;
  const std::string path = folder_.File("stall");
  const auto start = steady_clock::now();
  const auto failure = DownloadFailure([&] { inet::DownloadToFile(server_.Url("/stall"), path, "Test", options); });
  ASSERT_TRUE(failure);
  EXPECT_THAT(*failure, HasSubstr(server_.Url("/stall")));
  EXPECT_LT(SecondsSince(start), 20.0);
  EXPECT_EQ(Read(path), std::string(10, 'a'));  // what arrived is kept
}

TEST_F(InetFailure, ASilentServerFailsLikeAStall) {
  server_.Route("/late", HttpResponse{.body = "late", .delay = std::chrono::minutes(5)});
  inet::DownloadOptions options;
  options.stallSeconds = 1;
  const auto start = steady_clock::now();
  EXPECT_THROW(inet::DownloadToMemory(server_.Url("/late"), "Test", options), inet::DownloadError);
  EXPECT_LT(SecondsSince(start), 20.0);
}

TEST_F(InetFailure, CancellingStopsADownloadPromptly) {
  server_.Route("/stall", HttpResponse{.body = std::string(1000, 'a'), .stall = true, .stallAfterBytes = 10});
  std::atomic<bool> cancel{false};
  inet::DownloadOptions options;
  options.stallSeconds = 600;
  options.cancel = &cancel;
  std::optional<std::string> failure;
  std::thread download([&] {
    failure = DownloadFailure([&] { inet::DownloadToFile(server_.Url("/stall"), folder_.File("x"), "Test", options); });
  });
  const bool asked = server_.WaitForRequests(1, seconds(30));
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  const auto start = steady_clock::now();
  cancel = true;
  download.join();
  const double took = SecondsSince(start);
  ASSERT_TRUE(asked);
  ASSERT_TRUE(failure);
  EXPECT_THAT(*failure, HasSubstr("cancel"));
  EXPECT_LT(took, 10.0);
}

TEST_F(InetFailure, ACancelledDownloadDoesNotStart) {
  std::atomic<bool> cancel{true};
  inet::DownloadOptions options;
  options.cancel = &cancel;
  server_.Route("/x", HttpResponse{.body = "x"});
  EXPECT_THROW(inet::DownloadToMemory(server_.Url("/x"), "Test", options), inet::DownloadError);
  EXPECT_EQ(server_.Connections(), 0);
}

TEST_F(InetFailure, AFileThatCannotBeCreatedCostsNoRequest) {
  server_.Route("/x", HttpResponse{.body = "x"});
  const std::string path = folder_.File("missing/folder/x.txt");
  try {
    inet::DownloadToFile(server_.Url("/x"), path, "Test");
    ADD_FAILURE() << "no FileError";
  } catch (const inet::FileError& e) {
    EXPECT_THAT(e.what(), HasSubstr(path));
    EXPECT_THAT(e.what(), HasSubstr("No such file or directory"));
  }
  EXPECT_THROW(inet::DownloadToFile(server_.Url("/x"), folder_.Path(), "Test"), inet::FileError);
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_EQ(server_.Connections(), 0);
}

TEST_F(InetFailure, AFailedWriteIsAFileError) {
  server_.Route("/big", HttpResponse{.body = inettest::BinaryBytes(1 << 20)});
  try {
    inet::DownloadToFile(server_.Url("/big"), "/dev/full", "Test");
    ADD_FAILURE() << "no FileError";
  } catch (const inet::FileError& e) {
    EXPECT_THAT(e.what(), HasSubstr("/dev/full"));
    EXPECT_THAT(e.what(), HasSubstr("No space left on device"));
  }
}

}  // namespace
