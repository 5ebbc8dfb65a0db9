#pragma once

#include <cstdint>

#include "java_io_OutputStream.h"
#include "java_io_Writer.h"

namespace java::io {

// A writer that encodes characters as UTF-8 into a byte stream. Each unit
// is encoded on its own (a surrogate takes 3 bytes, U+0000 one 0 byte)
// into one reusable 2048-byte buffer; a character is never split between
// two writes to the stream.
class OutputStreamWriter : public Writer {
  VM_CLASS(OutputStreamWriter, Writer)

 public:
  // OutputStreamWriter(OutputStream out): NullPointerException for null.
  VMPtr<OutputStreamWriter> _VM_init(VMPtr<OutputStream> out);

  using Writer::write;
  // Every write and flush on a closed writer throws IOException "Stream
  // closed" before anything else; a bad range throws
  // IndexOutOfBoundsException (no message).
  void write(VMPtr<java::lang::String> str, int32_t off, int32_t len) override;
  void write(VMPtr<Chars> cbuf, int32_t off, int32_t len) override;
  void write(int32_t c) override;
  void flush() override;
  // Closes the stream once; later closes do nothing.
  void close() override;

  void _VM_markReferences(int colour) override;

  VMField<OutputStream> out;  // null once closed
  VMField<VMArray<int8_t>> buffer;  // made on first use

 private:
  void ensureOpen();
  // Encodes `len` units and writes them in pieces of at most 2048 bytes.
  // The units belong to a String or char array that the caller holds, so
  // they stay in place while the stream runs.
  void writeUnits(const char16_t* chars, int32_t len);
};

}  // namespace java::io
