// Real windows for tests: an Xvfb server of the test's own on a display
// number it chose free, and programs started on it and stopped with a
// signal. xdotool gives input through the XTEST extension and finds
// windows by name.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace desktoptest {

// Whether Xvfb and xdotool are installed.
bool HaveXTools();

class XServer {
 public:
  XServer();  // starts Xvfb; Display() is empty when it did not come up
  ~XServer();
  XServer(const XServer&) = delete;
  XServer& operator=(const XServer&) = delete;
  const std::string& Display() const { return display_; }

 private:
  pid_t pid_ = -1;
  std::string display_;
};

// A program running on the display (":N" an X display, else a Wayland
// display's name in $XDG_RUNTIME_DIR); stopped (SIGTERM, then SIGKILL after
// five seconds) when it goes out of scope.
class Program {
 public:
  Program(const std::string& display, const std::vector<std::string>& args, const std::string& errFile);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;
  // Sends SIGTERM and waits; the exit code, or -1 when it did not exit by
  // itself within the time.
  int Terminate(std::chrono::milliseconds wait = std::chrono::seconds(10));
  // Waits for it to end by itself; its exit code, or -1 when it did not
  // within the time (it is stopped then).
  int Wait(std::chrono::milliseconds wait);
  bool Running();
  // Ends it at once, leaving what it made behind, as a crash would.
  void Kill();

 private:
  pid_t pid_ = -1;
};

// Runs xdotool with the arguments on the display; its standard output.
std::string XDoTool(const std::string& display, const std::vector<std::string>& args);

struct WindowGeometry {
  int x = 0, y = 0, width = 0, height = 0;
};
// The first window whose name is `name`, waiting up to ten seconds for it;
// an empty id when none came.
std::string WaitForWindow(const std::string& display, const std::string& name);
WindowGeometry GeometryOf(const std::string& display, const std::string& window);

// The pixels of a part of the screen, 0xFFRRGGBB, rows from the top; empty
// when the display cannot be read.
std::vector<uint32_t> ScreenPixels(const std::string& display, int x, int y, int width, int height);

}  // namespace desktoptest
