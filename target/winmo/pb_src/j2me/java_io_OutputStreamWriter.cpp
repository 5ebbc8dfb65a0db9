#include "java_io_OutputStreamWriter.h"

#include "VMSynchronized.h"
#include "VMThrow.h"
#include "VMUTF8.h"
#include "java_io_IOException.h"
#include "java_io_InputStream.h"
#include "java_lang_String.h"

VM_REGISTER_CLASS(java::io::OutputStreamWriter, "java.io.OutputStreamWriter", "java.io.Writer", 0);

namespace java::io {

namespace {
constexpr int32_t kBufferLength = 2048;
}

VMPtr<OutputStreamWriter> OutputStreamWriter::_VM_init(VMPtr<OutputStream> out) {
  Writer::_VM_init();
  if (!out) _VM_throwNullPointerException();
  this->out = out;
  return VMPtr<OutputStreamWriter>(this);
}

void OutputStreamWriter::ensureOpen() {
  if (!out) _VM_throwNew<IOException>("Stream closed");
}

void OutputStreamWriter::writeUnits(const char16_t* chars, int32_t len) {
  if (!buffer) buffer = VMArray<int8_t>::create(kBufferLength);
  while (len > 0) {
    int32_t bytes = kBufferLength;
    const int32_t units =
        _VM_encodeUTF8(reinterpret_cast<uint8_t*>(buffer->elements()), bytes, chars, len, false, false);
    out->write(VMPtr<VMArray<int8_t>>(buffer), 0, bytes);
    chars += units;
    len -= units;
  }
}

void OutputStreamWriter::write(int32_t c) {
  ensureOpen();
  VMSynchronized guard(lock);
  const char16_t unit = static_cast<char16_t>(c);
  writeUnits(&unit, 1);
}

void OutputStreamWriter::write(VMPtr<Chars> cbuf, int32_t off, int32_t len) {
  ensureOpen();
  InputStream::_VM_checkRange(cbuf->length, off, len);
  if (len == 0) return;
  VMSynchronized guard(lock);
  writeUnits(cbuf->elements() + off, len);
}

void OutputStreamWriter::write(VMPtr<java::lang::String> str, int32_t off, int32_t len) {
  ensureOpen();
  InputStream::_VM_checkRange(str->count, off, len);
  if (len == 0) return;
  VMSynchronized guard(lock);
  writeUnits(str->_VM_chars() + off, len);
}

void OutputStreamWriter::flush() {
  ensureOpen();
  out->flush();
}

void OutputStreamWriter::close() {
  if (!out) return;
  out->close();
  out = nullptr;
}

void OutputStreamWriter::_VM_markReferences(int colour) {
  _VM_markFields(colour, out, buffer);
  Writer::_VM_markReferences(colour);
}

}  // namespace java::io
