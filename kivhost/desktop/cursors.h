// The window system's cursors for the cursors the plug-in sets: the
// system cursors by their numbers, and cursors made from pixels.
#pragma once

#include <gdk/gdk.h>

#include <string>

#include "kivhost/model/window_objects.h"

namespace kivhost {

// The name of the cursor of a system cursor number ("default" for an
// unknown one).
std::string SystemCursorName(int32_t systemId);

// A new cursor for the host's cursor object; the caller unrefs it. Null
// for a cursor the display cannot show.
GdkCursor* MakeCursor(GdkDisplay* display, const CursorInfo& info);

}  // namespace kivhost
