// Integer arithmetic for members that must trap overflow rather than wrap:
// each fails with "Integer overflow".
#pragma once

#include <cstdint>

#include "platform/automation/automation_error.h"

namespace automation {

inline int32_t CheckedAdd(int32_t a, int32_t b) {
  int32_t r;
  if (__builtin_add_overflow(a, b, &r)) ThrowIntegerOverflow();
  return r;
}

inline int32_t CheckedSub(int32_t a, int32_t b) {
  int32_t r;
  if (__builtin_sub_overflow(a, b, &r)) ThrowIntegerOverflow();
  return r;
}

inline int32_t CheckedMul(int32_t a, int32_t b) {
  int32_t r;
  if (__builtin_mul_overflow(a, b, &r)) ThrowIntegerOverflow();
  return r;
}

}  // namespace automation
