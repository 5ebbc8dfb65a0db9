#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"

namespace java::lang {
class String;
}

namespace java::io {

// Writing of Java primitive values and strings in a portable binary form:
// multi-byte values big-endian, strings as a 2-byte length and modified
// UTF-8.
class DataOutput : public virtual java::lang::Object {
  VM_INTERFACE_CLASS(DataOutput)

 public:
  virtual void write(VMPtr<VMArray<int8_t>> b, int32_t off, int32_t len) = 0;
  virtual void write(VMPtr<VMArray<int8_t>> b) = 0;
  virtual void write(int32_t b) = 0;
  virtual void writeBoolean(uint8_t v) = 0;
  virtual void writeByte(int32_t v) = 0;
  virtual void writeShort(int32_t v) = 0;
  virtual void writeChar(int32_t v) = 0;
  virtual void writeInt(int32_t v) = 0;
  virtual void writeLong(int64_t v) = 0;
  virtual void writeFloat(float v) = 0;
  virtual void writeDouble(double v) = 0;
  virtual void writeChars(VMPtr<java::lang::String> s) = 0;
  virtual void writeUTF(VMPtr<java::lang::String> s) = 0;
};

}  // namespace java::io
