#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"

namespace java::io {

// The abstract byte sink. The base writes arrays byte by byte through
// write(int); subclasses override what they can do in bulk.
class OutputStream : public virtual java::lang::Object {
  VM_CLASS(OutputStream, java::lang::Object)

 public:
  using Bytes = VMArray<int8_t>;

  VMPtr<OutputStream> _VM_init();

  // The argument checks of InputStream::_VM_checkRange, then write(int) for
  // each byte of b[off .. off + len), as its signed value.
  virtual void write(VMPtr<Bytes> b, int32_t off, int32_t len);
  // write(b, 0, b.length) through the virtual three-argument form.
  virtual void write(VMPtr<Bytes> b);
  // Writes the low 8 bits of `b`.
  virtual void write(int32_t b) = 0;
  // Do nothing here.
  virtual void flush();
  virtual void close();
};

}  // namespace java::io
