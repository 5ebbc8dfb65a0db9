#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// What a conversion does with text that is not valid: a lone or reversed
// surrogate in UTF-16; in UTF-8 a bad lead or continuation byte, a cut
// sequence, an overlong form, an encoded surrogate or a value past
// U+10FFFF. Each use names its policy.
enum class CeTextPolicy {
  kRefuse,   // the conversion fails: names of files, stores and resources
  kReplace,  // each bad unit (UTF-16) or bad lead byte (UTF-8) becomes U+FFFD
};

// The one UTF-16 <-> UTF-8 converter of the system: the stand-in and the
// platform layer convert through it.
class CeText {
 public:
  CeText() = delete;

  // A code point that no text holds: what nextCodePoint gives for a lone
  // surrogate under kRefuse.
  static constexpr char32_t kRefused = 0x110000;

  // The code point at `i` of UTF-16 text (i < text.size()), moving `i` past
  // it: a high surrogate followed by a low one is one code point; any
  // other surrogate is kRefused or U+FFFD, as `policy` says.
  static char32_t nextCodePoint(std::u16string_view text, size_t& i, CeTextPolicy policy);
  // Appends the UTF-8 form of one code point (at most U+10FFFF) to `out`.
  static void appendUTF8(std::string& out, uint32_t c);
  // Appends UTF-16 text as UTF-8; false under kRefuse when the text holds a
  // lone surrogate (`out` then holds the text before it).
  static bool appendUTF8(std::string& out, std::u16string_view text, CeTextPolicy policy);
  // UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
  static std::string toUTF8(std::u16string_view text);
  // Appends UTF-8 text as UTF-16; false under kRefuse when it is not valid
  // UTF-8 (`out` then holds the text before the fault).
  static bool appendUTF16(std::u16string& out, std::string_view text, CeTextPolicy policy);
};
