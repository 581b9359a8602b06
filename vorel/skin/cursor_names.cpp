#include "vorel/skin/cursor_names.h"

#include <array>

#include "platform/util/text.h"

namespace vorel {

namespace {

struct NamedCursor {
  std::string_view name;
  int32_t number;
};

constexpr std::array<NamedCursor, 22> kLibraryCursors{{
    {"crDefault", 0},     {"crArrow", -2},     {"crCross", -3},     {"crIBeam", -4},       {"crSizeNESW", -6},
    {"crSizeNS", -7},     {"crSizeNWSE", -8},  {"crSizeWE", -9},    {"crUpArrow", -10},    {"crHourGlass", -11},
    {"crDrag", -12},      {"crNoDrop", -13},   {"crHSplit", -14},   {"crVSplit", -15},     {"crMultiDrag", -16},
    {"crSQLWait", -17},   {"crNo", -18},       {"crAppStart", -19}, {"crHelp", -20},       {"crHandPoint", -21},
    {"crSizeAll", -22},   {"crSize", -22},
}};

constexpr std::array<NamedCursor, 16> kSystemCursors{{
    {"IDC_ARROW", 32512},    {"IDC_IBEAM", 32513},    {"IDC_WAIT", 32514},        {"IDC_CROSS", 32515},
    {"IDC_UPARROW", 32516},  {"IDC_SIZE", 32640},     {"IDC_ICON", 32641},        {"IDC_SIZENWSE", 32642},
    {"IDC_SIZENESW", 32643}, {"IDC_SIZEWE", 32644},   {"IDC_SIZENS", 32645},      {"IDC_SIZEALL", 32646},
    {"IDC_NO", 32648},       {"IDC_HAND", 32649},     {"IDC_APPSTARTING", 32650}, {"IDC_HELP", 32651},
}};

}  // namespace

std::optional<int16_t> CursorNumberFromName(std::string_view name) {
  for (const NamedCursor& c : kLibraryCursors)
    if (kiv::EqualsIgnoreCase(c.name, name)) return static_cast<int16_t>(c.number);
  return std::nullopt;
}

std::optional<std::string_view> NameOfCursor(int16_t number) {
  for (const NamedCursor& c : kLibraryCursors)
    if (c.number == number) return c.name;
  return std::nullopt;
}

int32_t CursorFromName(std::string_view name) {
  for (const NamedCursor& c : kSystemCursors)
    if (kiv::EqualsIgnoreCase(c.name, name)) return c.number;
  return 0;
}

}  // namespace vorel
