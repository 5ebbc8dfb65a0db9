#pragma once

#include <cstdint>

#include "VMClassKit.h"

namespace java::lang {

class String;

// The float constants and the float text of the library. No instances are
// made.
class Float final : public virtual Object {
  VM_CLASS(Float, Object)

 public:
  // Fills the constants from the platform's bit patterns.
  static void _VM_clinit();

  // Double.toString of `f` widened to double.
  static VMPtr<String> toString(float f);

  static float MAX_VALUE;
  static float MIN_VALUE;
  static float NaN;
  static float NEGATIVE_INFINITY;
  static float POSITIVE_INFINITY;
};

}  // namespace java::lang
