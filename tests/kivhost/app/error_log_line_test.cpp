// Error-log lines the plug-in reports through WinErrorLogLine: shown on the
// error stream under the desklet's skin name, kept on the desklet, traced.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <thread>

#include "kivhost/loop/host.h"
#include "platform/win/win_services.h"
#include "support/temp_dir.h"

namespace kivhost {
namespace {

const char* const kReport[] = {
    "-2146823279  Microsoft JScript runtime error",
    "'undefinedFunction' is undefined  Line:1   Column:0   undefinedFunction()",
    "-------------------------------",
};

class ErrorLogLine : public ::testing::Test {
 protected:
  void SetUp() override {
    Host::Get().BindWindowThread();
    Host::Get().errorEcho.SetStream(shown);
    Host::Get().errorEcho.SetQuiet(false);
    HostDesklet& d = Host::Get().CreateDesklet();
    d.skinFile = "/skins/clock/clock.xml";
    hwnd = d.Hwnd();
  }
  void TearDown() override {
    Host::Get().PumpPending();
    Host::Get().RemoveDesklet(hwnd);
    Host::Get().errorEcho.SetStream(std::cerr);
  }
  HostDesklet& D() { return *Host::Get().Find(hwnd); }

  std::ostringstream shown;
  HWND hwnd = 0;
};

TEST_F(ErrorLogLine, EachLineIsShownUnderTheSkinNameAndKeptInOrder) {
  for (const char* line : kReport) WinErrorLogLine(hwnd, line);
  EXPECT_EQ(shown.str(), std::string("kivhost: clock.xml: ") + kReport[0] + "\n" + "kivhost: clock.xml: " + kReport[1] +
                             "\n" + "kivhost: clock.xml: " + kReport[2] + "\n");
  EXPECT_EQ(D().errorLog, (std::vector<std::string>{kReport[0], kReport[1], kReport[2]}));
}

TEST_F(ErrorLogLine, QuietKeepsTheLogButShowsNothing) {
  Host::Get().errorEcho.SetQuiet(true);
  WinErrorLogLine(hwnd, kReport[0]);
  Host::Get().errorEcho.SetQuiet(false);
  EXPECT_EQ(shown.str(), "");
  EXPECT_EQ(D().errorLog, std::vector<std::string>{kReport[0]});
}

TEST_F(ErrorLogLine, WithoutASkinFileTheSkinInfoOrTheWindowNamesTheDesklet) {
  D().skinFile.clear();
  WinErrorLogLine(hwnd, "a");
  SkinInfo info;
  info.key = "/home/u/skins/weather/weather.xml";
  D().skinInfo = info;
  WinErrorLogLine(hwnd, "b");
  EXPECT_EQ(shown.str(), "kivhost: window " + std::to_string(hwnd) + ": a\nkivhost: weather.xml: b\n");
}

TEST_F(ErrorLogLine, NullLinesAndUnknownWindowsAreHandled) {
  WinErrorLogLine(hwnd, nullptr);
  EXPECT_EQ(shown.str(), "");
  EXPECT_TRUE(D().errorLog.empty());
  // A line for a window the host does not know is still shown, kept nowhere.
  WinErrorLogLine(0xDEAD, "stray");
  EXPECT_EQ(shown.str(), "kivhost: window 57005: stray\n");
  EXPECT_TRUE(D().errorLog.empty());
}

TEST_F(ErrorLogLine, ALineFromAnotherThreadIsTakenUpByTheLoop) {
  std::thread worker([this] { WinErrorLogLine(hwnd, "from a worker"); });
  worker.join();
  EXPECT_TRUE(D().errorLog.empty()) << "touched the desklet off the window thread";
  Host::Get().PumpPending();
  EXPECT_EQ(D().errorLog, std::vector<std::string>{"from a worker"});
  EXPECT_EQ(shown.str(), "kivhost: clock.xml: from a worker\n");
}

TEST_F(ErrorLogLine, EveryCallIsTraced) {
  testing_support::TempDir dir;
  Host::Get().trace.Open(dir.File("t.jsonl"));
  WinErrorLogLine(hwnd, kReport[2]);
  WinErrorLogLine(hwnd, nullptr);
  Host::Get().trace.Flush();
  std::ifstream in(dir.File("t.jsonl"));
  std::string first, second;
  std::getline(in, first);
  std::getline(in, second);
  const std::string h = std::to_string(hwnd);
  EXPECT_EQ(first, R"({"seq":1,"dir":"plugin>host","fn":"WinErrorLogLine","hwnd":)" + h + R"(,"args":[")" + kReport[2] +
                       R"("],"ret":null})");
  EXPECT_EQ(second, R"({"seq":2,"dir":"plugin>host","fn":"WinErrorLogLine","hwnd":)" + h + R"(,"args":[null],"ret":null})");
}

}  // namespace
}  // namespace kivhost
