#include "HALString.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

// A text's array of length + 1 units must not exceed this many units: a
// longer text could not have its length counted in 32 bits.
constexpr size_t kMaxUnits = 0x7FFFFFFF;

size_t wideLength(const char16_t* text) {
  size_t n = 0;
  while (text[n] != 0) ++n;
  return n;
}

}  // namespace

HALString::~HALString() { delete[] chars_; }

bool HALString::assign(const char16_t* first, size_t firstLength, const char16_t* second,
                       size_t secondLength) {
  if (firstLength > kMaxUnits - 1 || secondLength > kMaxUnits - 1 - firstLength) return false;
  const size_t length = firstLength + secondLength;
  char16_t* chars = new (std::nothrow) char16_t[length + 1];
  if (!chars) return false;
  if (firstLength) std::memcpy(chars, first, firstLength * sizeof(char16_t));
  if (secondLength) std::memcpy(chars + firstLength, second, secondLength * sizeof(char16_t));
  chars[length] = 0;
  // The sources are read before the old array goes: they may lie in it.
  delete[] chars_;
  chars_ = chars;
  length_ = static_cast<int32_t>(length);
  return true;
}

bool HALString::fail() {
  clear();
  return false;
}

bool HALString::initFromWide(const char16_t* text) {
  refCount_ = 1;
  if (!text) {
    clear();
    return true;
  }
  return assign(text, wideLength(text), nullptr, 0) || fail();
}

bool HALString::initFromChars(const char16_t* units, int32_t n) {
  refCount_ = 1;
  if (!units) {
    clear();
    return true;
  }
  return assign(units, static_cast<size_t>(std::max(n, 0)), nullptr, 0) || fail();
}

bool HALString::initCopy(const HALString* other) {
  refCount_ = 1;
  if (!other || !other->chars_) {
    clear();
    return true;
  }
  return assign(other->chars_, static_cast<size_t>(other->length_), nullptr, 0) || fail();
}

bool HALString::initSubstring(const HALString* other, int32_t begin, int32_t end) {
  refCount_ = 1;
  if (!other) {
    clear();
    return true;
  }
  const int32_t length = other->length();
  begin = std::clamp(begin, 0, length);
  end = std::clamp(end, begin, length);
  return assign(other->chars_ + begin, static_cast<size_t>(end - begin), nullptr, 0) || fail();
}

HALString* HALString::substring(int32_t begin, int32_t end) const {
  HALString* s = new (std::nothrow) HALString();
  if (s && !s->initSubstring(this, begin, end)) {
    delete s;
    return nullptr;
  }
  return s;
}

void HALString::addRef() { ++refCount_; }

void HALString::release(HALString* s) {
  if (s && --s->refCount_ < 1) delete s;
}

void HALString::clear() {
  delete[] chars_;
  chars_ = nullptr;
  length_ = 0;
}

int32_t HALString::length() const { return chars_ ? length_ : 0; }

char16_t HALString::charAt(int32_t i) const {
  return (i >= 0 && i < length()) ? chars_[i] : 0;
}

int32_t HALString::indexOf(char16_t c, int32_t from) const {
  for (int32_t i = std::max(from, 0); i < length(); ++i) {
    if (chars_[i] == c) return i;
  }
  return -1;
}

int32_t HALString::lastIndexOf(char16_t c) const {
  for (int32_t i = length() - 1; i >= 0; --i) {
    if (chars_[i] == c) return i;
  }
  return -1;
}

bool HALString::equals(const HALString* other) const {
  if (!other) return false;
  if (other == this || other->chars_ == chars_) return true;
  if (!chars_ || !other->chars_) return false;
  const char16_t* a = chars_;
  const char16_t* b = other->chars_;
  while (*a != 0 && *a == *b) {
    ++a;
    ++b;
  }
  return *a == *b;
}

bool HALString::append(const char16_t* text) {
  if (!text || *text == 0) return true;
  return assign(chars_, static_cast<size_t>(length()), text, wideLength(text));
}

bool HALString::append(const HALString* other) {
  return other ? append(other->chars_) : true;
}

bool HALString::getChars(char16_t* dst) const {
  if (!chars_ || !dst) return false;
  std::memcpy(dst, chars_, static_cast<size_t>(length_) * sizeof(char16_t));
  return true;
}

HALStatus HAL_getStringLength(const HALString* s, int32_t* outLength) {
  if (!s || !outLength) return HAL_ILLEGAL_ARGUMENT_ERR;
  *outLength = s->length();
  return HAL_OK;
}

HALStatus HAL_getStringCharacters(const HALString* s, char16_t* dst) {
  if (!s || !dst) return HAL_ILLEGAL_ARGUMENT_ERR;
  return s->getChars(dst) ? HAL_OK : HAL_ILLEGAL_ARGUMENT_ERR;
}

HALStatus HAL_releaseString(HALString* s) {
  if (!s) return HAL_ILLEGAL_ARGUMENT_ERR;
  HALString::release(s);
  return HAL_OK;
}
