#include "java_io_InputStream.h"

#include "VMThrow.h"
#include "java_io_IOException.h"
#include "java_lang_IndexOutOfBoundsException.h"

VM_REGISTER_CLASS(java::io::InputStream, "java.io.InputStream", "java.lang.Object", VM_ABSTRACT);

namespace java::io {

VMPtr<InputStream> InputStream::_VM_init() {
  Object::_VM_init();
  return VMPtr<InputStream>(this);
}

void InputStream::_VM_checkRange(int32_t length, int32_t off, int32_t len) {
  // off + len is never formed, so it cannot wrap.
  if (off < 0 || len < 0 || off > length || len > length - off) {
    _VM_throwNew<java::lang::IndexOutOfBoundsException>();
  }
}

void InputStream::_VM_checkRange(const VMPtr<Bytes>& b, int32_t off, int32_t len) {
  _VM_checkRange(b->length, off, len);
}

int32_t InputStream::read(VMPtr<Bytes> b, int32_t off, int32_t len) {
  _VM_checkRange(b, off, len);
  if (len == 0) return 0;
  int32_t c = read();
  if (c == -1) return -1;
  b->at(off) = static_cast<int8_t>(c);
  int32_t i = 1;
  try {
    for (; i < len; ++i) {
      c = read();
      if (c == -1) break;
      b->at(off + i) = static_cast<int8_t>(c);
    }
  } catch (IOException*) {
    // The bytes already stored are the result.
  }
  return i;
}

int32_t InputStream::read(VMPtr<Bytes> b) { return read(b, 0, b->length); }

int64_t InputStream::skip(int64_t n) {
  int64_t remaining = n;
  while (remaining > 0) {
    if (read() < 0) break;
    --remaining;
  }
  return n > 0 ? n - remaining : 0;
}

int32_t InputStream::available() { return 0; }

void InputStream::close() {}

void InputStream::mark(int32_t) {}

void InputStream::reset() { _VM_throwNew<IOException>("mark/reset not supported"); }

uint8_t InputStream::markSupported() { return 0; }

}  // namespace java::io
