#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"
#include "VMCString.h"

class HALString;
class HALStringMap;

namespace java::lang {

class StringBuffer;

// Immutable UTF-16 text: a window (offset, count) onto a char array that it
// may share with other strings and string buffers. The characters in the
// window never change once a constructor has returned. A null argument
// throws NullPointerException unless a method says otherwise.
class String final : public virtual Object {
  VM_CLASS(String, Object)

 public:
  using Chars = VMArray<char16_t>;
  using Bytes = VMArray<int8_t>;

  // String(): the empty text.
  VMPtr<String> _VM_init();
  // String(char[] value, int offset, int count): copies the characters.
  // StringIndexOutOfBoundsException with offset, count or offset + count.
  VMPtr<String> _VM_init(VMPtr<Chars> value, int32_t offset, int32_t count);
  // The sharing constructor: takes the three fields as given, no checks.
  VMPtr<String> _VM_init(int32_t offset, int32_t count, VMPtr<Chars> value);
  // String(byte[] bytes, int off, int len, String enc): the charset names
  // "UTF-8", "UTF8", "ISO-8859-1", "ISO8859_1", "US-ASCII" and "ASCII"
  // (exact spelling). Bounds: IndexOutOfBoundsException with the bare
  // number; another name: UnsupportedEncodingException; an invalid UTF-8
  // lead byte: RuntimeException "Improperly formatted UTF-8 string.".
  VMPtr<String> _VM_init(VMPtr<Bytes> bytes, int32_t off, int32_t len, VMPtr<String> enc);
  // String(byte[] bytes, int off, int len) and String(byte[] bytes): UTF-8.
  VMPtr<String> _VM_init(VMPtr<Bytes> bytes, int32_t off, int32_t len);
  VMPtr<String> _VM_init(VMPtr<Bytes> bytes);
  // String(StringBuffer): shares the buffer's array; the buffer copies
  // before it next changes characters this String shows.
  VMPtr<String> _VM_init(VMPtr<StringBuffer> sb);
  // From zero-terminated modified UTF-8 text (literals, class names) and
  // from `n` bytes of it. Malformed text keeps the characters before the
  // first invalid lead byte.
  VMPtr<String> _VM_init(const char* utf8);
  VMPtr<String> _VM_init(const char* utf8, int32_t n);
  // From `n` UTF-16 units.
  VMPtr<String> _VM_init(const char16_t* units, int32_t n);
  // From a platform string; a platform failure is fatal.
  VMPtr<String> _VM_init(const HALString* text);

  // new String from UTF-8 text / UTF-16 units.
  static VMPtr<String> _VM_fromUTF8(const char* utf8);
  static VMPtr<String> _VM_fromUTF16(const char16_t* units, int32_t n);

  // Java methods.
  int32_t length() { return count; }
  char16_t charAt(int32_t index);
  uint8_t equals(VMPtr<Object> other) override;
  // Case-insensitive through Character.toUpperCase; null gives false.
  uint8_t equalsIgnoreCase(VMPtr<String> other);
  // h = 31 * h + c over the characters; recomputed on every call.
  int32_t hashCode() override;
  uint8_t regionMatches(uint8_t ignoreCase, int32_t toffset, VMPtr<String> other, int32_t ooffset, int32_t len);
  uint8_t startsWith(VMPtr<String> prefix, int32_t toffset);
  uint8_t startsWith(VMPtr<String> prefix);
  // `ch` outside 0 .. 0xFFFF never matches.
  int32_t indexOf(int32_t ch);
  int32_t indexOf(int32_t ch, int32_t fromIndex);
  int32_t lastIndexOf(int32_t ch);
  int32_t lastIndexOf(int32_t ch, int32_t fromIndex);
  // Shares the array; the whole range gives this String.
  VMPtr<String> substring(int32_t begin, int32_t end);
  VMPtr<String> substring(int32_t begin);
  // Bounds errors carry the bare number as message; the copy has
  // System.arraycopy's checks.
  void getChars(int32_t srcBegin, int32_t srcEnd, VMPtr<Chars> dst, int32_t dstBegin);
  VMPtr<String> replace(char16_t oldChar, char16_t newChar);
  // Lower case through Character.toLowerCase (ASCII and Latin-1 capitals).
  VMPtr<String> toLowerCase();
  // Drops characters <= ' ' at both ends; shares the array.
  VMPtr<String> trim();
  VMPtr<String> toString() override;

  // "null" for null, else o.toString().
  static VMPtr<String> valueOf(VMPtr<Object> o);
  // Java boolean: "true" or "false".
  static VMPtr<String> valueOf(uint8_t b);
  static VMPtr<String> valueOf(char16_t c);
  static VMPtr<String> valueOf(int32_t i);
  static VMPtr<String> valueOf(int64_t l);
  static VMPtr<String> valueOf(float f);
  static VMPtr<String> valueOf(double d);
  // A C++ bool or char would silently pick the int overload.
  static VMPtr<String> valueOf(bool) = delete;
  static VMPtr<String> valueOf(char) = delete;

  void _VM_markReferences(int colour) override;

  // True when the text equals the zero-terminated UTF-8 text.
  bool _VM_equals(const char* utf8);
  // The text as modified UTF-8 (NUL as C0 80), replacing / appended to `out`.
  void _VM_toCString(VMCString& out);
  void _VM_appendToCString(VMCString& out);
  // The first character of the text.
  const char16_t* _VM_chars() const { return value.get()->elements() + offset; }

  VMField<Chars> value;
  int32_t offset;
  int32_t count;

 private:
  // The checks of String(byte[], int, int, ...) and the two decodings.
  static void checkByteRange(Bytes* bytes, int32_t off, int32_t len);
  void decodeUTF8(Bytes* bytes, int32_t off, int32_t len);
  void decodeSingleBytes(Bytes* bytes, int32_t off, int32_t len);
  // A new String that owns `n` fresh characters, filled by the caller.
  static VMPtr<String> withNewChars(int32_t n);
};

}  // namespace java::lang

// The interned String of a literal: equal texts give the identical object,
// pinned for the life of the process. Null text gives null.
VMPtr<java::lang::String> _VM_intern(const char* text);
// The intern table (text -> String), made on first use and never cleared.
HALStringMap* _VM_getInternTable();
