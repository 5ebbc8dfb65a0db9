#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"
#include "VMCString.h"

namespace java::lang {

// Immutable UTF-16 text: a window (offset, count) onto a char array that
// it may share with other strings and string buffers.
class String final : public virtual Object {
  VM_CLASS(String)

 public:
  using Chars = VMArray<char16_t>;

  // String(): the empty text.
  VMPtr<String> _VM_init();
  // From zero-terminated UTF-8 text (string literals, class names).
  VMPtr<String> _VM_init(const char* utf8);
  // From `n` UTF-16 units.
  VMPtr<String> _VM_init(const char16_t* units, int32_t n);
  // Sharing constructor: takes the fields as given.
  VMPtr<String> _VM_init(int32_t offset, int32_t count, VMPtr<Chars> value);

  // new String from UTF-8 text / UTF-16 units.
  static VMPtr<String> _VM_fromUTF8(const char* utf8);
  static VMPtr<String> _VM_fromUTF16(const char16_t* units, int32_t n);

  int32_t length() { return count; }
  char16_t charAt(int32_t index);
  int32_t hashCode() override;
  uint8_t equals(VMPtr<Object> other) override;
  VMPtr<String> toString() override;
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
};

}  // namespace java::lang

// The interned String of a literal: equal texts give the identical object,
// pinned for the life of the process. Null text gives null.
VMPtr<java::lang::String> _VM_intern(const char* text);
