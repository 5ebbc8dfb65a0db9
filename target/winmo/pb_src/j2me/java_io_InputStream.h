#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"

namespace java::io {

// The abstract byte source. The base gives the generic argument checks and
// byte-at-a-time loops over read(); subclasses override what they can do
// in bulk.
class InputStream : public virtual java::lang::Object {
  VM_CLASS(InputStream, java::lang::Object)

 public:
  using Bytes = VMArray<int8_t>;

  VMPtr<InputStream> _VM_init();

  // Up to `len` bytes into b[off ..]: the checks of _VM_checkRange, 0 for
  // `len` 0, -1 when the first read() finds the end; otherwise read() until
  // `len` bytes are stored or the end. An IOException after the first byte
  // ends the loop and is dropped. Returns the bytes stored.
  virtual int32_t read(VMPtr<Bytes> b, int32_t off, int32_t len);
  // read(b, 0, b.length) through the virtual three-argument form.
  virtual int32_t read(VMPtr<Bytes> b);
  // The next byte (0-255), or -1 at the end of the data.
  virtual int32_t read() = 0;
  // Reads and drops up to `n` bytes with read(); 0 for `n` <= 0. Returns
  // the bytes dropped.
  virtual int64_t skip(int64_t n);
  // Bytes that can be read without blocking: 0 here.
  virtual int32_t available();
  // Do nothing here.
  virtual void close();
  virtual void mark(int32_t readlimit);
  // IOException "mark/reset not supported" here.
  virtual void reset();
  // False here.
  virtual uint8_t markSupported();

  // The argument checks of the array forms of every byte stream: null `b`
  // throws NullPointerException; `off` < 0, `len` < 0 or a range past
  // b.length throws IndexOutOfBoundsException (no message).
  static void _VM_checkRange(const VMPtr<Bytes>& b, int32_t off, int32_t len);
  // The range checks alone, against an array or text of `length` units.
  static void _VM_checkRange(int32_t length, int32_t off, int32_t len);
};

}  // namespace java::io
