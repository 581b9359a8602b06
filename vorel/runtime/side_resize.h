// Changing a side's size while the desklet runs. A side that is not shown
// only changes its record; the shown side also resizes the desklet, which
// keeps the scale it is drawn at, and draws its layers again.
#pragma once

#include <cstdint>

namespace vorel {

class TDeskletObject;

enum class TSideLength : uint8_t { Width, Height };

// Stores the side's width or height. On the shown side the desklet is
// moved to its new size at the scale it had before (window size over the
// side's old size) and every layer is drawn again. Raises "Range check
// error" for a size that does not fit 32 bits once scaled.
void SetSideLength(TDeskletObject& desklet, uint8_t side, TSideLength length, uint32_t value);

// Makes the shown desklet follow its side's record where it differs from
// the record it last applied: the size (at the present scale, with that
// side's layers drawn again) and the close point. Nothing for a side that
// is not shown.
void ResetSide(TDeskletObject& desklet, uint8_t side);

}  // namespace vorel
