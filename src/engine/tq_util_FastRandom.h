#pragma once

#include <cstdint>

#include "java_util_Random.h"

namespace tq::util {

// The engine's pseudo-random generator: a 64-bit xorshift generator
// (x ^= x << 21; x ^= x >>> 35; x ^= x << 4) in place of the platform's
// 48-bit one. Its one state is the last value nextLong returned; a state
// of 0 stays 0. Every draw goes through nextLong, the fractional ones
// through the virtual next(bits), one step per call. No locks.
class FastRandom : public java::util::Random {
  VM_CLASS(FastRandom, java::util::Random)

 public:
  // FastRandom(): seeded with the current time in milliseconds.
  VMPtr<FastRandom> _VM_init();
  // FastRandom(long seed): the seed given is the state, unchanged.
  VMPtr<FastRandom> _VM_init(int64_t seed);

  void setSeed(int64_t seed) override;
  // |nextInt() % n| (the remainder with the dividend's sign, no rejection
  // loop); ArithmeticException "/ by zero" for n = 0.
  int32_t nextInt(int32_t n) override;
  // The low 32 bits of nextLong().
  int32_t nextInt() override;
  int64_t nextLong() override;
  // next(24) x 2^-24.
  float nextFloat() override;
  // ((next(26) << 27) + next(27)) x 2^-53.
  double nextDouble() override;
  // The low `bits` bits of nextLong() (the mask taken modulo 64, so 64
  // gives 0); IllegalArgumentException for bits <= 0, state unchanged.
  int32_t next(int32_t bits) override;

  int64_t seed;
};

}  // namespace tq::util
