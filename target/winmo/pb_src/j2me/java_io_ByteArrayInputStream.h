#pragma once

#include <cstdint>

#include "java_io_InputStream.h"

namespace java::io {

// A stream over a slice of a byte array, which it shares, never copies.
class ByteArrayInputStream : public InputStream {
  VM_CLASS(ByteArrayInputStream, InputStream)

 public:
  // ByteArrayInputStream(byte[] buf): the whole array.
  VMPtr<ByteArrayInputStream> _VM_init(VMPtr<Bytes> buf);
  // ByteArrayInputStream(byte[] buf, int offset, int length): from `offset`
  // to min(offset + length, buf.length); the mark stays at 0. The bounds
  // are not checked here: a position outside the array fails in the
  // checked array access of the first read.
  VMPtr<ByteArrayInputStream> _VM_init(VMPtr<Bytes> buf, int32_t offset, int32_t length);

  using InputStream::read;
  // Synchronized: the next byte, or -1 at `count`.
  int32_t read() override;
  // Synchronized: the argument checks; -1 when nothing is left (also for
  // `len` 0); else copies min(len, count - pos) bytes.
  int32_t read(VMPtr<Bytes> b, int32_t off, int32_t len) override;
  // Synchronized: moves on min(n, count - pos) bytes, never back.
  int64_t skip(int64_t n) override;
  int32_t available() override;
  void mark(int32_t readlimit) override;
  void reset() override;
  uint8_t markSupported() override;

  void _VM_markReferences(int colour) override;

  VMField<Bytes> buf;
  int32_t pos;
  int32_t markPos;
  int32_t count;
};

}  // namespace java::io
