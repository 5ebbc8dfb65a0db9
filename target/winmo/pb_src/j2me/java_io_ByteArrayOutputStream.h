#pragma once

#include <cstdint>

#include "java_io_OutputStream.h"

namespace java::io {

// A stream that collects its bytes in a growing array.
class ByteArrayOutputStream : public OutputStream {
  VM_CLASS(ByteArrayOutputStream, OutputStream)

 public:
  // ByteArrayOutputStream(): 32 bytes to start with.
  VMPtr<ByteArrayOutputStream> _VM_init();
  // ByteArrayOutputStream(int size): IllegalArgumentException "Negative
  // initial size" for a negative size.
  VMPtr<ByteArrayOutputStream> _VM_init(int32_t size);

  using OutputStream::write;
  // Synchronized. After close(): RuntimeException "Writing to closed
  // ByteArrayOutputStream".
  void write(int32_t b) override;
  // Synchronized: the argument checks (a null array throws
  // NullPointerException), then appends; allowed after close().
  void write(VMPtr<Bytes> b, int32_t off, int32_t len) override;
  // The data stays readable after close(); only write(int) and reset()
  // refuse to run.
  void close() override;
  // Synchronized: forgets the data, keeps the buffer; refused after close().
  virtual void reset();
  // Synchronized: a copy of the data, or the buffer itself when the stream
  // is closed and the buffer is exactly full.
  virtual VMPtr<Bytes> toByteArray();
  virtual int32_t size();
  // The data decoded as UTF-8.
  VMPtr<java::lang::String> toString() override;

  void _VM_markReferences(int colour) override;

  VMField<Bytes> buf;
  int32_t count;
  uint8_t closed;

 private:
  // Makes room for `need` bytes: max(2 x length, need) when short.
  void grow(int32_t need);
  void checkOpen();
};

}  // namespace java::io
