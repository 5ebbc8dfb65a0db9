#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"
#include "java_io_OutputStream.h"

namespace com::ravelstone::brume::midp::io {

// The body of an HTTP request: every write appends one chunk to the
// platform's request (by the connection's handle, an id). Nothing is sent
// here: the body goes out with the request when the reply is first needed;
// bytes written after that are kept but never sent.
class HttpOutputStream : public java::io::OutputStream {
  VM_CLASS(HttpOutputStream, java::io::OutputStream)

 public:
  VMPtr<HttpOutputStream> _VM_init(int32_t handle);

  void write(VMPtr<Bytes> b, int32_t off, int32_t len) override;
  void write(int32_t b) override;
  using java::io::OutputStream::write;
  void flush() override {}
  void close() override;
  void _VM_markReferences(int colour) override;

  int32_t handle;
  // The connection that made the stream: kept reachable while the stream
  // is, so that the collector never destroys the platform record under a
  // stream still in use.
  VMField<java::lang::Object> connection;

 private:
  void append(const uint8_t* bytes, int32_t count);
};

}  // namespace com::ravelstone::brume::midp::io
