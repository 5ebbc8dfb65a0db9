#include "CeText.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool isHighSurrogate(uint32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(uint32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The well-formed UTF-8 sequence at `i` (Unicode's table of well-formed
// byte sequences): its code point and length, or 0 when there is none.
int readSequence(std::string_view text, size_t i, char32_t& c) {
  const auto lead = static_cast<uint8_t>(text[i]);
  int extra;
  if (lead < 0x80) {
    c = lead;
    return 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    extra = 1;
    c = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    extra = 2;
    c = lead & 0x0Fu;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    extra = 3;
    c = lead & 0x07u;
  } else {
    return 0;
  }
  if (text.size() - i <= static_cast<size_t>(extra)) return 0;
  for (int k = 1; k <= extra; ++k) {
    const auto next = static_cast<uint8_t>(text[i + static_cast<size_t>(k)]);
    if ((next & 0xC0) != 0x80) return 0;
    c = (c << 6) | (next & 0x3Fu);
  }
  static constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
  if (c < kSmallest[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  return extra + 1;
}

}  // namespace

char32_t CeText::nextCodePoint(std::u16string_view text, size_t& i, CeTextPolicy policy) {
  const uint32_t unit = text[i++];
  if (isHighSurrogate(unit) && i < text.size() && isLowSurrogate(text[i])) {
    return 0x10000 + ((unit - 0xD800) << 10) + (text[i++] - 0xDC00u);
  }
  if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
    return policy == CeTextPolicy::kRefuse ? kRefused : kReplacement;
  }
  return unit;
}

void CeText::appendUTF8(std::string& out, uint32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

bool CeText::appendUTF8(std::string& out, std::u16string_view text, CeTextPolicy policy) {
  out.reserve(out.size() + text.size());
  for (size_t i = 0; i < text.size();) {
    const char32_t c = nextCodePoint(text, i, policy);
    if (c == kRefused) return false;
    appendUTF8(out, c);
  }
  return true;
}

std::string CeText::toUTF8(std::u16string_view text) {
  std::string out;
  appendUTF8(out, text, CeTextPolicy::kReplace);
  return out;
}

bool CeText::appendUTF16(std::u16string& out, std::string_view text, CeTextPolicy policy) {
  out.reserve(out.size() + text.size());
  for (size_t i = 0; i < text.size();) {
    char32_t c = 0;
    const int length = readSequence(text, i, c);
    if (length == 0) {
      if (policy == CeTextPolicy::kRefuse) return false;
      out += static_cast<char16_t>(kReplacement);
      ++i;
      continue;
    }
    i += static_cast<size_t>(length);
    if (c >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
  }
  return true;
}
