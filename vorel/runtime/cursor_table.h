// The process-wide cursor table: the system cursors under their own
// identifiers (32512 and up), the library's named cursors under negative
// numbers (-2 the arrow ... -22 the four-way sizing cursor), seven of them
// drawn by the library itself. Layers store cursor numbers in 16 bits and
// the desklet's cursor is set from them.
#pragma once

#include <cstdint>

#include "platform/abi/kiv_types.h"

namespace vorel {

class TDeskletObject;

// The cursor of a number read as a signed 16-bit value: -1 is no cursor (a
// null handle); 0 and every number not in the table give the arrow.
HCURSOR CursorHandle(int32_t number);

// Sets the desklet's cursor to table entry `number` (a layer's 16-bit
// Cursor field); 65535, a layer without a cursor, does nothing.
void SetDeskletCursor(TDeskletObject& desklet, uint16_t number);

}  // namespace vorel
