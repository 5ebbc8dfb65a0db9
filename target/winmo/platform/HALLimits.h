#pragma once

#include <cstdint>

// Bit patterns of the float limits: the largest finite value, the smallest
// positive value, the canonical NaN, negative and positive infinity. Each
// out-parameter may be null and is then skipped.
void HAL_getFloatLimits(uint32_t* max, uint32_t* min, uint32_t* nan, uint32_t* negativeInfinity,
                        uint32_t* positiveInfinity);

// The same for double. Each out-parameter points to two 32-bit words that
// receive the 64-bit pattern, low word first.
void HAL_getDoubleLimits(uint32_t* max, uint32_t* min, uint32_t* nan, uint32_t* negativeInfinity,
                         uint32_t* positiveInfinity);
