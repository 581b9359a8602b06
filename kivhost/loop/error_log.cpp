#include "kivhost/loop/error_log.h"

#include <iostream>

#include "kivhost/loop/host.h"

namespace kivhost {

void ErrorEcho::SetQuiet(bool quiet) {
  std::lock_guard lock(mutex_);
  quiet_ = quiet;
}

void ErrorEcho::SetStream(std::ostream& out) {
  std::lock_guard lock(mutex_);
  out_ = &out;
}

void ErrorEcho::Show(const std::string& skin, const std::string& line) {
  std::lock_guard lock(mutex_);
  if (quiet_) return;
  std::ostream& out = out_ ? *out_ : std::cerr;
  out << "kivhost: " << skin << ": " << line << std::endl;
}

namespace {

void AddOnWindowThread(Host& host, HWND hwnd, const std::string& line) {
  HostDesklet* desklet = host.Find(hwnd);
  host.errorEcho.Show(desklet ? desklet->SkinName() : HostDesklet::WindowName(hwnd), line);
  if (desklet) desklet->errorLog.push_back(line);
}

}  // namespace

void AddErrorLogLine(Host& host, HWND hwnd, const char* line) {
  if (!line) return;
  if (host.OnWindowThread()) {
    AddOnWindowThread(host, hwnd, line);
    return;
  }
  host.queue.PostTask([&host, hwnd, text = std::string(line)] { AddOnWindowThread(host, hwnd, text); });
}

}  // namespace kivhost
