#include "java_lang_Double.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "HALLimits.h"
#include "java_lang_String.h"

VM_REGISTER_CLASS(java::lang::Double, "java.lang.Double", "java.lang.Object", VM_HAS_CLINIT);

namespace {

double fromWords(const uint32_t (&words)[2]) {
  const uint64_t bits = (uint64_t{words[1]} << 32) | words[0];
  double d;
  std::memcpy(&d, &bits, sizeof d);
  return d;
}

}  // namespace

namespace java::lang {

double Double::MAX_VALUE;
double Double::MIN_VALUE;
double Double::NaN;
double Double::NEGATIVE_INFINITY;
double Double::POSITIVE_INFINITY;

void Double::_VM_clinit() {
  uint32_t max[2], min[2], nan[2], negativeInfinity[2], positiveInfinity[2];
  HAL_getDoubleLimits(max, min, nan, negativeInfinity, positiveInfinity);
  MAX_VALUE = fromWords(max);
  MIN_VALUE = fromWords(min);
  NaN = fromWords(nan);
  NEGATIVE_INFINITY = fromWords(negativeInfinity);
  POSITIVE_INFINITY = fromWords(positiveInfinity);
}

VMPtr<String> Double::toString(double d) {
  if (std::isnan(d)) return String::_VM_fromUTF8("NAN");
  char out[32];
  // to_chars with a precision formats exactly as printf's "%g" in the "C"
  // locale; "%G" differs only in upper-case letters.
  const std::to_chars_result r = std::to_chars(out, out + sizeof out - 1, d, std::chars_format::general, 6);
  *r.ptr = '\0';
  for (char* p = out; p != r.ptr; ++p) {
    if (*p >= 'a' && *p <= 'z') *p = static_cast<char>(*p - 'a' + 'A');
  }
  return String::_VM_fromUTF8(out);
}

}  // namespace java::lang
