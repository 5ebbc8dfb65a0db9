#include "java_io_OutputStream.h"

#include "java_io_InputStream.h"

VM_REGISTER_CLASS(java::io::OutputStream, "java.io.OutputStream", "java.lang.Object", VM_ABSTRACT);

namespace java::io {

VMPtr<OutputStream> OutputStream::_VM_init() {
  Object::_VM_init();
  return VMPtr<OutputStream>(this);
}

void OutputStream::write(VMPtr<Bytes> b, int32_t off, int32_t len) {
  InputStream::_VM_checkRange(b, off, len);
  for (int32_t i = 0; i < len; ++i) write(static_cast<int32_t>(b->at(off + i)));
}

void OutputStream::write(VMPtr<Bytes> b) { write(b, 0, b->length); }

void OutputStream::flush() {}

void OutputStream::close() {}

}  // namespace java::io
