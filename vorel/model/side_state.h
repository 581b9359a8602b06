// TSideState: the desklet's sides and which one shows. The side reader
// fills the table; flipping changes the active side.
#pragma once

#include <cstdint>
#include <vector>

#include "vorel/model/side_record.h"

namespace vorel {

struct TSideState {
  std::vector<TSideRecord> sides;
  uint8_t activeSide = 0;
  uint8_t previousSide = 0;
  uint8_t changeToSide = 0;
  TSideRecord currentSide;
  bool flipping = false;
};

}  // namespace vorel
