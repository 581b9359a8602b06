// The manager commands against a running desktop kivhost: --list, --add
// and --remove reach it through its socket, a second `kivhost SKIN` hands
// the skin over instead of showing the desklets twice, and what the user
// added or closed is what comes back at the next start.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>

#include "desktop/desktop_fixture.h"

namespace desktoptest {
namespace {

struct Answer {
  int exit = -1;
  std::string out, err;
};

// Runs kivhost with the arguments and waits for it.
Answer RunKivhost(const TempDir& dir, const std::string& args) {
  const std::string errFile = dir.File("manager-err.txt");
  const std::string command = std::string(KIV_BIN_DIR) + "/kivhost " + args + " 2>'" + errFile + "'";
  Answer answer;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return answer;
  std::array<char, 4096> buffer{};
  size_t n;
  while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) answer.out.append(buffer.data(), n);
  const int status = pclose(pipe);
  answer.exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  answer.err = e2e::ReadText(errFile);
  return answer;
}

size_t Lines(const std::string& text) { return static_cast<size_t>(std::count(text.begin(), text.end(), '\n')); }

std::string Skin(const std::string& name) { return std::string(KIV_BIN_DIR) + "/" + name + "/" + name + ".xml"; }

// The socket the running kivhost made in the runtime folder.
std::string SocketIn(const std::string& folder) {
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    if (entry.path().extension() == ".sock") return entry.path().string();
  return "";
}

class ManagerTest : public DesktopTest {};

TEST_F(ManagerTest, TheRunningKivhostListsTheOfferedSkinsAndAddsOneByItsKey) {
  auto host = Kivhost({Skin("hello")});
  ASSERT_FALSE(WaitForWindow(Display(), "Hello, Vorel").empty()) << e2e::ReadText(dir_.File("stderr.txt"));

  Answer skins = RunKivhost(dir_, "--list-skins");
  ASSERT_EQ(skins.exit, 0) << skins.err;
  const std::string clockLine = Skin("clock") + "\tClock\tVorel\t1\n";
  EXPECT_NE(skins.out.find(clockLine), std::string::npos) << skins.out;
  EXPECT_NE(skins.out.find(Skin("hello") + "\tHello\t"), std::string::npos) << skins.out;

  Answer added = RunKivhost(dir_, "--add '" + Skin("clock") + "'");
  ASSERT_EQ(added.exit, 0) << added.err;
  EXPECT_TRUE(added.out.starts_with("2\tClock\t")) << added.out;
  EXPECT_FALSE(WaitForWindow(Display(), "Clock").empty());
  // A key that is neither an offered skin nor a file is refused.
  Answer unknown = RunKivhost(dir_, "--add /nowhere/skin.xml");
  EXPECT_NE(unknown.exit, 0);
  EXPECT_TRUE(host->Running());
}

TEST_F(ManagerTest, ListAddAndRemoveReachTheRunningKivhost) {
  auto host = Kivhost({Skin("hello")});
  ASSERT_FALSE(WaitForWindow(Display(), "Hello, Vorel").empty()) << e2e::ReadText(dir_.File("stderr.txt"));

  Answer list = RunKivhost(dir_, "--list");
  ASSERT_EQ(list.exit, 0) << list.err;
  EXPECT_EQ(list.out, "1\tHello, Vorel\t100,100\t240x160\n");

  Answer added = RunKivhost(dir_, "--add '" + Skin("clock") + "'");
  ASSERT_EQ(added.exit, 0) << added.err;
  EXPECT_TRUE(added.out.starts_with("2\tClock\t")) << added.out;
  EXPECT_FALSE(WaitForWindow(Display(), "Clock").empty());

  // A second kivhost with a skin file hands it over and ends.
  Answer second = RunKivhost(dir_, "'" + Skin("twosided") + "'");
  ASSERT_EQ(second.exit, 0) << second.err;
  EXPECT_TRUE(second.out.starts_with("3\t")) << second.out;
  list = RunKivhost(dir_, "--list");
  EXPECT_EQ(Lines(list.out), 3u) << list.out;
  EXPECT_TRUE(host->Running());

  Answer removed = RunKivhost(dir_, "--remove 2");
  ASSERT_EQ(removed.exit, 0) << removed.err;
  EXPECT_TRUE(removed.out.starts_with("2\tClock\t")) << removed.out;
  list = RunKivhost(dir_, "--list");
  EXPECT_EQ(Lines(list.out), 2u) << list.out;
  EXPECT_EQ(list.out.find("Clock"), std::string::npos) << list.out;
  EXPECT_EQ(XDoTool(Display(), {"search", "--name", "^Clock$"}), "");

  for (const char* wrong : {"--remove 7", "--remove 0", "--remove x", "--add /no/such/skin.xml"}) {
    const Answer refused = RunKivhost(dir_, wrong);
    EXPECT_EQ(refused.exit, 1) << wrong;
    EXPECT_NE(refused.err.find("kivhost: "), std::string::npos) << wrong << ": " << refused.err;
  }
  EXPECT_EQ(Lines(RunKivhost(dir_, "--list").out), 2u);

  EXPECT_EQ(host->Terminate(), 0) << e2e::ReadText(dir_.File("stderr.txt"));
  const Answer none = RunKivhost(dir_, "--list");
  EXPECT_EQ(none.exit, 1);
  EXPECT_NE(none.err.find("no kivhost is showing desklets"), std::string::npos) << none.err;
  EXPECT_EQ(SocketIn(dir_.File("run")), "") << "the socket outlived kivhost";

  // What was added stays, what was removed is gone.
  auto again = Kivhost({});
  ASSERT_FALSE(WaitForWindow(Display(), "Hello, Vorel").empty()) << e2e::ReadText(dir_.File("stderr.txt"));
  list = RunKivhost(dir_, "--list");
  ASSERT_EQ(Lines(list.out), 2u) << list.out << list.err;
  EXPECT_NE(list.out.find("1\tHello, Vorel"), std::string::npos) << list.out;
  EXPECT_EQ(list.out.find("Clock"), std::string::npos) << list.out;
  EXPECT_EQ(again->Terminate(), 0);
}

TEST_F(ManagerTest, AClientThatSaysNothingDoesNotHoldUpTheKivhost) {
  auto host = Kivhost({Skin("hello")});
  ASSERT_FALSE(WaitForWindow(Display(), "Hello, Vorel").empty()) << e2e::ReadText(dir_.File("stderr.txt"));
  const std::string path = SocketIn(dir_.File("run"));
  ASSERT_FALSE(path.empty());
  const int silent = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
  ASSERT_EQ(connect(silent, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  // While that connection waits, others are answered.
  const auto start = std::chrono::steady_clock::now();
  const Answer list = RunKivhost(dir_, "--list");
  EXPECT_EQ(list.exit, 0) << list.err;
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
  // The silent one is dropped after a while.
  char byte;
  timeval wait{15, 0};
  setsockopt(silent, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
  EXPECT_EQ(recv(silent, &byte, 1, 0), 0);
  close(silent);
  EXPECT_EQ(host->Terminate(), 0);
}

TEST_F(ManagerTest, ASocketLeftByAKivhostThatDiedIsTakenOver) {
  auto first = Kivhost({Skin("hello")});
  ASSERT_FALSE(WaitForWindow(Display(), "Hello, Vorel").empty()) << e2e::ReadText(dir_.File("stderr.txt"));
  const std::string path = SocketIn(dir_.File("run"));
  ASSERT_FALSE(path.empty());
  first->Kill();
  ASSERT_TRUE(std::filesystem::exists(path));

  auto second = Kivhost({});
  ASSERT_FALSE(WaitForWindow(Display(), "Hello, Vorel").empty()) << e2e::ReadText(dir_.File("stderr.txt"));
  const Answer list = RunKivhost(dir_, "--list");
  EXPECT_EQ(list.exit, 0) << list.err;
  EXPECT_EQ(Lines(list.out), 1u) << list.out;
  EXPECT_EQ(second->Terminate(), 0);
}

TEST_F(ManagerTest, ADeskletKeptByAKivhostThatDiedComesBackAtItsSkinsSize) {
  // hello's skin makes it 240 by 160; the default of a desklet without a
  // skin is 128 by 128.
  auto first = Kivhost({Skin("hello")});
  ASSERT_FALSE(WaitForWindow(Display(), "Hello, Vorel").empty()) << e2e::ReadText(dir_.File("stderr.txt"));
  Answer added = RunKivhost(dir_, "--add '" + Skin("clock") + "'");
  ASSERT_EQ(added.exit, 0) << added.err;
  ASSERT_FALSE(WaitForWindow(Display(), "Clock").empty());
  // "2<tab>Clock<tab>X,Y<tab>WxH": the size is the last field.
  const std::string clockSize = added.out.substr(added.out.rfind('\t') + 1);
  // Nothing is saved at the end: what comes back is what was written down
  // when each desklet was made.
  first->Kill();

  auto second = Kivhost({});
  const std::string hello = WaitForWindow(Display(), "Hello, Vorel");
  ASSERT_FALSE(hello.empty()) << e2e::ReadText(dir_.File("stderr.txt"));
  ASSERT_FALSE(WaitForWindow(Display(), "Clock").empty());
  const WindowGeometry g = GeometryOf(Display(), hello);
  EXPECT_EQ(g.width, 240);
  EXPECT_EQ(g.height, 160);
  const Answer list = RunKivhost(dir_, "--list");
  ASSERT_EQ(list.exit, 0) << list.err;
  EXPECT_NE(list.out.find("1\tHello, Vorel\t100,100\t240x160\n"), std::string::npos) << list.out;
  EXPECT_EQ(clockSize, "160x48\n");
  EXPECT_NE(list.out.find("\tClock\t100,100\t160x48\n"), std::string::npos) << list.out;
  EXPECT_EQ(second->Terminate(), 0);
}

}  // namespace
}  // namespace desktoptest
