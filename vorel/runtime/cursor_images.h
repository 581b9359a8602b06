// The pictures of the seven cursors the library carries itself: drag, no
// drop, horizontal and vertical split, multiple drag, database wait and
// hand point, drawn with cairo into 32 by 32 straight-alpha ARGB pixels.
#pragma once

#include <cstdint>
#include <vector>

namespace vorel {

enum class LibraryCursor { Drag, NoDrop, HSplit, VSplit, MultiDrag, SqlWait, HandPoint };

struct CursorImage {
  std::vector<uint32_t> argb;  // row by row, straight alpha
  int32_t width = 32, height = 32;
  int32_t hotX = 0, hotY = 0;
};

CursorImage DrawLibraryCursor(LibraryCursor which);

}  // namespace vorel
