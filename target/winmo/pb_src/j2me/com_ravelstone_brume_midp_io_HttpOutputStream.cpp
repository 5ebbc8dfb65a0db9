#include "com_ravelstone_brume_midp_io_HttpOutputStream.h"

#include <string>

#include "HALHttp.h"
#include "VMThrow.h"
#include "java_io_IOException.h"
#include "java_io_InputStream.h"

VM_REGISTER_CLASS(com::ravelstone::brume::midp::io::HttpOutputStream, "com.ravelstone.brume.midp.io.HttpOutputStream",
                  "java.io.OutputStream", 0);

namespace com::ravelstone::brume::midp::io {

VMPtr<HttpOutputStream> HttpOutputStream::_VM_init(int32_t handle) {
  OutputStream::_VM_init();
  this->handle = handle;
  return VMPtr<HttpOutputStream>(this);
}

void HttpOutputStream::append(const uint8_t* bytes, int32_t count) {
  if (handle == 0) _VM_throwNew<java::io::IOException>("The output stream has been closed");
  const HALStatus status = HAL_writeHTTPConnection(handle, bytes, count);
  if (status != HAL_OK) {
    _VM_throwNew<java::io::IOException>(("HttpConnection error: " + std::to_string(status)).c_str());
  }
}

void HttpOutputStream::write(int32_t b) {
  const uint8_t byte = static_cast<uint8_t>(b & 0xFF);
  append(&byte, 1);
}

void HttpOutputStream::write(VMPtr<Bytes> b, int32_t off, int32_t len) {
  if (handle == 0) _VM_throwNew<java::io::IOException>("The output stream has been closed");
  java::io::InputStream::_VM_checkRange(b, off, len);
  append(reinterpret_cast<const uint8_t*>(b->elements()) + off, len);
}

void HttpOutputStream::close() {
  if (handle != 0) HAL_flushHTTPConnection(handle);
  handle = 0;
}

void HttpOutputStream::_VM_markReferences(int colour) {
  _VM_mark(connection, colour);
  OutputStream::_VM_markReferences(colour);
}

}  // namespace com::ravelstone::brume::midp::io
