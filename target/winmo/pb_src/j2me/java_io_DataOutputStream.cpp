#include "java_io_DataOutputStream.h"

#include <bit>

#include "VMThrow.h"
#include "VMUTF8.h"
#include "java_io_UTFDataFormatException.h"
#include "java_lang_String.h"

VM_REGISTER_CLASS(java::io::DataOutputStream, "java.io.DataOutputStream", "java.io.OutputStream", 0);
VM_IMPLEMENTS(java::io::DataOutputStream, "java.io.DataOutput");

namespace java::io {

VMPtr<DataOutputStream> DataOutputStream::_VM_init(VMPtr<OutputStream> out) {
  OutputStream::_VM_init();
  this->out = out;
  return VMPtr<DataOutputStream>(this);
}

void DataOutputStream::write(VMPtr<Bytes> b, int32_t off, int32_t len) { out->write(b, off, len); }

void DataOutputStream::write(VMPtr<Bytes> b) { OutputStream::write(b); }

void DataOutputStream::write(int32_t b) { out->write(b); }

void DataOutputStream::flush() { out->flush(); }

void DataOutputStream::close() { out->close(); }

void DataOutputStream::writeBoolean(uint8_t v) { write(v ? 1 : 0); }

void DataOutputStream::writeByte(int32_t v) { write(v); }

void DataOutputStream::writeShort(int32_t v) {
  write((v >> 8) & 0xFF);
  write(v & 0xFF);
}

void DataOutputStream::writeChar(int32_t v) { writeShort(v); }

void DataOutputStream::writeInt(int32_t v) {
  write((v >> 24) & 0xFF);
  write((v >> 16) & 0xFF);
  write((v >> 8) & 0xFF);
  write(v & 0xFF);
}

void DataOutputStream::writeLong(int64_t v) {
  writeInt(static_cast<int32_t>(v >> 32));
  writeInt(static_cast<int32_t>(v));
}

void DataOutputStream::writeFloat(float v) { writeInt(std::bit_cast<int32_t>(v)); }

void DataOutputStream::writeDouble(double v) { writeLong(std::bit_cast<int64_t>(v)); }

void DataOutputStream::writeChars(VMPtr<java::lang::String> s) {
  const int32_t n = s->count;
  for (int32_t i = 0; i < n; ++i) writeChar(s->_VM_chars()[i]);
}

void DataOutputStream::writeUTF(VMPtr<java::lang::String> s) {
  const int64_t length = _VM_getUTF8Length(s->_VM_chars(), s->count, true);
  if (length > 65535) _VM_throwNew<UTFDataFormatException>();
  VMPtr<Bytes> bytes = Bytes::create(static_cast<int32_t>(length) + 2);
  bytes->at(0) = static_cast<int8_t>(length >> 8);
  bytes->at(1) = static_cast<int8_t>(length);
  int32_t room = static_cast<int32_t>(length);
  _VM_encodeUTF8(reinterpret_cast<uint8_t*>(bytes->elements()) + 2, room, s->_VM_chars(), s->count, true, false);
  write(bytes);
}

void DataOutputStream::_VM_markReferences(int colour) {
  _VM_mark(out, colour);
  OutputStream::_VM_markReferences(colour);
}

}  // namespace java::io
