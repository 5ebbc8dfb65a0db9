#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"
#include "java_io_InputStream.h"

namespace com::ravelstone::brume::midp::io {

// The body of an HTTP reply, read through the platform's HTTP client by
// the connection's handle (an id, HALHttp.h). Each refill takes one chunk
// of at most 4096 bytes into the stream's own buffer, so a read returns at
// most what is left of the current chunk; the first refill sends the
// request when nothing else has. Closing the stream ends the whole exchange
// (the connection can no longer read or query the reply). A stream whose
// connection was destroyed fails with IOException: its handle is an id that
// no longer names a record.
class HttpInputStream : public java::io::InputStream {
  VM_CLASS(HttpInputStream, java::io::InputStream)

 public:
  static constexpr int32_t kChunkSize = 4096;

  // new HttpInputStream(handle); the caller makes no stream for handle 0.
  VMPtr<HttpInputStream> _VM_init(int32_t handle);

  int32_t read(VMPtr<Bytes> b, int32_t off, int32_t len) override;
  int32_t read() override;
  using java::io::InputStream::read;
  int64_t skip(int64_t n) override;
  int32_t available() override;
  void close() override;
  void _VM_markReferences(int colour) override;
  void mark(int32_t) override {}
  uint8_t markSupported() override { return 0; }

  int32_t handle;
  // The connection that made the stream: kept reachable while the stream
  // is, so that the collector never destroys the platform record under a
  // stream still in use.
  VMField<java::lang::Object> connection;
  int32_t pos;
  int32_t count;
  uint8_t buffer[kChunkSize];

 private:
  void checkOpen();
  // Takes the next chunk; false at the end of the body.
  bool refill();
};

}  // namespace com::ravelstone::brume::midp::io
