#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"

namespace java::lang {
class String;
}

namespace java::io {

// The abstract character sink. The base stages Strings and single
// characters through one reusable 1024-character buffer and hands them to
// write(char[], int, int).
class Writer : public virtual java::lang::Object {
  VM_CLASS(Writer, java::lang::Object)

 public:
  using Chars = VMArray<char16_t>;

  // Writer(): the writer guards itself (`lock` = this).
  VMPtr<Writer> _VM_init();

  // Under `lock`: NullPointerException for a null `str`; then the `len`
  // characters from `off` in pieces of at most 1024.
  virtual void write(VMPtr<java::lang::String> str, int32_t off, int32_t len);
  virtual void write(VMPtr<java::lang::String> str);
  virtual void write(VMPtr<Chars> cbuf, int32_t off, int32_t len) = 0;
  virtual void write(VMPtr<Chars> cbuf);
  // Under `lock`: the low 16 bits of `c` as one character.
  virtual void write(int32_t c);
  virtual void flush() = 0;
  virtual void close() = 0;

  void _VM_markReferences(int colour) override;

  VMField<java::lang::Object> lock;
  VMField<Chars> writeBuffer;  // made on first use

 protected:
  // The staging buffer, made on first use.
  Chars* stagingBuffer();
};

}  // namespace java::io
