#include "java_lang_StringBuffer.h"

#include <climits>
#include <cstring>

#include "VMServices.h"
#include "VMSynchronized.h"
#include "VMThrow.h"
#include "VMUTF8.h"
#include "java_lang_OutOfMemoryError.h"
#include "java_lang_String.h"
#include "java_lang_StringIndexOutOfBoundsException.h"
#include "java_lang_System.h"

VM_REGISTER_CLASS(java::lang::StringBuffer, "java.lang.StringBuffer", "java.lang.Object", VM_INSTANTIABLE);

namespace {

// a + b for two lengths >= 0; a text longer than the largest int cannot
// exist, so that is an OutOfMemoryError rather than a wrapped length.
int32_t addLengths(int32_t a, int32_t b) {
  if (b > INT32_MAX - a) _VM_throwNew<java::lang::OutOfMemoryError>();
  return a + b;
}

}  // namespace

namespace java::lang {

VMPtr<StringBuffer> StringBuffer::_VM_init() { return _VM_init(16); }

VMPtr<StringBuffer> StringBuffer::_VM_init(int32_t length) {
  Object::_VM_init();
  value = Chars::create(length);
  count = 0;
  shared = 0;
  initialised = 1;
  return VMPtr<StringBuffer>(this);
}

VMPtr<StringBuffer> StringBuffer::_VM_init(VMPtr<String> str) {
  _VM_init(addLengths(str->count, 16));
  return append(str);
}

VMPtr<StringBuffer> StringBuffer::_VM_init(const char* utf8) {
  if (utf8 == nullptr) _VM_throwNullPointerException();
  const size_t bytes = std::strlen(utf8);
  if (bytes > static_cast<size_t>(INT32_MAX - 16)) _VM_throwNew<OutOfMemoryError>();
  _VM_init(static_cast<int32_t>(bytes) + 16);
  return append(utf8, static_cast<int32_t>(bytes));
}

void StringBuffer::checkInitialised() {
  if (!initialised) _VM_fatalError("Using StringBuffer without initialization!");
}

void StringBuffer::expandCapacity(int32_t minimumCapacity) {
  // (capacity + 1) * 2 in Java's wrapping int arithmetic.
  int32_t newCapacity = static_cast<int32_t>((static_cast<uint32_t>(value->length) + 1u) * 2u);
  if (newCapacity < 0) {
    newCapacity = INT32_MAX;
  } else if (minimumCapacity > newCapacity) {
    newCapacity = minimumCapacity;
  }
  VMPtr<Chars> bigger = Chars::create(newCapacity);
  System::_VM_arraycopy(value.get(), 0, bigger.get(), 0, count);
  value = bigger;
  shared = 0;
}

void StringBuffer::copyValue(int32_t capacity, int32_t keep) {
  VMPtr<Chars> copy = Chars::create(capacity);
  System::_VM_arraycopy(value.get(), 0, copy.get(), 0, keep);
  value = copy;
  shared = 0;
}

void StringBuffer::prepareInPlaceChange(int32_t newCount) {
  if (newCount > value->length) {
    expandCapacity(newCount);
  } else if (shared) {
    copyValue(value->length, count);
  }
}

VMPtr<StringBuffer> StringBuffer::append(VMPtr<String> str) {
  VMSynchronized guard(this);
  checkInitialised();
  if (!str) str = String::valueOf(VMPtr<Object>());
  const int32_t n = str->count;
  const int32_t newCount = addLengths(count, n);
  if (newCount > value->length) expandCapacity(newCount);
  // Appending writes only at positions no String shows: no copy needed.
  if (n > 0) std::memmove(value->elements() + count, str->_VM_chars(), sizeof(char16_t) * static_cast<size_t>(n));
  count = newCount;
  return VMPtr<StringBuffer>(this);
}

VMPtr<StringBuffer> StringBuffer::append(char16_t c) {
  VMSynchronized guard(this);
  checkInitialised();
  const int32_t newCount = addLengths(count, 1);
  if (newCount > value->length) expandCapacity(newCount);
  value->elements()[count] = c;
  count = newCount;
  return VMPtr<StringBuffer>(this);
}

VMPtr<StringBuffer> StringBuffer::append(int32_t i) { return append(String::valueOf(i)); }

VMPtr<StringBuffer> StringBuffer::append(VMPtr<Object> obj) { return append(String::valueOf(obj)); }

VMPtr<StringBuffer> StringBuffer::append(const char* utf8, int32_t n) {
  VMSynchronized guard(this);
  checkInitialised();
  if (utf8 == nullptr) _VM_throwNullPointerException();
  const auto* bytes = reinterpret_cast<const uint8_t*>(utf8);
  const int32_t chars = _VM_countUTF8Chars(bytes, n, nullptr);
  const int32_t newCount = addLengths(count, chars);
  if (newCount > value->length) expandCapacity(newCount);
  int32_t capacity = chars;
  _VM_decodeUTF8(value->elements() + count, capacity, bytes, n, nullptr);
  count = newCount;
  return VMPtr<StringBuffer>(this);
}

VMPtr<StringBuffer> StringBuffer::append(const char* utf8) {
  if (utf8 == nullptr) _VM_throwNullPointerException();
  const size_t bytes = std::strlen(utf8);
  if (bytes > static_cast<size_t>(INT32_MAX)) _VM_throwNew<OutOfMemoryError>();
  return append(utf8, static_cast<int32_t>(bytes));
}

VMPtr<StringBuffer> StringBuffer::insert(int32_t offset, VMPtr<String> str) {
  VMSynchronized guard(this);
  if (offset < 0 || offset > count) _VM_throwNew<StringIndexOutOfBoundsException>();
  if (!str) str = String::valueOf(VMPtr<Object>());
  const int32_t n = str->count;
  const int32_t newCount = addLengths(count, n);
  prepareInPlaceChange(newCount);
  System::_VM_arraycopy(value.get(), offset, value.get(), offset + n, count - offset);
  str->getChars(0, n, VMPtr<Chars>(value), offset);
  count = newCount;
  return VMPtr<StringBuffer>(this);
}

VMPtr<StringBuffer> StringBuffer::insert(int32_t offset, char16_t c) {
  VMSynchronized guard(this);
  if (offset < 0 || offset > count) _VM_throwNew<StringIndexOutOfBoundsException>(offset);
  const int32_t newCount = addLengths(count, 1);
  prepareInPlaceChange(newCount);
  System::_VM_arraycopy(value.get(), offset, value.get(), offset + 1, count - offset);
  value->elements()[offset] = c;
  count = newCount;
  return VMPtr<StringBuffer>(this);
}

VMPtr<StringBuffer> StringBuffer::insert(int32_t offset, int32_t i) { return insert(offset, String::valueOf(i)); }

void StringBuffer::setLength(int32_t newLength) {
  VMSynchronized guard(this);
  if (newLength < 0) _VM_throwNew<StringIndexOutOfBoundsException>(newLength);
  if (newLength > value->length) expandCapacity(newLength);
  if (count < newLength) {
    if (shared) copyValue(value->length, count);
    char16_t* chars = value->elements();
    for (int32_t i = count; i < newLength; ++i) chars[i] = 0;
  } else if (shared) {
    // Later appends would overwrite characters a String still shows. The
    // copy comes before the count changes, so a failed allocation leaves the
    // buffer as it was.
    copyValue(newLength == 0 ? 16 : value->length, newLength);
  }
  count = newLength;
}

void StringBuffer::getChars(int32_t srcBegin, int32_t srcEnd, VMPtr<Chars> dst, int32_t dstBegin) {
  VMSynchronized guard(this);
  if (srcBegin < 0) _VM_throwNew<StringIndexOutOfBoundsException>(srcBegin);
  if (srcEnd < 0 || srcEnd > count) _VM_throwNew<StringIndexOutOfBoundsException>(srcEnd);
  if (srcBegin > srcEnd) _VM_throwNew<StringIndexOutOfBoundsException>("srcBegin > srcEnd");
  System::_VM_arraycopy(value.get(), srcBegin, dst.operator->(), dstBegin, srcEnd - srcBegin);
}

VMPtr<String> StringBuffer::toString() {
  VMPtr<String> s = String::_VM_new();
  s->_VM_init(0, count, VMPtr<Chars>(value));
  shared = 1;
  return s;
}

void StringBuffer::_VM_markReferences(int colour) {
  _VM_mark(value, colour);
  Object::_VM_markReferences(colour);
}

}  // namespace java::lang
