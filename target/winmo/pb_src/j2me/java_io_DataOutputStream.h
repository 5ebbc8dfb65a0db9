#pragma once

#include <cstdint>

#include "java_io_DataOutput.h"
#include "java_io_OutputStream.h"

namespace java::io {

// Writes primitive values and strings to an underlying stream, most
// significant byte first, each value byte by byte through write(int).
class DataOutputStream : public OutputStream, public virtual DataOutput {
  VM_CLASS(DataOutputStream, OutputStream)

 public:
  // DataOutputStream(OutputStream out); `out` is not tested for null.
  VMPtr<DataOutputStream> _VM_init(VMPtr<OutputStream> out);

  // The stream operations forward to `out`; write(b) is the base form,
  // which reaches write(b, 0, b.length).
  void write(VMPtr<Bytes> b, int32_t off, int32_t len) override;
  void write(VMPtr<Bytes> b) override;
  void write(int32_t b) override;
  void flush() override;
  void close() override;

  void writeBoolean(uint8_t v) override;
  void writeByte(int32_t v) override;
  void writeShort(int32_t v) override;
  void writeChar(int32_t v) override;
  void writeInt(int32_t v) override;
  void writeLong(int64_t v) override;
  // The IEEE 754 bits as they are (a NaN keeps its payload).
  void writeFloat(float v) override;
  void writeDouble(double v) override;
  // Each UTF-16 unit as two bytes; no length.
  void writeChars(VMPtr<java::lang::String> s) override;
  // A 2-byte length and the modified UTF-8 bytes, in one write(byte[])
  // call. UTFDataFormatException, with nothing written, when the text needs
  // more than 65535 bytes.
  void writeUTF(VMPtr<java::lang::String> s) override;

  void _VM_markReferences(int colour) override;

  VMField<OutputStream> out;
};

}  // namespace java::io
