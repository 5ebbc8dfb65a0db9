#pragma once

#include <cstdint>

#include "VMClassKit.h"

namespace java::lang {

class String;

// The boxed int, with the int formatting and parsing of the library.
class Integer final : public virtual Object {
  VM_CLASS(Integer, Object)

 public:
  // Integer(int value)
  VMPtr<Integer> _VM_init(int32_t value);

  // The value itself.
  int32_t hashCode() override;
  // True for an Integer of the same value.
  uint8_t equals(VMPtr<Object> other) override;
  // The decimal text of the value.
  VMPtr<String> toString() override;

  // The text of `i` in `radix` with lower-case digits and a leading '-' for
  // negative numbers; a radix outside 2..36 counts as 10.
  static VMPtr<String> toString(int32_t i, int32_t radix);
  // The unsigned hexadecimal text of `i` in lower case ("ffffffff" for -1).
  static VMPtr<String> toHexString(int32_t i);
  // The int in `s` in `radix`: an optional '-' (no '+') and at least one
  // digit. NullPointerException for null; NumberFormatException "empty
  // String", "radix less than Character.MIN_RADIX", "radix greater than
  // Character.MAX_RADIX", or with `s` as message for any other failure
  // (overflow included).
  static int32_t parseInt(VMPtr<String> s, int32_t radix);
  static int32_t parseInt(VMPtr<String> s);

  // Runtime helper of Integer and Long: writes the radix text of `v` (radix
  // outside 2..36 counts as 10) so that it ends just before `end`, and
  // returns its first character. `end` needs room for 65 characters for a
  // long, 33 for an int. The digits are taken from the negative value, so
  // MIN_VALUE needs no special case.
  template <class I>
  static char16_t* _VM_formatRadix(I v, int32_t radix, char16_t* end) {
    if (radix < 2 || radix > 36) radix = 10;
    const bool negative = v < 0;
    if (!negative) v = -v;
    char16_t* p = end;
    if (radix == 10) {
      // A constant divisor lets the compiler divide by multiplying.
      while (v <= -10) {
        *--p = static_cast<char16_t>(u'0' - v % 10);
        v /= 10;
      }
    } else {
      while (v <= -radix) {
        *--p = static_cast<char16_t>(kDigits[-(v % radix)]);
        v /= radix;
      }
    }
    *--p = static_cast<char16_t>(kDigits[-v]);
    if (negative) *--p = u'-';
    return p;
  }

  int32_t value;

 private:
  // parseInt of a String the caller holds.
  static int32_t parse(String* s, int32_t radix);

  // The digit characters by value.
  static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
};

}  // namespace java::lang
