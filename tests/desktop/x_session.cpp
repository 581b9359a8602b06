#include "desktop/x_session.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sstream>
#include <thread>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace desktoptest {

namespace {

using namespace std::chrono_literals;

bool OnPath(const std::string& program) {
  return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

pid_t Spawn(const std::vector<std::string>& args, const std::string& display, const std::string& errFile) {
  const pid_t pid = fork();
  if (pid != 0) return pid;
  // ":N" names an X display, anything else a Wayland one.
  if (display.starts_with(":")) {
    setenv("DISPLAY", display.c_str(), 1);
    unsetenv("WAYLAND_DISPLAY");
  } else if (!display.empty()) {
    setenv("WAYLAND_DISPLAY", display.c_str(), 1);
    unsetenv("DISPLAY");
  }
  // The test's display has no accessibility bus; GTK's bridge would only
  // look for one on D-Bus (and keep what it allocated for the process's
  // life, which the leak checker reports).
  setenv("NO_AT_BRIDGE", "1", 1);
  const int null = open("/dev/null", O_RDWR);
  const int err = errFile.empty() ? null : open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  dup2(null, 0);
  dup2(null, 1);
  dup2(err, 2);
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  execvp(argv[0], argv.data());
  _exit(127);
}

// Waits for the child up to `wait`; its exit code, or -1.
int Reap(pid_t pid, std::chrono::milliseconds wait) {
  const auto end = std::chrono::steady_clock::now() + wait;
  for (;;) {
    int status = 0;
    const pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (done < 0 || std::chrono::steady_clock::now() > end) return -1;
    std::this_thread::sleep_for(10ms);
  }
}

}  // namespace

bool HaveXTools() { return OnPath("Xvfb") && OnPath("xdotool"); }

XServer::XServer() {
  // Xvfb takes the first free display number and writes it to the pipe,
  // so tests running side by side never share one.
  int fds[2];
  if (pipe(fds) != 0) return;
  pid_ = Spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "800x600x24", "-nolisten", "tcp"}, "", "");
  close(fds[1]);
  std::string number;
  pollfd wait{fds[0], POLLIN, 0};
  char c = 0;
  while (poll(&wait, 1, 10000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
  close(fds[0]);
  if (number.empty()) return;
  const std::string display = ":" + number;
  // Ready once a client gets an answer.
  for (int i = 0; i < 100; ++i) {
    if (!XDoTool(display, {"getdisplaygeometry"}).empty()) {
      display_ = display;
      return;
    }
    std::this_thread::sleep_for(50ms);
  }
}

XServer::~XServer() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  if (Reap(pid_, 5s) < 0) {
    kill(pid_, SIGKILL);
    Reap(pid_, 5s);
  }
}

Program::Program(const std::string& display, const std::vector<std::string>& args, const std::string& errFile)
    : pid_(Spawn(args, display, errFile)) {}

Program::~Program() {
  if (pid_ > 0) Terminate(5s);
}

bool Program::Running() { return pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0; }

int Program::Terminate(std::chrono::milliseconds wait) {
  if (pid_ <= 0) return -1;
  kill(pid_, SIGTERM);
  int code = Reap(pid_, wait);
  if (code < 0 && waitpid(pid_, nullptr, WNOHANG) == 0) {
    kill(pid_, SIGKILL);
    Reap(pid_, 5s);
  }
  pid_ = -1;
  return code;
}

void Program::Kill() {
  if (pid_ <= 0) return;
  kill(pid_, SIGKILL);
  Reap(pid_, 5s);
  pid_ = -1;
}

int Program::Wait(std::chrono::milliseconds wait) {
  if (pid_ <= 0) return -1;
  const int code = Reap(pid_, wait);
  if (code >= 0 || waitpid(pid_, nullptr, WNOHANG) != 0) {
    pid_ = -1;
    return code;
  }
  Terminate(std::chrono::seconds(5));
  return -1;
}

std::string XDoTool(const std::string& display, const std::vector<std::string>& args) {
  std::string command = "DISPLAY=" + display + " xdotool";
  for (const std::string& a : args) command += " '" + a + "'";
  command += " 2>/dev/null";
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[256];
    while (fgets(buffer, sizeof buffer, pipe)) out += buffer;
    pclose(pipe);
  }
  return out;
}

std::string WaitForWindow(const std::string& display, const std::string& name) {
  for (int i = 0; i < 200; ++i) {
    std::istringstream ids(XDoTool(display, {"search", "--onlyvisible", "--name", "^" + name + "$"}));
    std::string id;
    if (ids >> id) return id;
    std::this_thread::sleep_for(50ms);
  }
  return "";
}

WindowGeometry GeometryOf(const std::string& display, const std::string& window) {
  WindowGeometry g;
  std::istringstream lines(XDoTool(display, {"getwindowgeometry", "--shell", window}));
  std::string line;
  while (std::getline(lines, line)) {
    const size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    const std::string key = line.substr(0, eq);
    const int value = std::atoi(line.c_str() + eq + 1);
    if (key == "X") g.x = value;
    else if (key == "Y") g.y = value;
    else if (key == "WIDTH") g.width = value;
    else if (key == "HEIGHT") g.height = value;
  }
  return g;
}

std::vector<uint32_t> ScreenPixels(const std::string& display, int x, int y, int width, int height) {
  std::vector<uint32_t> pixels;
  Display* d = XOpenDisplay(display.c_str());
  if (!d) return pixels;
  if (XImage* image = XGetImage(d, DefaultRootWindow(d), x, y, static_cast<unsigned>(width),
                                static_cast<unsigned>(height), AllPlanes, ZPixmap)) {
    pixels.reserve(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int row = 0; row < height; ++row)
      for (int col = 0; col < width; ++col)
        pixels.push_back(0xFF000000u | (static_cast<uint32_t>(XGetPixel(image, col, row)) & 0xFFFFFFu));
    XDestroyImage(image);
  }
  XCloseDisplay(d);
  return pixels;
}

}  // namespace desktoptest
