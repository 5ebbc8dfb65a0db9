#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Text conversions of the stand-in.
class CeText {
 public:
  CeText() = delete;
  // Appends the UTF-8 form of one code point (at most U+10FFFF) to `out`.
  static void appendUTF8(std::string& out, uint32_t c);
  // UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
  static std::string toUTF8(std::u16string_view text);
};
