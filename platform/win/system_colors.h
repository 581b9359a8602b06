// The Windows system colours (GetSysColor) as this platform knows them.
// There is no desktop-wide colour scheme to ask on Linux, so the colours are
// the classic Windows defaults; skins that name system colours get the look
// their authors saw on a standard Windows desktop.
#pragma once

#include <cstdint>

namespace win {

// The COLORREF (red in the low byte) of system colour index 0..30; black for
// an index outside that range.
uint32_t GetSysColor(int index);

}  // namespace win
