#include "platform/win/system_colors.h"

#include <array>
#include <cstddef>

namespace win {

namespace {

constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return r | (g << 8) | (b << 16); }

// Indexed like COLOR_SCROLLBAR (0) to COLOR_MENUBAR (30).
constexpr std::array<uint32_t, 31> kClassicColors{
    Rgb(200, 200, 200),  // scroll bar
    Rgb(58, 110, 165),   // background
    Rgb(10, 36, 106),    // active caption
    Rgb(128, 128, 128),  // inactive caption
    Rgb(212, 208, 200),  // menu
    Rgb(255, 255, 255),  // window
    Rgb(0, 0, 0),        // window frame
    Rgb(0, 0, 0),        // menu text
    Rgb(0, 0, 0),        // window text
    Rgb(255, 255, 255),  // caption text
    Rgb(212, 208, 200),  // active border
    Rgb(212, 208, 200),  // inactive border
    Rgb(128, 128, 128),  // application work space
    Rgb(10, 36, 106),    // highlight
    Rgb(255, 255, 255),  // highlight text
    Rgb(212, 208, 200),  // button face
    Rgb(128, 128, 128),  // button shadow
    Rgb(128, 128, 128),  // grey text
    Rgb(0, 0, 0),        // button text
    Rgb(212, 208, 200),  // inactive caption text
    Rgb(255, 255, 255),  // button highlight
    Rgb(64, 64, 64),     // 3D dark shadow
    Rgb(212, 208, 200),  // 3D light
    Rgb(0, 0, 0),        // tooltip text
    Rgb(255, 255, 225),  // tooltip background
    Rgb(181, 181, 181),  // (unnamed index 25)
    Rgb(0, 0, 128),      // hot-tracked item
    Rgb(166, 202, 240),  // gradient of the active caption
    Rgb(192, 192, 192),  // gradient of the inactive caption
    Rgb(49, 106, 197),   // menu highlight
    Rgb(212, 208, 200),  // menu bar
};

}  // namespace

uint32_t GetSysColor(int index) {
  if (index < 0 || index >= static_cast<int>(kClassicColors.size())) return 0;
  return kClassicColors[static_cast<std::size_t>(index)];
}

}  // namespace win
