// The kivhost command line:
//   kivhost [--plugin PATH] [--headless] [--quiet] [--scenario FILE]
//           [--trace FILE] [--state FILE] [--snapshot FILE.png]
//           [--settings FILE --section NAME] [--time-limit SECONDS] [SKIN.xml ...]
//   kivhost --list | --add SKIN.xml|KEY | --remove N | --list-skins
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "kivhost/loop/manager_protocol.h"

namespace kivhost {

struct Options {
  std::string plugin;  // empty: libvorel.so beside the program
  // Without a screen: scenarios run, nothing is shown. Otherwise the
  // desklets are windows on the desktop.
  bool headless = false;
  // Error-log lines of the desklets are not shown on standard error.
  bool quiet = false;
  std::string scenario, trace, state, snapshot;
  // Settings belong to one desklet: with them at most one skin is given.
  std::string settingsFile, settingsSection;
  // One desklet each, created in this order; the scenario and the
  // snapshot act on the first.
  std::vector<std::string> skins;
  // Asks the kivhost running the desktop's desklets to list, add or close
  // one, or to list the skins its plug-in offers, instead of running
  // desklets.
  std::optional<ManagerRequest> manage;
  // How long one script statement of a desklet may run, in milliseconds
  // (0: no limit); the plug-in's own default when not given.
  std::optional<int32_t> timeLimitMs;
};

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

Options ParseCommandLine(const std::vector<std::string>& args);
const char* UsageText();

}  // namespace kivhost
