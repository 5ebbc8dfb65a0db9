#include "java_lang_Float.h"

#include <cstring>

#include "HALLimits.h"
#include "java_lang_Double.h"
#include "java_lang_String.h"

VM_REGISTER_CLASS(java::lang::Float, "java.lang.Float", "java.lang.Object", VM_HAS_CLINIT);

namespace {

float fromBits(uint32_t bits) {
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

}  // namespace

namespace java::lang {

float Float::MAX_VALUE;
float Float::MIN_VALUE;
float Float::NaN;
float Float::NEGATIVE_INFINITY;
float Float::POSITIVE_INFINITY;

void Float::_VM_clinit() {
  uint32_t max, min, nan, negativeInfinity, positiveInfinity;
  HAL_getFloatLimits(&max, &min, &nan, &negativeInfinity, &positiveInfinity);
  MAX_VALUE = fromBits(max);
  MIN_VALUE = fromBits(min);
  NaN = fromBits(nan);
  NEGATIVE_INFINITY = fromBits(negativeInfinity);
  POSITIVE_INFINITY = fromBits(positiveInfinity);
}

VMPtr<String> Float::toString(float f) { return Double::toString(static_cast<double>(f)); }

}  // namespace java::lang
