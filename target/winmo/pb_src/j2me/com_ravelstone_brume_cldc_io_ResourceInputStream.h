#pragma once

#include <cstdint>

#include "java_io_InputStream.h"

struct HALResource;

namespace com::ravelstone::brume::cldc::io {

// A resource file of the application (see HALResource.h), read at its own
// position with no buffering of its own; mark and reset are supported.
// Every operation but available(), close(), mark() and markSupported()
// throws IOException (no message) once the stream is closed; a platform
// failure throws IOException "Resource error: " and the status. When the
// collector frees a stream that was never closed, the file is closed then.
class ResourceInputStream : public java::io::InputStream {
  VM_CLASS(ResourceInputStream, java::io::InputStream)

 public:
  ~ResourceInputStream() override;

  // Opens the resource `name`; its size is taken now.
  VMPtr<ResourceInputStream> _VM_init(VMPtr<java::lang::String> name);

  // -1 at the recorded end, and also when the file ends before it (it
  // shrank since it was opened).
  int32_t read() override;
  int32_t read(VMPtr<Bytes> b, int32_t off, int32_t len) override;
  using java::io::InputStream::read;
  // Moves on min(n, size - pos) bytes without reading.
  int64_t skip(int64_t n) override;
  // size - pos, also after close().
  int32_t available() override;
  void close() override;
  void mark(int32_t readlimit) override;
  void reset() override;
  uint8_t markSupported() override;

  HALResource* handle;  // null once closed
  int32_t pos;
  int32_t size;
  int32_t markPos;

 private:
  void ensureOpen();
  // Reads up to `count` bytes at `pos` into `destination`; returns the bytes
  // read.
  int32_t readAt(uint8_t* destination, int32_t count);
};

}  // namespace com::ravelstone::brume::cldc::io
