#pragma once

// Java semantics for translated code: checked casts, integer division and
// remainder, masked shifts, saturating float-to-integer conversion and sign
// extension of bit fields. Translated code uses these, never the bare C++
// operators that trap or are undefined.

#include <cmath>
#include <cstdint>
#include <limits>
#include <type_traits>

#include "VMRef.h"

[[noreturn]] void _VM_throwClassCastException();
[[noreturn]] void _VM_throwDivideByZero();

// (T) ref: null stays null; an object that is not a T throws ClassCastException.
template <class T, class U>
VMPtr<T> _VM_cast(const VMPtr<U>& ref) {
  if (ref.isNull()) return VMPtr<T>();
  if constexpr (std::is_convertible_v<U*, T*>) {
    return VMPtr<T>(ref.get());
  } else {
    T* target = dynamic_cast<T*>(ref.get());
    if (target == nullptr) _VM_throwClassCastException();
    return VMPtr<T>(target);
  }
}
template <class T, class U>
VMPtr<T> _VM_cast(const VMField<U>& ref) {
  return _VM_cast<T>(VMPtr<U>(ref));
}

// a / b and a % b on int and long: division by zero throws
// ArithmeticException ("/ by zero"); MIN_VALUE / -1 is MIN_VALUE and
// MIN_VALUE % -1 is 0.
template <class I>
inline I _VM_div(I a, I b) {
  static_assert(std::is_same_v<I, int32_t> || std::is_same_v<I, int64_t>);
  if (b == 0) [[unlikely]] _VM_throwDivideByZero();
  if (b == -1) return static_cast<I>(-static_cast<std::make_unsigned_t<I>>(a));
  return a / b;
}
template <class I>
inline I _VM_rem(I a, I b) {
  static_assert(std::is_same_v<I, int32_t> || std::is_same_v<I, int64_t>);
  if (b == 0) [[unlikely]] _VM_throwDivideByZero();
  if (b == -1) return 0;
  return a % b;
}

// <<, >> and >>> with the count masked to 31 (int) or 63 (long).
inline int32_t _VM_shl(int32_t a, int32_t n) { return static_cast<int32_t>(static_cast<uint32_t>(a) << (n & 31)); }
inline int64_t _VM_shl(int64_t a, int32_t n) { return static_cast<int64_t>(static_cast<uint64_t>(a) << (n & 63)); }
inline int32_t _VM_shr(int32_t a, int32_t n) { return a >> (n & 31); }
inline int64_t _VM_shr(int64_t a, int32_t n) { return a >> (n & 63); }
inline int32_t _VM_ushr(int32_t a, int32_t n) { return static_cast<int32_t>(static_cast<uint32_t>(a) >> (n & 31)); }
inline int64_t _VM_ushr(int64_t a, int32_t n) { return static_cast<int64_t>(static_cast<uint64_t>(a) >> (n & 63)); }

// (int) x and (long) x for float and double: NaN gives 0, values beyond the
// range give MIN_VALUE or MAX_VALUE, everything else truncates toward zero.
template <class I, class F>
inline I _VM_f2i(F x) {
  static_assert(std::is_same_v<I, int32_t> || std::is_same_v<I, int64_t>);
  static_assert(std::is_floating_point_v<F>);
  if (std::isnan(x)) return 0;
  // 2^31 and 2^63 are exact in float and double.
  constexpr F limit = static_cast<F>(std::numeric_limits<I>::max()) ;
  if (x >= limit) return std::numeric_limits<I>::max();
  if (x <= static_cast<F>(std::numeric_limits<I>::min())) return std::numeric_limits<I>::min();
  return static_cast<I>(x);
}
inline int32_t _VM_d2i(double x) { return _VM_f2i<int32_t>(x); }
inline int64_t _VM_d2l(double x) { return _VM_f2i<int64_t>(x); }
inline int32_t _VM_f2i(float x) { return _VM_f2i<int32_t>(x); }
inline int64_t _VM_f2l(float x) { return _VM_f2i<int64_t>(x); }

// The signed value of the low `bits` bits of `value` (1 <= bits <= 32).
inline int32_t _VM_signExtend(uint32_t value, int bits) {
  const int shift = 32 - bits;
  return static_cast<int32_t>(value << shift) >> shift;
}

// (byte), (short) and (char) narrowing.
inline int8_t _VM_i2b(int32_t x) { return static_cast<int8_t>(x); }
inline int16_t _VM_i2s(int32_t x) { return static_cast<int16_t>(x); }
inline char16_t _VM_i2c(int32_t x) { return static_cast<char16_t>(x); }
