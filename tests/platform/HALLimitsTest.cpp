#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "HALLimits.h"

namespace {

constexpr uint32_t kUntouched = 0xDEADBEEF;

// max, min, nan, negative infinity, positive infinity
constexpr std::array<uint32_t, 5> kFloat = {0x7F7FFFFF, 0x00000001, 0x7FC00000, 0xFF800000,
                                            0x7F800000};
// The same for double, as (low word, high word).
constexpr std::array<std::array<uint32_t, 2>, 5> kDouble = {{{0xFFFFFFFF, 0x7FEFFFFF},
                                                            {0x00000001, 0x00000000},
                                                            {0x00000000, 0x7FF80000},
                                                            {0x00000000, 0xFFF00000},
                                                            {0x00000000, 0x7FF00000}}};

TEST(HALLimitsTest, OnlyTheGivenOutParametersAreWritten) {
  // Bit i of the mask: out-parameter i is given.
  for (unsigned mask : {0x1Fu, 0x04u, 0x00u, 0x0Au, 0x11u}) {
    SCOPED_TRACE(mask);
    std::array<uint32_t, 5> f;
    std::array<std::array<uint32_t, 2>, 5> d;
    f.fill(kUntouched);
    d.fill({kUntouched, kUntouched});
    auto given = [mask](int i) { return ((mask >> i) & 1) != 0; };
    auto fp = [&](int i) { return given(i) ? &f[i] : nullptr; };
    auto dp = [&](int i) { return given(i) ? d[i].data() : nullptr; };
    HAL_getFloatLimits(fp(0), fp(1), fp(2), fp(3), fp(4));
    HAL_getDoubleLimits(dp(0), dp(1), dp(2), dp(3), dp(4));
    for (int i = 0; i < 5; ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(given(i) ? kFloat[i] : kUntouched, f[i]);
      EXPECT_EQ(given(i) ? kDouble[i] : (std::array<uint32_t, 2>{kUntouched, kUntouched}), d[i]);
    }
  }
}

}  // namespace
