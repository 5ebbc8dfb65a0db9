#include "java_lang_String.h"

#include <cstring>
#include <vector>

#include "HALStringMap.h"
#include "VMThrow.h"
#include "VMUTF8.h"
#include "java_lang_StringIndexOutOfBoundsException.h"

VM_REGISTER_CLASS(java::lang::String, "java.lang.String", "java.lang.Object", VM_INSTANTIABLE);

namespace java::lang {

VMPtr<String> String::_VM_init() {
  value = Chars::create(0);
  offset = 0;
  count = 0;
  return VMPtr<String>(this);
}

VMPtr<String> String::_VM_init(const char* utf8) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(utf8);
  const int32_t n = static_cast<int32_t>(std::strlen(utf8));
  bool ok = true;
  int32_t chars = _VM_countUTF8Chars(bytes, n, &ok);
  VMPtr<Chars> array = Chars::create(chars);
  // Malformed text keeps the characters before the first invalid lead byte.
  _VM_decodeUTF8(array->elements(), chars, bytes, n, &ok);
  value = array;
  offset = 0;
  count = chars;
  return VMPtr<String>(this);
}

VMPtr<String> String::_VM_init(const char16_t* units, int32_t n) {
  VMPtr<Chars> array = Chars::create(n);
  if (n > 0) std::memcpy(array->elements(), units, sizeof(char16_t) * static_cast<size_t>(n));
  value = array;
  offset = 0;
  count = n;
  return VMPtr<String>(this);
}

VMPtr<String> String::_VM_init(int32_t offset, int32_t count, VMPtr<Chars> value) {
  this->value = value;
  this->offset = offset;
  this->count = count;
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

char16_t String::charAt(int32_t index) {
  if (index < 0 || index >= count) _VM_throwNew<StringIndexOutOfBoundsException>(index);
  return _VM_chars()[index];
}

int32_t String::hashCode() {
  int32_t h = 0;
  const char16_t* c = count > 0 ? _VM_chars() : nullptr;
  for (int32_t i = 0; i < count; ++i) h = 31 * h + c[i];
  return h;
}

uint8_t String::equals(VMPtr<Object> other) {
  if (other.get() == this) return 1;
  auto* s = dynamic_cast<String*>(other.get());
  if (s == nullptr || s->count != count) return 0;
  return count == 0 || std::memcmp(_VM_chars(), s->_VM_chars(), sizeof(char16_t) * static_cast<size_t>(count)) == 0;
}

VMPtr<String> String::toString() { return VMPtr<String>(this); }

void String::_VM_markReferences(int colour) {
  _VM_mark(value, colour);
  Object::_VM_markReferences(colour);
}

bool String::_VM_equals(const char* utf8) {
  return _VM_equalsUTF8(reinterpret_cast<const uint8_t*>(utf8), static_cast<int32_t>(std::strlen(utf8)),
                        count > 0 ? _VM_chars() : nullptr, count);
}

void String::_VM_toCString(VMCString& out) {
  out = "";
  _VM_appendToCString(out);
}

void String::_VM_appendToCString(VMCString& out) {
  const char16_t* chars = count > 0 ? _VM_chars() : nullptr;
  const int64_t length = _VM_getUTF8Length(chars, count, true);
  std::vector<uint8_t> buffer(static_cast<size_t>(length) + 1);
  int32_t room = static_cast<int32_t>(buffer.size());
  _VM_encodeUTF8(buffer.data(), room, chars, count, true, true);
  out.append(reinterpret_cast<const char*>(buffer.data()));
}

}  // namespace java::lang

VMPtr<java::lang::String> _VM_intern(const char* text) {
  if (text == nullptr) return VMPtr<java::lang::String>();
  // The table and its pins live for the life of the process.
  static HALStringMap* table = new (_VM_operatorNew(sizeof(HALStringMap))) HALStringMap();
  void* found = nullptr;
  if (table->get(text, &found)) return VMPtr<java::lang::String>(static_cast<java::lang::String*>(found));
  VMPtr<java::lang::String> s = java::lang::String::_VM_fromUTF8(text);
  new (_VM_operatorNew(sizeof(VMNative<java::lang::String>))) VMNative<java::lang::String>(s);
  table->put(text, s.get());
  return s;
}
