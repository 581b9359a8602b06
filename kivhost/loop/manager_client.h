// The asking end of the manager socket: what `kivhost --list`, `--add`
// and `--remove` use to reach the kivhost showing the desktop's desklets.
#pragma once

#include <optional>
#include <string>

#include "kivhost/loop/manager_protocol.h"

namespace kivhost {

// Whether a kivhost accepts connections on `path`.
bool HostAnswersOn(const std::string& path);

// Sends the request to the kivhost listening on `path`; its answer without
// the final status line. Returns nullopt when no kivhost listens there;
// throws ManagerError with the kivhost's error when it refused.
std::optional<std::string> AskRunningHost(const std::string& path, const ManagerRequest& request);

}  // namespace kivhost
