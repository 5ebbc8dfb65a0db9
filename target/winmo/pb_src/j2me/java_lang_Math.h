#pragma once

#include <cstdint>

#include "VMClassKit.h"

namespace java::lang {

// The int helpers of java.lang.Math that the engine uses. No instances are
// made.
class Math final : public virtual Object {
  VM_CLASS(Math, Object)

 public:
  static int32_t min(int32_t a, int32_t b) { return a <= b ? a : b; }
  static int32_t max(int32_t a, int32_t b) { return a >= b ? a : b; }
  // abs(MIN_VALUE) is MIN_VALUE, as in Java.
  static int32_t abs(int32_t a) { return a < 0 ? static_cast<int32_t>(0u - static_cast<uint32_t>(a)) : a; }
};

}  // namespace java::lang
