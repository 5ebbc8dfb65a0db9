#include "java_io_DataInputStream.h"

#include <bit>

#include "VMThrow.h"
#include "VMUTF8.h"
#include "java_io_EOFException.h"
#include "java_io_UTFDataFormatException.h"
#include "java_lang_IndexOutOfBoundsException.h"
#include "java_lang_String.h"

VM_REGISTER_CLASS(java::io::DataInputStream, "java.io.DataInputStream", "java.io.InputStream", 0);
VM_IMPLEMENTS(java::io::DataInputStream, "java.io.DataInput");

namespace java::io {

VMPtr<DataInputStream> DataInputStream::_VM_init(VMPtr<InputStream> in) {
  InputStream::_VM_init();
  this->in = in;
  return VMPtr<DataInputStream>(this);
}

int32_t DataInputStream::read(VMPtr<Bytes> b, int32_t off, int32_t len) { return in->read(b, off, len); }

int32_t DataInputStream::read(VMPtr<Bytes> b) { return in->read(b, 0, b->length); }

int32_t DataInputStream::read() { return in->read(); }

int64_t DataInputStream::skip(int64_t n) { return in->skip(n); }

int32_t DataInputStream::available() { return in->available(); }

void DataInputStream::close() { in->close(); }

void DataInputStream::mark(int32_t readlimit) { in->mark(readlimit); }

void DataInputStream::reset() { in->reset(); }

uint8_t DataInputStream::markSupported() { return in->markSupported(); }

void DataInputStream::readFully(VMPtr<Bytes> b, int32_t off, int32_t len) {
  if (len < 0) _VM_throwNew<java::lang::IndexOutOfBoundsException>();
  int32_t n = 0;
  while (n < len) {
    const int32_t k = read(b, off + n, len - n);
    if (k < 0) _VM_throwNew<EOFException>();
    n += k;
  }
}

void DataInputStream::readFully(VMPtr<Bytes> b) { readFully(b, 0, b->length); }

int32_t DataInputStream::skipBytes(int32_t n) {
  int32_t total = 0;
  while (total < n) {
    const int64_t k = skip(n - total);
    if (k <= 0) break;
    total += static_cast<int32_t>(k);
  }
  return total;
}

int32_t DataInputStream::readByteOrThrow() {
  const int32_t c = read();
  if (c < 0) _VM_throwNew<EOFException>();
  return c;
}

uint8_t DataInputStream::readBoolean() { return readByteOrThrow() != 0; }

int8_t DataInputStream::readByte() { return static_cast<int8_t>(readByteOrThrow()); }

int32_t DataInputStream::readUnsignedByte() { return readByteOrThrow(); }

int32_t DataInputStream::readUnsignedShort() {
  const int32_t b1 = read();
  const int32_t b2 = read();
  if ((b1 | b2) < 0) _VM_throwNew<EOFException>();
  return (b1 << 8) + b2;
}

int16_t DataInputStream::readShort() { return static_cast<int16_t>(readUnsignedShort()); }

char16_t DataInputStream::readChar() { return static_cast<char16_t>(readUnsignedShort()); }

int32_t DataInputStream::readInt() {
  const int32_t b1 = read();
  const int32_t b2 = read();
  const int32_t b3 = read();
  const int32_t b4 = read();
  if ((b1 | b2 | b3 | b4) < 0) _VM_throwNew<EOFException>();
  return static_cast<int32_t>((static_cast<uint32_t>(b1) << 24) + (b2 << 16) + (b3 << 8) + b4);
}

int64_t DataInputStream::readLong() {
  const int64_t high = readInt();
  const uint32_t low = static_cast<uint32_t>(readInt());
  return static_cast<int64_t>((static_cast<uint64_t>(high) << 32) + low);
}

float DataInputStream::readFloat() { return std::bit_cast<float>(readInt()); }

double DataInputStream::readDouble() { return std::bit_cast<double>(readLong()); }

VMPtr<java::lang::String> DataInputStream::readUTF() {
  const int32_t length = readUnsignedShort();
  VMPtr<VMArray<char16_t>> chars = VMArray<char16_t>::create(length);
  VMPtr<Bytes> bytes = Bytes::create(length);
  readFully(bytes, 0, length);

  // One character per group of bytes; every group takes at least one
  // byte, so the characters never outgrow the array. A group cut short by
  // the end of the L bytes is malformed.
  const uint8_t* cursor = reinterpret_cast<const uint8_t*>(bytes->elements());
  int32_t remaining = length;
  int32_t produced = 0;
  while (remaining > 0) {
    const uint8_t lead = *cursor;
    const int32_t groupLength = lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    bool valid = true;
    if (groupLength > remaining) _VM_throwNew<UTFDataFormatException>();
    chars->elements()[produced++] = _VM_decodeUTF8Char(remaining, cursor, &valid);
    if (!valid) _VM_throwNew<UTFDataFormatException>();
  }
  VMPtr<java::lang::String> text = java::lang::String::_VM_new();
  text->_VM_init(chars, 0, produced);
  return text;
}

void DataInputStream::_VM_markReferences(int colour) {
  _VM_mark(in, colour);
  InputStream::_VM_markReferences(colour);
}

}  // namespace java::io
