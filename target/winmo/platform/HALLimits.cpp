#include "HALLimits.h"

namespace {

void put(uint32_t* out, uint32_t bits) {
  if (out) *out = bits;
}

void put(uint32_t* out, uint64_t bits) {
  if (!out) return;
  out[0] = static_cast<uint32_t>(bits);
  out[1] = static_cast<uint32_t>(bits >> 32);
}

}  // namespace

void HAL_getFloatLimits(uint32_t* max, uint32_t* min, uint32_t* nan, uint32_t* negativeInfinity,
                        uint32_t* positiveInfinity) {
  put(max, uint32_t{0x7F7FFFFF});
  put(min, uint32_t{0x00000001});
  put(nan, uint32_t{0x7FC00000});
  put(negativeInfinity, uint32_t{0xFF800000});
  put(positiveInfinity, uint32_t{0x7F800000});
}

void HAL_getDoubleLimits(uint32_t* max, uint32_t* min, uint32_t* nan, uint32_t* negativeInfinity,
                         uint32_t* positiveInfinity) {
  put(max, uint64_t{0x7FEFFFFFFFFFFFFF});
  put(min, uint64_t{0x0000000000000001});
  put(nan, uint64_t{0x7FF8000000000000});
  put(negativeInfinity, uint64_t{0xFFF0000000000000});
  put(positiveInfinity, uint64_t{0x7FF0000000000000});
}
