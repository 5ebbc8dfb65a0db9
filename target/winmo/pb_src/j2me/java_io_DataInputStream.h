#pragma once

#include <cstdint>

#include "java_io_DataInput.h"
#include "java_io_InputStream.h"

namespace java::io {

// Reads primitive values and strings from an underlying stream. Every
// single-value read takes its bytes with read(), one call per byte, and
// throws EOFException (no message) when any of them found the end; all
// bytes of the value are asked for first, so a value cut short still
// consumes what was there.
class DataInputStream : public InputStream, public virtual DataInput {
  VM_CLASS(DataInputStream, InputStream)

 public:
  // DataInputStream(InputStream in); `in` is not tested for null.
  VMPtr<DataInputStream> _VM_init(VMPtr<InputStream> in);

  // The stream operations forward to `in`.
  int32_t read(VMPtr<Bytes> b, int32_t off, int32_t len) override;
  int32_t read(VMPtr<Bytes> b) override;
  int32_t read() override;
  int64_t skip(int64_t n) override;
  int32_t available() override;
  void close() override;
  void mark(int32_t readlimit) override;
  void reset() override;
  uint8_t markSupported() override;

  // Exactly `len` bytes into b[off ..]: IndexOutOfBoundsException for a
  // negative `len` (the other checks are the underlying read's),
  // EOFException when the data ends first.
  void readFully(VMPtr<Bytes> b, int32_t off, int32_t len) override;
  void readFully(VMPtr<Bytes> b) override;
  // Skips up to `n` bytes with skip() until it makes no progress; returns
  // the bytes skipped.
  int32_t skipBytes(int32_t n) override;
  uint8_t readBoolean() override;
  int8_t readByte() override;
  int32_t readUnsignedByte() override;
  int16_t readShort() override;
  int32_t readUnsignedShort() override;
  char16_t readChar() override;
  int32_t readInt() override;
  int64_t readLong() override;
  float readFloat() override;
  double readDouble() override;
  // A 2-byte length L and L bytes of modified UTF-8. UTFDataFormatException
  // (no message, after all L bytes were read) for a byte that cannot start
  // a character, or a character cut short by the end of the L bytes. A
  // continuation byte not of the form 10xxxxxx gives U+0080 for its
  // character and is no error.
  VMPtr<java::lang::String> readUTF() override;

  void _VM_markReferences(int colour) override;

  VMField<InputStream> in;

 private:
  // read(), with EOFException at the end.
  int32_t readByteOrThrow();
};

}  // namespace java::io
