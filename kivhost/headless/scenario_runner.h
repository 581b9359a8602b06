// ScenarioRunner: carries out scenario commands against the session's
// first desklet, running the message loop after each so that whatever the
// plug-in posted is handled before the next command.
#pragma once

#include <vector>

#include "kivhost/loop/input_router.h"
#include "kivhost/headless/scenario.h"
#include "kivhost/loop/session.h"

namespace kivhost {

class ScenarioRunner {
 public:
  ScenarioRunner(Host& host, Session& session);

  // Runs the commands in order; false once "quit" ran. Errors of a command
  // (a file that cannot be written) are raised with its line number.
  bool Run(const std::vector<ScenarioCommand>& commands);

 private:
  bool RunOne(const ScenarioCommand& cmd);
  InputRouter* Router();

  Host& host_;
  Session& session_;
  std::optional<InputRouter> router_;
  HWND routerHwnd_ = 0;
};

}  // namespace kivhost
