#pragma once

#include <array>
#include <cstdint>

#include "VMClassKit.h"

namespace vm_detail {

// Character classes of U+0000-U+00FF.
enum : uint8_t { kCharDigit = 1, kCharLower = 2, kCharUpper = 4, kCharHasUpper = 8 };

constexpr std::array<uint8_t, 256> makeCharacterClasses() {
  std::array<uint8_t, 256> t{};
  for (int c = '0'; c <= '9'; ++c) t[c] = kCharDigit;
  for (int c = 'A'; c <= 'Z'; ++c) t[c] = kCharUpper;
  for (int c = 'a'; c <= 'z'; ++c) t[c] = kCharLower | kCharHasUpper;
  for (int c = 0xC0; c <= 0xDE; ++c) {
    if (c != 0xD7) t[c] = kCharUpper;
  }
  // U+00DF and U+00FF are lower case without an upper case in Latin-1.
  for (int c = 0xDF; c <= 0xFF; ++c) {
    if (c != 0xF7) t[c] = kCharLower | (c == 0xDF || c == 0xFF ? 0 : kCharHasUpper);
  }
  return t;
}

inline constexpr std::array<uint8_t, 256> kCharacterClasses = makeCharacterClasses();

}  // namespace vm_detail

namespace java::lang {

// Character tests and case mapping for ASCII and Latin-1, from a fixed
// table (never the C library's locale). Characters above U+00FF are no
// letters and no digits, and map to themselves.
class Character final : public virtual Object {
  VM_CLASS(Character, Object)

 public:
  static constexpr int32_t MIN_RADIX = 2;
  static constexpr int32_t MAX_RADIX = 36;

  // '0'-'9' only.
  static uint8_t isDigit(char16_t c) { return (classOf(c) & vm_detail::kCharDigit) != 0; }
  // 'a'-'z', U+00DF-U+00F6, U+00F8-U+00FF.
  static uint8_t isLowerCase(char16_t c) { return (classOf(c) & vm_detail::kCharLower) != 0; }
  // 'A'-'Z', U+00C0-U+00D6, U+00D8-U+00DE.
  static uint8_t isUpperCase(char16_t c) { return (classOf(c) & vm_detail::kCharUpper) != 0; }
  // Upper-case letters plus 0x20; every other character unchanged.
  static char16_t toLowerCase(char16_t c) {
    return (classOf(c) & vm_detail::kCharUpper) != 0 ? static_cast<char16_t>(c + 0x20) : c;
  }
  // 'a'-'z', U+00E0-U+00F6, U+00F8-U+00FE minus 0x20 (U+00DF and U+00FF
  // have no upper case here); every other character unchanged.
  static char16_t toUpperCase(char16_t c) {
    return (classOf(c) & vm_detail::kCharHasUpper) != 0 ? static_cast<char16_t>(c - 0x20) : c;
  }
  // The value of `c` as a digit in `radix` (2..36): '0'-'9' are 0-9,
  // 'A'-'Z' and 'a'-'z' are 10-35; -1 for any other character (other
  // letters included), a value >= radix, or a radix outside 2..36.
  static int32_t digit(char16_t c, int32_t radix) {
    if (radix < MIN_RADIX || radix > MAX_RADIX) return -1;
    int32_t value = -1;
    if (c >= u'0' && c <= u'9') {
      value = c - u'0';
    } else if (c >= u'A' && c <= u'Z') {
      value = c - u'A' + 10;
    } else if (c >= u'a' && c <= u'z') {
      value = c - u'a' + 10;
    }
    return value < radix ? value : -1;
  }

 private:
  static uint8_t classOf(char16_t c) { return c < 256 ? vm_detail::kCharacterClasses[c] : 0; }
};

}  // namespace java::lang
