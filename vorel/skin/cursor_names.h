// Cursor names as skins write them: the "cr..." names with their negative
// library numbers, and the "IDC_..." names of the system cursors with their
// system identifiers. Numbers are kept in 16 bits by the layer records, in
// two's complement (-21 is stored as 65515).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace vorel {

// The number of a "cr..." name, compared without regard to case.
std::optional<int16_t> CursorNumberFromName(std::string_view name);
// The first "cr..." name of a number (-22 gives "crSizeAll").
std::optional<std::string_view> NameOfCursor(int16_t number);
// The system identifier of an "IDC_..." name, compared without regard to
// case; 0 (the arrow's table entry) for any other name.
int32_t CursorFromName(std::string_view name);

}  // namespace vorel
