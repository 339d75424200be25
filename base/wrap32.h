#pragma once

#include <cstdint>

namespace base {

// The program's time and size computations are 32-bit two's complement values
// that wrap, as they did on the recording station's machines. These helpers
// compute them through unsigned arithmetic, so no input is undefined behaviour.

inline int32_t wrapToInt32(int64_t value) {
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value)));
}

inline int32_t wrapAdd(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

inline int32_t wrapSub(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

inline int32_t wrapMul(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

// Signed division truncating toward zero. A zero divisor gives 0; the one
// quotient that does not fit, INT32_MIN / -1, wraps to INT32_MIN.
inline int32_t wrapDiv(int32_t a, int32_t b) {
  if (b == 0) return 0;
  if (b == -1) return wrapSub(0, a);
  return a / b;
}

}  // namespace base
