#include "java_io_ByteArrayInputStream.h"

#include <algorithm>

#include "VMSynchronized.h"
#include "java_lang_System.h"

VM_REGISTER_CLASS(java::io::ByteArrayInputStream, "java.io.ByteArrayInputStream", "java.io.InputStream", 0);

namespace java::io {

VMPtr<ByteArrayInputStream> ByteArrayInputStream::_VM_init(VMPtr<Bytes> buf) {
  InputStream::_VM_init();
  this->buf = buf;
  pos = 0;
  count = buf->length;
  markPos = 0;
  return VMPtr<ByteArrayInputStream>(this);
}

VMPtr<ByteArrayInputStream> ByteArrayInputStream::_VM_init(VMPtr<Bytes> buf, int32_t offset, int32_t length) {
  InputStream::_VM_init();
  this->buf = buf;
  pos = offset;
  count = std::min(offset + length, buf->length);
  markPos = 0;
  return VMPtr<ByteArrayInputStream>(this);
}

int32_t ByteArrayInputStream::read() {
  VMSynchronized guard(this);
  if (pos >= count) return -1;
  const int32_t c = static_cast<uint8_t>(buf->at(pos));
  ++pos;
  return c;
}

int32_t ByteArrayInputStream::read(VMPtr<Bytes> b, int32_t off, int32_t len) {
  VMSynchronized guard(this);
  _VM_checkRange(b, off, len);
  if (pos >= count) return -1;
  if (len > count - pos) len = count - pos;
  if (len <= 0) return 0;
  java::lang::System::_VM_arraycopy(buf.get(), pos, b.get(), off, len);
  pos += len;
  return len;
}

int64_t ByteArrayInputStream::skip(int64_t n) {
  VMSynchronized guard(this);
  int64_t k = std::min<int64_t>(n, static_cast<int64_t>(count) - pos);
  if (k < 0) k = 0;
  pos += static_cast<int32_t>(k);
  return k;
}

int32_t ByteArrayInputStream::available() { return count - pos; }

void ByteArrayInputStream::mark(int32_t) { markPos = pos; }

void ByteArrayInputStream::reset() { pos = markPos; }

uint8_t ByteArrayInputStream::markSupported() { return 1; }

void ByteArrayInputStream::_VM_markReferences(int colour) {
  _VM_mark(buf, colour);
  InputStream::_VM_markReferences(colour);
}

}  // namespace java::io
