// The host's questions to the user as real GTK dialogs and pop-up menus:
// message boxes, input boxes, file, folder and colour choosers, and
// cascading menus with checks, disabled items and separators. Each runs
// modally, the host's queue still running meanwhile (as the window
// system's own modal loops do), and gives its answer in the terms of the
// headless answers.
#pragma once

#include <optional>

#include "kivhost/loop/host.h"

namespace kivhost {

std::optional<Answer> AskWithGtk(Host& host, const DialogRequest& request);

}  // namespace kivhost
