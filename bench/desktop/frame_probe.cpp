// frame_probe: watches a window's pixels from outside, through the X
// server's DAMAGE extension, as a compositor would.
//
//   frame_probe fps NAME SECONDS       frames a second the window shows
//   frame_probe latency NAME X Y N     from a button press at (X, Y) on the
//                                      screen (XTEST) to the window's next
//                                      new pixels, the median of N presses
//
// NAME is the window's title. Prints one number.
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <X11/extensions/XTest.h>
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

Window FindWindow(Display* d, Window w, const std::string& name) {
  char* title = nullptr;
  if (XFetchName(d, w, &title) && title) {
    const bool match = name == title;
    XFree(title);
    if (match) return w;
  }
  Window root, parent, *children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(d, w, &root, &parent, &children, &count)) return 0;
  Window found = 0;
  for (unsigned i = 0; i < count && !found; ++i) found = FindWindow(d, children[i], name);
  if (children) XFree(children);
  return found;
}

// Waits for the next damage of the window, at most `limit`; false on time out.
bool NextDamage(Display* d, int damageEvent, Damage damage, Clock::time_point limit) {
  for (;;) {
    while (XPending(d)) {
      XEvent e;
      XNextEvent(d, &e);
      if (e.type == damageEvent + XDamageNotify) {
        XDamageSubtract(d, damage, None, None);
        return true;
      }
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(limit - Clock::now()).count();
    if (left <= 0) return false;
    pollfd fd{ConnectionNumber(d), POLLIN, 0};
    poll(&fd, 1, static_cast<int>(left));
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: frame_probe fps NAME SECONDS | latency NAME X Y N\n");
    return 2;
  }
  Display* d = XOpenDisplay(nullptr);
  if (!d) {
    std::fprintf(stderr, "frame_probe: no display\n");
    return 1;
  }
  int damageEvent = 0, damageError = 0;
  if (!XDamageQueryExtension(d, &damageEvent, &damageError)) {
    std::fprintf(stderr, "frame_probe: the display has no DAMAGE extension\n");
    return 1;
  }
  const std::string mode = argv[1];
  const Window window = FindWindow(d, DefaultRootWindow(d), argv[2]);
  if (!window) {
    std::fprintf(stderr, "frame_probe: no window named %s\n", argv[2]);
    return 1;
  }
  const Damage damage = XDamageCreate(d, window, XDamageReportNonEmpty);
  XSync(d, False);
  if (mode == "fps") {
    const double seconds = std::atof(argv[3]);
    const auto start = Clock::now();
    const auto end = start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    long frames = 0;
    while (NextDamage(d, damageEvent, damage, end)) ++frames;
    std::printf("%.1f\n", frames / seconds);
  } else if (mode == "latency" && argc >= 6) {
    const int x = std::atoi(argv[3]), y = std::atoi(argv[4]), n = std::max(1, std::atoi(argv[5]));
    XTestFakeMotionEvent(d, -1, x, y, CurrentTime);
    XSync(d, False);
    NextDamage(d, damageEvent, damage, Clock::now() + std::chrono::milliseconds(200));  // the hover look
    std::vector<double> times;
    for (int i = 0; i < n; ++i) {
      while (NextDamage(d, damageEvent, damage, Clock::now() + std::chrono::milliseconds(100))) {
      }
      const auto pressed = Clock::now();
      XTestFakeButtonEvent(d, 1, True, CurrentTime);
      XFlush(d);
      const bool shown = NextDamage(d, damageEvent, damage, pressed + std::chrono::seconds(2));
      if (shown) times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - pressed).count());
      XTestFakeButtonEvent(d, 1, False, CurrentTime);
      XFlush(d);
      NextDamage(d, damageEvent, damage, Clock::now() + std::chrono::milliseconds(200));  // the release
    }
    if (times.empty()) {
      std::fprintf(stderr, "frame_probe: the window never changed after a press\n");
      return 1;
    }
    std::sort(times.begin(), times.end());
    std::printf("%.2f\n", times[times.size() / 2]);
  } else {
    std::fprintf(stderr, "frame_probe: unknown mode %s\n", mode.c_str());
    return 2;
  }
  XDamageDestroy(d, damage);
  XCloseDisplay(d);
  return 0;
}
