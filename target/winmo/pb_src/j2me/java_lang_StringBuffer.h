#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"

namespace java::lang {

class String;

// The growable character buffer behind every concatenation. Its array is
// handed to the Strings made from it without a copy; the buffer then
// copies it before it next changes characters those Strings show.
//
// Capacity rules: a new buffer holds 16 characters (or the asked number);
// growing makes (capacity + 1) * 2, or the needed length when that is more,
// or 2147483647 when the doubling overflows. A text that would pass
// 2147483647 characters throws OutOfMemoryError and leaves the buffer as it
// was.
//
// Every operation but toString and the forwarders holds the buffer's monitor.
class StringBuffer final : public virtual Object {
  VM_CLASS(StringBuffer, Object)

 public:
  using Chars = VMArray<char16_t>;

  // StringBuffer(): capacity 16.
  VMPtr<StringBuffer> _VM_init();
  // StringBuffer(int length): capacity `length` (a negative one throws
  // NegativeArraySizeException).
  VMPtr<StringBuffer> _VM_init(int32_t length);
  // StringBuffer(String str): capacity str.length() + 16, then the text.
  VMPtr<StringBuffer> _VM_init(VMPtr<String> str);
  // From zero-terminated UTF-8 text: capacity of its byte length + 16.
  VMPtr<StringBuffer> _VM_init(const char* utf8);

  // Appending to a buffer whose constructor never ran is a fatal error.
  // A null String or Object appends "null".
  VMPtr<StringBuffer> append(VMPtr<String> str);
  VMPtr<StringBuffer> append(char16_t c);
  // The decimal text of `i`.
  VMPtr<StringBuffer> append(int32_t i);
  VMPtr<StringBuffer> append(VMPtr<Object> obj);
  // `n` bytes / zero-terminated UTF-8 text (malformed text appends the
  // characters before its first invalid lead byte).
  VMPtr<StringBuffer> append(const char* utf8, int32_t n);
  VMPtr<StringBuffer> append(const char* utf8);
  // A C++ bool or char would silently pick the int overload.
  VMPtr<StringBuffer> append(bool) = delete;
  VMPtr<StringBuffer> append(char) = delete;

  // An offset outside 0 .. length(): StringIndexOutOfBoundsException, without
  // message for a String, with the offset for a char.
  VMPtr<StringBuffer> insert(int32_t offset, VMPtr<String> str);
  VMPtr<StringBuffer> insert(int32_t offset, char16_t c);
  VMPtr<StringBuffer> insert(int32_t offset, int32_t i);
  VMPtr<StringBuffer> insert(int32_t offset, bool) = delete;
  VMPtr<StringBuffer> insert(int32_t offset, char) = delete;

  // Truncates, or pads with U+0000. A negative length throws
  // StringIndexOutOfBoundsException.
  void setLength(int32_t newLength);
  // Copies characters srcBegin .. srcEnd - 1 into `dst` from `dstBegin` on.
  void getChars(int32_t srcBegin, int32_t srcEnd, VMPtr<Chars> dst, int32_t dstBegin);
  // A String over the buffer's array (no copy).
  VMPtr<String> toString() override;

  // The length of the text (the count field).
  int32_t length() { return count; }

  void _VM_markReferences(int colour) override;

  VMField<Chars> value;  // its length is the capacity
  int32_t count;         // characters in use
  uint8_t shared;        // `value` is also the array of a String
  uint8_t initialised;   // a Java constructor has run

 private:
  void checkInitialised();
  // Grows to at least `minimumCapacity` (the capacity rule above).
  void expandCapacity(int32_t minimumCapacity);
  // Makes room for `newCount` characters; an array a String shares is
  // copied first, because the caller changes characters below `count`.
  void prepareInPlaceChange(int32_t newCount);
  // A fresh, unshared array of `capacity` characters holding the first
  // `keep` characters of the text.
  void copyValue(int32_t capacity, int32_t keep);
};

}  // namespace java::lang
