// The state dump: every desklet as the host holds it, with its layers and
// its controls, as one JSON document (see docs/state.md).
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "kivhost/loop/host.h"

namespace kivhost {

nlohmann::json StateJson(Host& host);
void WriteState(Host& host, const std::string& path);

}  // namespace kivhost
