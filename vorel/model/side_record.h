// One side (face) of a desklet: its size and close-button point.
#pragma once

#include <cstdint>

namespace vorel {

struct TSideRecord {
  uint32_t Width = 0;
  uint32_t Height = 0;
  uint32_t CloseX = 0;
  uint32_t CloseY = 0;

  bool operator==(const TSideRecord&) const = default;
};

}  // namespace vorel
