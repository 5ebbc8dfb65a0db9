#include "java_util_Random.h"

#include "HALClock.h"
#include "VMThrow.h"
#include "java_lang_IllegalArgumentException.h"

VM_REGISTER_CLASS(java::util::Random, "java.util.Random", "java.lang.Object", VM_INSTANTIABLE);

namespace java::util {

namespace {
constexpr uint64_t kMultiplier = 0x5DEECE66Dull;
constexpr uint64_t kAddend = 0xBull;
constexpr uint64_t kMask = (1ull << 48) - 1;
}  // namespace

VMPtr<Random> Random::_VM_init() { return _VM_init(HAL_getCurrentTimeMillis()); }

VMPtr<Random> Random::_VM_init(int64_t seed) {
  Object::_VM_init();
  setSeed(seed);
  return VMPtr<Random>(this);
}

void Random::setSeed(int64_t seed) {
  const uint64_t state = (static_cast<uint64_t>(seed) ^ kMultiplier) & kMask;
  seedLow = static_cast<uint32_t>(state);
  seedHigh = static_cast<uint32_t>(state >> 32);
}

int32_t Random::next(int32_t bits) {
  uint64_t state = (static_cast<uint64_t>(seedHigh) << 32) | seedLow;
  state = (state * kMultiplier + kAddend) & kMask;
  seedLow = static_cast<uint32_t>(state);
  seedHigh = static_cast<uint32_t>(state >> 32);
  // Java's >>> on a long: the count is taken modulo 64.
  return static_cast<int32_t>(static_cast<uint32_t>(state >> ((48 - bits) & 63)));
}

int32_t Random::nextInt() { return next(32); }

int32_t Random::nextInt(int32_t n) {
  if (n <= 0) _VM_throwNew<java::lang::IllegalArgumentException>("n must be positive");
  if ((n & -n) == n) return static_cast<int32_t>((static_cast<int64_t>(n) * next(31)) >> 31);
  int32_t bits;
  int32_t val;
  do {
    bits = next(31);
    val = bits % n;
    // A draw from the top range that n does not divide evenly wraps below 0
    // here and is taken again.
  } while (static_cast<int32_t>(static_cast<uint32_t>(bits) - val + (n - 1)) < 0);
  return val;
}

int64_t Random::nextLong() {
  const int64_t high = next(32);
  const int64_t low = next(32);
  return static_cast<int64_t>(static_cast<uint64_t>(high) << 32) + low;
}

float Random::nextFloat() { return static_cast<float>(next(24)) * 0x1p-24f; }

double Random::nextDouble() {
  const int64_t high = next(26);
  const int64_t low = next(27);
  return static_cast<double>((high << 27) + low) * 0x1p-53;
}

}  // namespace java::util
