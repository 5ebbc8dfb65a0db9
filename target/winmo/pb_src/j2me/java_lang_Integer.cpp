#include "java_lang_Integer.h"

#include <climits>

#include "VMClassRegistry.h"
#include "VMThrow.h"
#include "java_lang_Character.h"
#include "java_lang_NumberFormatException.h"
#include "java_lang_String.h"

VM_REGISTER_CLASS(java::lang::Integer, "java.lang.Integer", "java.lang.Object", 0);

namespace {

// The value of the `n` (> 0) digits at `c` in `radix`, gathered as a
// negative number (whose range is one larger, so MIN_VALUE needs no special
// case): false for a character that is no digit or a value beyond the
// range of a negative (or, unless `negative`, a positive) int.
inline bool gatherDigits(const char16_t* c, int32_t n, int32_t radix, bool negative, int32_t& out) {
  const int32_t limit = negative ? INT32_MIN : -INT32_MAX;
  const int32_t multmin = limit / radix;
  int32_t result = 0;
  for (int32_t i = 0; i < n; ++i) {
    const int32_t d = java::lang::Character::digit(c[i], radix);
    if (d < 0 || result < multmin) return false;
    result *= radix;
    if (result < limit + d) return false;
    result -= d;
  }
  out = result;
  return true;
}

}  // namespace

namespace java::lang {

VMPtr<Integer> Integer::_VM_init(int32_t value) {
  Object::_VM_init();
  this->value = value;
  return VMPtr<Integer>(this);
}

int32_t Integer::hashCode() { return value; }

uint8_t Integer::equals(VMPtr<Object> other) {
  if (!_VM_instanceOf(other.get(), _VM_class)) return 0;
  return dynamic_cast<Integer*>(other.get())->value == value;
}

VMPtr<String> Integer::toString() { return String::valueOf(value); }

VMPtr<String> Integer::toString(int32_t i, int32_t radix) {
  char16_t buffer[33];
  char16_t* end = buffer + 33;
  const char16_t* first = _VM_formatRadix(i, radix, end);
  return String::_VM_fromUTF16(first, static_cast<int32_t>(end - first));
}

VMPtr<String> Integer::toHexString(int32_t i) {
  char16_t buffer[8];
  char16_t* p = buffer + 8;
  auto bits = static_cast<uint32_t>(i);
  do {
    *--p = static_cast<char16_t>(kDigits[bits & 0xF]);
    bits >>= 4;
  } while (bits != 0);
  return String::_VM_fromUTF16(p, static_cast<int32_t>(buffer + 8 - p));
}

int32_t Integer::parseInt(VMPtr<String> s, int32_t radix) { return parse(s.operator->(), radix); }

int32_t Integer::parseInt(VMPtr<String> s) { return parse(s.operator->(), 10); }

int32_t Integer::parse(String* s, int32_t radix) {
  const int32_t length = s->count;
  if (length == 0) _VM_throwNew<NumberFormatException>("empty String");
  if (radix < Character::MIN_RADIX) _VM_throwNew<NumberFormatException>("radix less than Character.MIN_RADIX");
  if (radix > Character::MAX_RADIX) _VM_throwNew<NumberFormatException>("radix greater than Character.MAX_RADIX");
  const char16_t* c = s->_VM_chars();
  const bool negative = c[0] == u'-';
  const int32_t first = negative ? 1 : 0;
  int32_t result = 0;
  // Radix 10 gets its own copy of the loop, with constant arithmetic. A
  // lone minus sign is no number.
  const bool ok = first < length && (radix == 10 ? gatherDigits(c + first, length - first, 10, negative, result)
                                                 : gatherDigits(c + first, length - first, radix, negative, result));
  if (!ok) _VM_throwNew<NumberFormatException>(VMPtr<String>(s));
  return negative ? result : -result;
}

}  // namespace java::lang
