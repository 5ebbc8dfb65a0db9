#include "java_lang_String.h"

#include <climits>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "HALString.h"
#include "HALStringMap.h"
#include "VMHeap.h"
#include "VMServices.h"
#include "VMSynchronized.h"
#include "VMThrow.h"
#include "VMUTF8.h"
#include "java_io_UnsupportedEncodingException.h"
#include "java_lang_Character.h"
#include "java_lang_Double.h"
#include "java_lang_Float.h"
#include "java_lang_IndexOutOfBoundsException.h"
#include "java_lang_Integer.h"
#include "java_lang_Long.h"
#include "java_lang_OutOfMemoryError.h"
#include "java_lang_RuntimeException.h"
#include "java_lang_StringBuffer.h"
#include "java_lang_StringIndexOutOfBoundsException.h"
#include "java_lang_System.h"

VM_REGISTER_CLASS(java::lang::String, "java.lang.String", "java.lang.Object", VM_INSTANTIABLE);

namespace {

[[noreturn]] void throwMalformedUTF8() {
  _VM_throwNew<java::lang::RuntimeException>("Improperly formatted UTF-8 string.");
}

// IndexOutOfBoundsException whose message is the bare number.
[[noreturn]] void throwIndexOutOfBounds(int32_t n) {
  _VM_throwNew<java::lang::IndexOutOfBoundsException>(java::lang::String::valueOf(n));
}

// StringIndexOutOfBoundsException whose message is the bare number.
[[noreturn]] void throwBareStringIndex(int32_t n) {
  _VM_throwNew<java::lang::StringIndexOutOfBoundsException>(java::lang::String::valueOf(n));
}

const uint8_t* byteData(java::lang::String::Bytes* bytes, int32_t off) {
  return reinterpret_cast<const uint8_t*>(bytes->elements()) + off;
}

// Frees a temporary block of the runtime allocator.
struct BlockFree {
  void operator()(char* block) const { _VM_free(block); }
};

}  // namespace

namespace {

// The first `wanted` in chars[0, n), or null. Blocks of characters are
// compared at once where the processor has SSE2 (every x86-64 does); the
// library's char16_t find compares one at a time.
const char16_t* findChar(const char16_t* chars, size_t n, char16_t wanted) {
  size_t i = 0;
#ifdef __SSE2__
  const __m128i pattern = _mm_set1_epi16(static_cast<short>(wanted));
  // 32 characters per step while no match is seen, then 8 at a time.
  for (; i + 32 <= n; i += 32) {
    const auto* p = reinterpret_cast<const __m128i*>(chars + i);
    const __m128i a = _mm_cmpeq_epi16(_mm_loadu_si128(p), pattern);
    const __m128i b = _mm_cmpeq_epi16(_mm_loadu_si128(p + 1), pattern);
    const __m128i c = _mm_cmpeq_epi16(_mm_loadu_si128(p + 2), pattern);
    const __m128i d = _mm_cmpeq_epi16(_mm_loadu_si128(p + 3), pattern);
    if (_mm_movemask_epi8(_mm_or_si128(_mm_or_si128(a, b), _mm_or_si128(c, d))) != 0) break;
  }
  for (; i + 8 <= n; i += 8) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(chars + i));
    const int mask = _mm_movemask_epi8(_mm_cmpeq_epi16(block, pattern));
    if (mask != 0) return chars + i + (__builtin_ctz(static_cast<unsigned>(mask)) / 2);
  }
#endif
  for (; i < n; ++i) {
    if (chars[i] == wanted) return chars + i;
  }
  return nullptr;
}

}  // namespace

