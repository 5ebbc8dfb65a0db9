#include "java_io_Writer.h"

#include <algorithm>

#include "VMSynchronized.h"
#include "java_lang_String.h"

VM_REGISTER_CLASS(java::io::Writer, "java.io.Writer", "java.lang.Object", VM_ABSTRACT);

namespace java::io {

namespace {
constexpr int32_t kStagingLength = 1024;
}

VMPtr<Writer> Writer::_VM_init() {
  Object::_VM_init();
  lock = VMPtr<Object>(this);
  return VMPtr<Writer>(this);
}

Writer::Chars* Writer::stagingBuffer() {
  if (!writeBuffer) writeBuffer = Chars::create(kStagingLength);
  return writeBuffer.get();
}

void Writer::write(int32_t c) {
  VMSynchronized guard(lock);
  stagingBuffer()->at(0) = static_cast<char16_t>(c);
  write(VMPtr<Chars>(writeBuffer), 0, 1);
}

void Writer::write(VMPtr<Chars> cbuf) { write(cbuf, 0, cbuf->length); }

void Writer::write(VMPtr<java::lang::String> str) { write(str, 0, str->count); }

void Writer::write(VMPtr<java::lang::String> str, int32_t off, int32_t len) {
  VMSynchronized guard(lock);
  if (!str) _VM_throwNullPointerException();
  stagingBuffer();
  while (len > 0) {
    const int32_t n = std::min(len, kStagingLength);
    str->getChars(off, off + n, VMPtr<Chars>(writeBuffer), 0);
    write(VMPtr<Chars>(writeBuffer), 0, n);
    off += n;
    len -= n;
  }
}

void Writer::_VM_markReferences(int colour) {
  _VM_markFields(colour, lock, writeBuffer);
  Object::_VM_markReferences(colour);
}

}  // namespace java::io
