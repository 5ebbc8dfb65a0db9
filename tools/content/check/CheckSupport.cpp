#include "CheckSupport.h"

#include "VMRef.h"
#include "java_lang_String.h"

namespace content::check {

std::string describe(java::lang::Throwable* thrown) {
  VMPtr<java::lang::Throwable> t(thrown);
  VMPtr<java::lang::String> s = t->toString();
  std::string out;
  if (!s) return "an exception";
  for (int32_t i = 0; i < s->count; ++i) {
    const char16_t c = s->_VM_chars()[i];
    out += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
  }
  return out;
}

std::string bytesAfter(long long n, const std::string& what) {
  return std::to_string(n) + (n == 1 ? " byte follows " : " bytes follow ") + what;
}

uint32_t RawReader::u8() {
  if (cut_ || at_ >= bytes_.size()) {
    cut_ = true;
    return 0;
  }
  return bytes_[at_++];
}

uint32_t RawReader::u16() {
  const uint32_t high = u8();
  return high << 8 | u8();
}

uint32_t RawReader::compactUnsigned() {
  const uint32_t first = u8();
  return first == 255 ? u16() : first;
}

int32_t RawReader::compactSigned() {
  const int32_t first = static_cast<int8_t>(u8());
  return first == -128 ? s16() : first;
}

void RawReader::skip(size_t n) {
  if (cut_ || n > bytes_.size() - at_) {
    cut_ = true;
    return;
  }
  at_ += n;
}

}  // namespace content::check