namespace java::lang {

// Constructors.

VMPtr<String> String::_VM_init() {
  Object::_VM_init();
  value = Chars::create(0);
  offset = 0;
  count = 0;
  return VMPtr<String>(this);
}

VMPtr<String> String::_VM_init(VMPtr<Chars> chars, int32_t offset, int32_t count) {
  Object::_VM_init();
  if (offset < 0) _VM_throwNew<StringIndexOutOfBoundsException>(offset);
  if (count < 0) _VM_throwNew<StringIndexOutOfBoundsException>(count);
  if (offset > chars->length - count) _VM_throwNew<StringIndexOutOfBoundsException>(offset + count);
  VMPtr<Chars> copy = Chars::create(count);
  System::_VM_arraycopy(chars.get(), offset, copy.get(), 0, count);
  value = copy;
  this->offset = 0;
  this->count = count;
  return VMPtr<String>(this);
}

VMPtr<String> String::_VM_init(int32_t offset, int32_t count, VMPtr<Chars> value) {
  Object::_VM_init();
  this->value = value;
  this->offset = offset;
  this->count = count;
  return VMPtr<String>(this);
}

void String::checkByteRange(Bytes* bytes, int32_t off, int32_t len) {
  if (off < 0) throwIndexOutOfBounds(off);
  if (len < 0) throwIndexOutOfBounds(len);
  if (bytes == nullptr) _VM_throwNullPointerException();
  if (off > bytes->length - len) throwIndexOutOfBounds(off + len);
}

void String::decodeUTF8(Bytes* bytes, int32_t off, int32_t len) {
  bool ok = true;
  const int32_t chars = _VM_countUTF8Chars(byteData(bytes, off), len, &ok);
  if (!ok) throwMalformedUTF8();
  VMPtr<Chars> array = Chars::create(chars);
  int32_t capacity = chars;
  _VM_decodeUTF8(array->elements(), capacity, byteData(bytes, off), len, &ok);
  if (!ok) throwMalformedUTF8();
  value = array;
  offset = 0;
  count = chars;
}

void String::decodeSingleBytes(Bytes* bytes, int32_t off, int32_t len) {
  VMPtr<Chars> array = Chars::create(len);
  const uint8_t* src = byteData(bytes, off);
  char16_t* dst = array->elements();
  for (int32_t i = 0; i < len; ++i) dst[i] = src[i];
  value = array;
  offset = 0;
  count = len;
}

VMPtr<String> String::_VM_init(VMPtr<Bytes> bytes, int32_t off, int32_t len, VMPtr<String> enc) {
  Object::_VM_init();
  checkByteRange(bytes.get(), off, len);
  if (!enc) _VM_throwNullPointerException();
  if (enc->_VM_equals("UTF-8") || enc->_VM_equals("UTF8")) {
    decodeUTF8(bytes.get(), off, len);
  } else if (enc->_VM_equals("ISO-8859-1") || enc->_VM_equals("ISO8859_1") || enc->_VM_equals("US-ASCII") ||
             enc->_VM_equals("ASCII")) {
    // Every byte becomes the character of its unsigned value, for all four names.
    decodeSingleBytes(bytes.get(), off, len);
  } else {
    _VM_throwNew<java::io::UnsupportedEncodingException>(enc);
  }
  return VMPtr<String>(this);
}

VMPtr<String> String::_VM_init(VMPtr<Bytes> bytes, int32_t off, int32_t len) {
  return _VM_init(bytes, off, len, _VM_intern("UTF-8"));
}

VMPtr<String> String::_VM_init(VMPtr<Bytes> bytes) { return _VM_init(bytes, 0, bytes->length, _VM_intern("UTF-8")); }

VMPtr<String> String::_VM_init(VMPtr<StringBuffer> sb) {
  Object::_VM_init();
  VMSynchronized guard(sb);
  sb->shared = 1;
  value = sb->value;
  offset = 0;
  count = sb->count;
  return VMPtr<String>(this);
}

VMPtr<String> String::_VM_init(const char* utf8) {
  if (utf8 == nullptr) _VM_throwNullPointerException();
  return _VM_init(utf8, static_cast<int32_t>(std::strlen(utf8)));
}

VMPtr<String> String::_VM_init(const char* utf8, int32_t n) {
  Object::_VM_init();
  if (utf8 == nullptr) _VM_throwNullPointerException();
  const auto* bytes = reinterpret_cast<const uint8_t*>(utf8);
  // Malformed text is not reported: the characters before the first
  // invalid lead byte are kept.
  const int32_t chars = _VM_countUTF8Chars(bytes, n, nullptr);
  VMPtr<Chars> array = Chars::create(chars);
  int32_t capacity = chars;
  _VM_decodeUTF8(array->elements(), capacity, bytes, n, nullptr);
  value = array;
  offset = 0;
  count = chars;
  return VMPtr<String>(this);
}

VMPtr<String> String::_VM_init(const char16_t* units, int32_t n) {
  Object::_VM_init();
  VMPtr<Chars> array = Chars::create(n);
  if (n > 0) {
    if (units == nullptr) _VM_throwNullPointerException();
    std::memcpy(array->elements(), units, sizeof(char16_t) * static_cast<size_t>(n));
  }
  value = array;
  offset = 0;
  count = n;
  return VMPtr<String>(this);
}

VMPtr<String> String::_VM_init(const HALString* text) {
  Object::_VM_init();
  int32_t length = 0;
  if (HAL_getStringLength(text, &length) != HAL_OK) {
    _VM_fatalError("HAL_getStringLength() failed in String::_VM_init().");
  }
  VMPtr<Chars> array = Chars::create(length);
  // An empty platform string has nothing to copy (and may have no array).
  if (length > 0 && HAL_getStringCharacters(text, array->elements()) != HAL_OK) {
    _VM_fatalError("HAL_getStringCharacters() failed in String::_VM_init().");
  }
  value = array;
  offset = 0;
  count = length;
  return VMPtr<String>(this);
}

VMPtr<String> String::_VM_fromUTF8(const char* utf8) {
  VMPtr<String> s = _VM_new();
  s->_VM_init(utf8);
  return s;
}

VMPtr<String> String::_VM_fromUTF16(const char16_t* units, int32_t n) {
  VMPtr<String> s = _VM_new();
  s->_VM_init(units, n);
  return s;
}

VMPtr<String> String::withNewChars(int32_t n) {
  VMPtr<String> s = _VM_new();
  VMPtr<Chars> array = Chars::create(n);
  s->_VM_init(0, n, array);
  return s;
}

// Java methods.

char16_t String::charAt(int32_t index) {
  if (index < 0 || index >= count) _VM_throwNew<StringIndexOutOfBoundsException>(index);
  return _VM_chars()[index];
}

uint8_t String::equals(VMPtr<Object> other) {
  Object* o = other.get();
  if (o == this) return 1;
  if (o == nullptr || o->_VM_getClass() != _VM_class) return 0;
  auto* s = dynamic_cast<String*>(o);
  if (s->count != count) return 0;
  return count == 0 || std::memcmp(_VM_chars(), s->_VM_chars(), sizeof(char16_t) * static_cast<size_t>(count)) == 0;
}

uint8_t String::equalsIgnoreCase(VMPtr<String> other) {
  if (!other || other->count != count) return 0;
  return regionMatches(1, 0, other, 0, count);
}

int32_t String::hashCode() {
  // Unsigned arithmetic: the wrap-around is Java's 32-bit int overflow.
  uint32_t h = 0;
  const char16_t* c = count > 0 ? _VM_chars() : nullptr;
  for (int32_t i = 0; i < count; ++i) h = 31 * h + c[i];
  return static_cast<int32_t>(h);
}

uint8_t String::regionMatches(uint8_t ignoreCase, int32_t toffset, VMPtr<String> other, int32_t ooffset,
                              int32_t len) {
  String* o = other.operator->();
  if (ooffset < 0 || toffset < 0) return 0;
  if (int64_t{toffset} > int64_t{count} - len || int64_t{ooffset} > int64_t{o->count} - len) return 0;
  if (len <= 0) return 1;
  const char16_t* a = _VM_chars() + toffset;
  const char16_t* b = o->_VM_chars() + ooffset;
  for (int32_t i = 0; i < len; ++i) {
    if (a[i] == b[i]) continue;
    if (ignoreCase && Character::toUpperCase(a[i]) == Character::toUpperCase(b[i])) continue;
    return 0;
  }
  return 1;
}

uint8_t String::startsWith(VMPtr<String> prefix, int32_t toffset) {
  String* p = prefix.operator->();
  if (toffset < 0 || toffset > count - p->count) return 0;
  return p->count == 0 ||
         std::memcmp(_VM_chars() + toffset, p->_VM_chars(), sizeof(char16_t) * static_cast<size_t>(p->count)) == 0;
}

uint8_t String::startsWith(VMPtr<String> prefix) { return startsWith(prefix, 0); }

int32_t String::indexOf(int32_t ch) { return indexOf(ch, 0); }

int32_t String::indexOf(int32_t ch, int32_t fromIndex) {
  if (fromIndex < 0) fromIndex = 0;
  if (fromIndex >= count || ch < 0 || ch > 0xFFFF) return -1;
  const char16_t* c = _VM_chars();
  const auto n = static_cast<size_t>(count - fromIndex);
  const char16_t* hit = findChar(c + fromIndex, n, static_cast<char16_t>(ch));
  return hit != nullptr ? static_cast<int32_t>(hit - c) : -1;
}

int32_t String::lastIndexOf(int32_t ch) { return lastIndexOf(ch, count - 1); }

int32_t String::lastIndexOf(int32_t ch, int32_t fromIndex) {
  if (fromIndex >= count) fromIndex = count - 1;
  if (fromIndex < 0 || ch < 0 || ch > 0xFFFF) return -1;
  const char16_t* c = _VM_chars();
  const auto wanted = static_cast<char16_t>(ch);
  for (int32_t i = fromIndex; i >= 0; --i) {
    if (c[i] == wanted) return i;
  }
  return -1;
}

VMPtr<String> String::substring(int32_t begin, int32_t end) {
  if (begin < 0) _VM_throwNew<StringIndexOutOfBoundsException>(begin);
  if (end > count) _VM_throwNew<StringIndexOutOfBoundsException>(end);
  if (begin > end) _VM_throwNew<StringIndexOutOfBoundsException>(end - begin);
  if (begin == 0 && end == count) return VMPtr<String>(this);
  VMPtr<String> s = _VM_new();
  s->_VM_init(offset + begin, end - begin, VMPtr<Chars>(value));
  return s;
}

VMPtr<String> String::substring(int32_t begin) { return substring(begin, count); }

void String::getChars(int32_t srcBegin, int32_t srcEnd, VMPtr<Chars> dst, int32_t dstBegin) {
  if (srcBegin < 0) throwBareStringIndex(srcBegin);
  if (srcEnd > count) throwBareStringIndex(srcEnd);
  if (srcBegin > srcEnd) throwBareStringIndex(srcEnd - srcBegin);
  System::_VM_arraycopy(value.get(), offset + srcBegin, dst.operator->(), dstBegin, srcEnd - srcBegin);
}

VMPtr<String> String::replace(char16_t oldChar, char16_t newChar) {
  if (oldChar == newChar) return VMPtr<String>(this);
  const int32_t first = indexOf(oldChar, 0);
  if (first < 0) return VMPtr<String>(this);
  VMPtr<String> s = withNewChars(count);
  const char16_t* src = _VM_chars();
  char16_t* dst = s->value.get()->elements();
  std::memcpy(dst, src, sizeof(char16_t) * static_cast<size_t>(first));
  for (int32_t i = first; i < count; ++i) dst[i] = src[i] == oldChar ? newChar : src[i];
  return s;
}

VMPtr<String> String::toLowerCase() {
  const char16_t* src = count > 0 ? _VM_chars() : nullptr;
  int32_t first = 0;
  while (first < count && Character::toLowerCase(src[first]) == src[first]) ++first;
  if (first == count) return VMPtr<String>(this);
  VMPtr<String> s = withNewChars(count);
  src = _VM_chars();
  char16_t* dst = s->value.get()->elements();
  std::memcpy(dst, src, sizeof(char16_t) * static_cast<size_t>(first));
  for (int32_t i = first; i < count; ++i) dst[i] = Character::toLowerCase(src[i]);
  return s;
}

VMPtr<String> String::trim() {
  const char16_t* c = count > 0 ? _VM_chars() : nullptr;
  int32_t st = 0;
  int32_t len = count;
  while (st < len && c[st] <= u' ') ++st;
  while (st < len && c[len - 1] <= u' ') --len;
  return st > 0 || len < count ? substring(st, len) : VMPtr<String>(this);
}

VMPtr<String> String::toString() { return VMPtr<String>(this); }

VMPtr<String> String::valueOf(VMPtr<Object> o) { return o ? o->toString() : _VM_intern("null"); }

VMPtr<String> String::valueOf(uint8_t b) { return _VM_intern(b ? "true" : "false"); }

VMPtr<String> String::valueOf(char16_t c) { return _VM_fromUTF16(&c, 1); }

VMPtr<String> String::valueOf(int32_t i) { return Integer::toString(i, 10); }

VMPtr<String> String::valueOf(int64_t l) { return Long::toString(l, 10); }

VMPtr<String> String::valueOf(float f) { return Float::toString(f); }

VMPtr<String> String::valueOf(double d) { return Double::toString(d); }

void String::_VM_markReferences(int colour) {
  _VM_mark(value, colour);
  Object::_VM_markReferences(colour);
}

// Native helpers.

bool String::_VM_equals(const char* utf8) {
  if (utf8 == nullptr) return false;
  return _VM_equalsUTF8(reinterpret_cast<const uint8_t*>(utf8), static_cast<int32_t>(std::strlen(utf8)),
                        count > 0 ? _VM_chars() : nullptr, count);
}

void String::_VM_toCString(VMCString& out) {
  out = "";
  _VM_appendToCString(out);
}

void String::_VM_appendToCString(VMCString& out) {
  const int64_t size = _VM_getUTF8Length(count > 0 ? _VM_chars() : nullptr, count, true) + 1;
  if (size > INT32_MAX) _VM_throwNew<OutOfMemoryError>();
  char small[256];
  std::unique_ptr<char, BlockFree> large;
  char* buffer = small;
  if (size > static_cast<int64_t>(sizeof small)) {
    large.reset(static_cast<char*>(_VM_operatorNew(static_cast<size_t>(size))));
    buffer = large.get();
  }
  int32_t room = static_cast<int32_t>(size);
  _VM_encodeUTF8(reinterpret_cast<uint8_t*>(buffer), room, count > 0 ? _VM_chars() : nullptr, count, true, true);
  out.append(buffer);
}

}  // namespace java::lang

HALStringMap* _VM_getInternTable() {
  // The table and the Strings it pins live for the life of the process.
  static HALStringMap* table = new (_VM_operatorNew(sizeof(HALStringMap))) HALStringMap();
  return table;
}

VMPtr<java::lang::String> _VM_intern(const char* text) {
  if (text == nullptr) return VMPtr<java::lang::String>();
  HALStringMap* table = _VM_getInternTable();
  void* found = nullptr;
  if (table->get(text, &found)) return VMPtr<java::lang::String>(static_cast<java::lang::String*>(found));
  VMPtr<java::lang::String> s = java::lang::String::_VM_fromUTF8(text);
  void* pin = _VM_operatorNew(sizeof(VMNative<java::lang::String>));
  // Both allocations may have let other threads run, and one of them may
  // have interned the same text meanwhile: its String is the one.
  if (table->get(text, &found)) {
    _VM_free(pin);
    return VMPtr<java::lang::String>(static_cast<java::lang::String*>(found));
  }
  // A native-scope reference that is never destroyed pins the String.
  new (pin) VMNative<java::lang::String>(s);
  table->put(text, s.get());
  return s;
}
