#pragma once

#include <cstdint>

#include "VMClassKit.h"

namespace java::util {

// The 48-bit linear congruential generator of the Java platform, bit for
// bit: state = (state x 0x5DEECE66D + 0xB) mod 2^48. Every draw goes
// through the virtual next(bits), so a subclass that overrides next
// changes them all. No operation holds a monitor.
class Random : public virtual java::lang::Object {
  VM_CLASS(Random, java::lang::Object)

 public:
  // Random(): seeded with the platform clock's milliseconds since 1970.
  VMPtr<Random> _VM_init();
  // Random(long seed): setSeed(seed) through the virtual slot.
  VMPtr<Random> _VM_init(int64_t seed);

  // state = (seed XOR 0x5DEECE66D) mod 2^48.
  virtual void setSeed(int64_t seed);
  // Uniform in 0 .. n - 1; IllegalArgumentException "n must be positive"
  // for n <= 0.
  virtual int32_t nextInt(int32_t n);
  virtual int32_t nextInt();
  virtual int64_t nextLong();
  // Uniform in [0, 1) with 24 random bits.
  virtual float nextFloat();
  // Uniform in [0, 1) with 53 random bits from two draws.
  virtual double nextDouble();
  // Advances the state; the top `bits` (1..32) of its 48 bits.
  virtual int32_t next(int32_t bits);

  uint32_t seedLow;   // state bits 31..0
  uint32_t seedHigh;  // state bits 47..32 in the low 16 bits
};

}  // namespace java::util
