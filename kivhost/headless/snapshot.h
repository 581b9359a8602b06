// The snapshot: the composite of the session's first desklet, written as
// a PNG picture.
#pragma once

#include <string>

#include "kivhost/loop/host.h"

namespace kivhost {

void WriteSnapshot(Host& host, const std::string& path);

}  // namespace kivhost
