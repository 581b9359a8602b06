// The desklets' error logs as the plug-in reports them, one line at a
// time: each line is kept on its desklet (the state dump lists them) and
// shown on the error stream as "kivhost: SKIN: LINE" unless the host runs
// quiet.
#pragma once

#include <mutex>
#include <ostream>
#include <string>

#include "platform/abi/kiv_types.h"

namespace kivhost {

class Host;

// Where error-log lines are shown: standard error unless told otherwise,
// one whole line at a time from any thread.
class ErrorEcho {
 public:
  void SetQuiet(bool quiet);
  // Tests read what would have gone to standard error.
  void SetStream(std::ostream& out);
  void Show(const std::string& skin, const std::string& line);

 private:
  std::mutex mutex_;
  bool quiet_ = false;
  std::ostream* out_ = nullptr;  // null: standard error
};

// A line the plug-in added to the error log of `hwnd`. A null line is
// ignored; a line for a window the host does not know is still shown (under
// the window's handle) but kept nowhere. From a thread other than the
// window thread the line is taken up by the loop, since only the window
// thread touches the desklets.
void AddErrorLogLine(Host& host, HWND hwnd, const char* line);

}  // namespace kivhost
