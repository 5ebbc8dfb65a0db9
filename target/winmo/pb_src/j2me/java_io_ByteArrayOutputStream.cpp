#include "java_io_ByteArrayOutputStream.h"

#include <algorithm>

#include "VMSynchronized.h"
#include "VMThrow.h"
#include "java_io_InputStream.h"
#include "java_lang_IllegalArgumentException.h"
#include "java_lang_RuntimeException.h"
#include "java_lang_System.h"

VM_REGISTER_CLASS(java::io::ByteArrayOutputStream, "java.io.ByteArrayOutputStream", "java.io.OutputStream",
                  VM_INSTANTIABLE);

namespace java::io {

VMPtr<ByteArrayOutputStream> ByteArrayOutputStream::_VM_init() { return _VM_init(32); }

VMPtr<ByteArrayOutputStream> ByteArrayOutputStream::_VM_init(int32_t size) {
  OutputStream::_VM_init();
  if (size < 0) _VM_throwNew<java::lang::IllegalArgumentException>("Negative initial size");
  buf = Bytes::create(size);
  count = 0;
  closed = 0;
  return VMPtr<ByteArrayOutputStream>(this);
}

void ByteArrayOutputStream::checkOpen() {
  if (closed) _VM_throwNew<java::lang::RuntimeException>("Writing to closed ByteArrayOutputStream");
}

void ByteArrayOutputStream::grow(int32_t need) {
  const int32_t length = buf->length;
  if (need <= length) return;
  VMPtr<Bytes> bigger = Bytes::create(std::max(length * 2, need));
  java::lang::System::_VM_arraycopy(buf.get(), 0, bigger.get(), 0, count);
  buf = bigger;
}

void ByteArrayOutputStream::write(int32_t b) {
  VMSynchronized guard(this);
  checkOpen();
  grow(count + 1);
  buf->at(count) = static_cast<int8_t>(b);
  ++count;
}

void ByteArrayOutputStream::write(VMPtr<Bytes> b, int32_t off, int32_t len) {
  VMSynchronized guard(this);
  InputStream::_VM_checkRange(b, off, len);
  if (len == 0) return;
  grow(count + len);
  java::lang::System::_VM_arraycopy(b.get(), off, buf.get(), count, len);
  count += len;
}

void ByteArrayOutputStream::close() { closed = 1; }

void ByteArrayOutputStream::reset() {
  VMSynchronized guard(this);
  checkOpen();
  count = 0;
}

VMPtr<OutputStream::Bytes> ByteArrayOutputStream::toByteArray() {
  VMSynchronized guard(this);
  if (closed && buf->length == count) return VMPtr<Bytes>(buf);
  VMPtr<Bytes> copy = Bytes::create(count);
  java::lang::System::_VM_arraycopy(buf.get(), 0, copy.get(), 0, count);
  return copy;
}

int32_t ByteArrayOutputStream::size() { return count; }

VMPtr<java::lang::String> ByteArrayOutputStream::toString() {
  VMPtr<java::lang::String> text = java::lang::String::_VM_new();
  text->_VM_init(VMPtr<Bytes>(buf), 0, count);
  return text;
}

void ByteArrayOutputStream::_VM_markReferences(int colour) {
  _VM_mark(buf, colour);
  OutputStream::_VM_markReferences(colour);
}

}  // namespace java::io
