#pragma once

#include <cstdint>

#include "java_io_InputStream.h"
#include "java_io_OutputStream.h"

namespace tq::io {

// A buffered stream over another: reads are served from a 1024-byte
// buffer that is refilled with one bulk read of the wrapped stream at a
// time, so single-byte and big-endian reads stacked on it do not reach the
// platform per byte. The bytes not yet handed out are
// buffer[position .. position + count - 1]. After close every read, skip
// and drain throws IOException "InputStream closed". mark and reset do
// nothing (they only pass through the monitor); one thread reads at a time.
class FastInputStream : public java::io::InputStream {
  VM_CLASS(FastInputStream, java::io::InputStream)

 public:
  static constexpr int32_t kBufferSize = 1024;

  VMPtr<FastInputStream> _VM_init(VMPtr<java::io::InputStream> in);

  using InputStream::read;
  // Up to `len` buffered bytes (refilled first when none are); -1 at the
  // end. The argument checks of every byte stream come first.
  int32_t read(VMPtr<Bytes> b, int32_t off, int32_t len) override;
  // The next byte (0-255), or -1 at the end.
  int32_t read() override;
  // Skips up to `n` bytes, refilling as needed; returns the bytes skipped.
  int64_t skip(int64_t n) override;
  // The buffered bytes only; the wrapped stream is not asked.
  int32_t available() override;
  // Closes the wrapped stream once and drops the buffer; harmless twice.
  void close() override;
  void mark(int32_t readlimit) override;
  void reset() override;
  uint8_t markSupported() override;
  // Writes the buffered bytes (refilled first when none are) to `out`;
  // returns their count, or -1 at the end. When `out` throws, the bytes
  // stay buffered.
  virtual int32_t drainTo(VMPtr<java::io::OutputStream> out);

  void _VM_markReferences(int colour) override;

  VMField<Bytes> buffer;
  VMField<java::io::InputStream> in;
  int32_t position;
  uint8_t closed;
  uint8_t endOfStream;
  int32_t count;

 private:
  // Refills an empty buffer; a wrapped read that returns 0 is repeated,
  // yielding the global lock in between, until bytes or the end come.
  void fill();
};

}  // namespace tq::io
