#include "tq_util_FastRandom.h"

#include "VMJava.h"
#include "VMThrow.h"
#include "java_lang_IllegalArgumentException.h"
#include "java_lang_System.h"

VM_REGISTER_CLASS(tq::util::FastRandom, "tq.util.FastRandom", "java.util.Random", VM_INSTANTIABLE);

namespace tq::util {

VMPtr<FastRandom> FastRandom::_VM_init() {
  Base::_VM_init();
  setSeed(java::lang::System::currentTimeMillis());
  return VMPtr<FastRandom>(this);
}

VMPtr<FastRandom> FastRandom::_VM_init(int64_t seed) {
  Base::_VM_init();
  setSeed(seed);
  return VMPtr<FastRandom>(this);
}

void FastRandom::setSeed(int64_t seed) { this->seed = seed; }

int64_t FastRandom::nextLong() {
  uint64_t x = static_cast<uint64_t>(seed);
  x ^= x << 21;
  x ^= x >> 35;
  x ^= x << 4;
  seed = static_cast<int64_t>(x);
  return seed;
}

int32_t FastRandom::next(int32_t bits) {
  if (bits <= 0) {
    _VM_throwNew<java::lang::IllegalArgumentException>("FastRandom.nextInt() numberOfBits must be positive");
  }
  const uint64_t mask = (uint64_t{1} << (bits & 63)) - 1;
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(nextLong()) & mask));
}

int32_t FastRandom::nextInt() { return static_cast<int32_t>(static_cast<uint32_t>(nextLong())); }

int32_t FastRandom::nextInt(int32_t n) {
  const int32_t q = _VM_rem(nextInt(), n);
  // |MIN_VALUE % n| cannot be MIN_VALUE, so the negation never wraps.
  return q < 0 ? -q : q;
}

float FastRandom::nextFloat() { return static_cast<float>(next(24)) * 0x1p-24f; }

double FastRandom::nextDouble() {
  const int64_t high = static_cast<int64_t>(next(26)) << 27;
  return static_cast<double>(high + next(27)) * 0x1p-53;
}

}  // namespace tq::util
