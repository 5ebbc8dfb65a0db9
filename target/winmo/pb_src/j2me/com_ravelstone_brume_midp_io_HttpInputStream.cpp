#include "com_ravelstone_brume_midp_io_HttpInputStream.h"

#include <cstring>
#include <string>

#include "HALHttp.h"
#include "VMThread.h"
#include "VMThrow.h"
#include "java_io_IOException.h"

VM_REGISTER_CLASS(com::ravelstone::brume::midp::io::HttpInputStream, "com.ravelstone.brume.midp.io.HttpInputStream",
                  "java.io.InputStream", 0);

namespace com::ravelstone::brume::midp::io {

VMPtr<HttpInputStream> HttpInputStream::_VM_init(int32_t handle) {
  InputStream::_VM_init();
  this->handle = handle;
  pos = 0;
  count = 0;
  return VMPtr<HttpInputStream>(this);
}

void HttpInputStream::checkOpen() {
  if (handle == 0) _VM_throwNew<java::io::IOException>("The input stream has been closed");
}

bool HttpInputStream::refill() {
  int32_t n = 0;
  const HALStatus status = HAL_readHTTPConnection(handle, buffer, kChunkSize, &n);
  pos = 0;
  count = status == HAL_OK ? n : 0;
  if (status == HAL_END_OF_DATA_ERR) return false;
  if (status != HAL_OK) {
    _VM_throwNew<java::io::IOException>(("HttpConnection error: " + std::to_string(status)).c_str());
  }
  return true;
}

int32_t HttpInputStream::read() {
  checkOpen();
  if (available() == 0 && !refill()) return -1;
  return buffer[pos++];
}

int32_t HttpInputStream::read(VMPtr<Bytes> b, int32_t off, int32_t len) {
  checkOpen();
  _VM_checkRange(b, off, len);
  if (available() == 0 && !refill()) return -1;
  const int32_t n = len < count - pos ? len : count - pos;
  if (n > 0) {
    std::memcpy(b->elements() + off, buffer + pos, static_cast<size_t>(n));
    pos += n;
  }
  return n;
}

int64_t HttpInputStream::skip(int64_t n) {
  checkOpen();
  int64_t skipped = 0;
  while (skipped < n) {
    const int32_t ready = available();
    if (ready > 0) {
      const int32_t step = n - skipped < ready ? static_cast<int32_t>(n - skipped) : ready;
      pos += step;
      skipped += step;
    } else {
      VMThread::yield();
      if (read() < 0) break;
      ++skipped;
    }
  }
  return skipped;
}

int32_t HttpInputStream::available() { return count - pos; }

void HttpInputStream::close() {
  if (handle != 0) HAL_closeHTTPConnection(handle);
  handle = 0;
  pos = 0;
  count = 0;
}

void HttpInputStream::_VM_markReferences(int colour) {
  _VM_mark(connection, colour);
  InputStream::_VM_markReferences(colour);
}

}  // namespace com::ravelstone::brume::midp::io
