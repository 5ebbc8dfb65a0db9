#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"

namespace java::lang {
class String;
}

namespace java::io {

// Reading of Java primitive values and strings in the portable binary form
// of DataOutput: big-endian values, strings as a 2-byte length and modified
// UTF-8.
class DataInput : public virtual java::lang::Object {
  VM_INTERFACE_CLASS(DataInput)

 public:
  virtual void readFully(VMPtr<VMArray<int8_t>> b, int32_t off, int32_t len) = 0;
  virtual void readFully(VMPtr<VMArray<int8_t>> b) = 0;
  virtual int32_t skipBytes(int32_t n) = 0;
  virtual uint8_t readBoolean() = 0;
  virtual int8_t readByte() = 0;
  virtual int32_t readUnsignedByte() = 0;
  virtual int16_t readShort() = 0;
  virtual int32_t readUnsignedShort() = 0;
  virtual char16_t readChar() = 0;
  virtual int32_t readInt() = 0;
  virtual int64_t readLong() = 0;
  virtual float readFloat() = 0;
  virtual double readDouble() = 0;
  virtual VMPtr<java::lang::String> readUTF() = 0;
};

}  // namespace java::io
