#include "tq_io_FastInputStream.h"

#include <algorithm>

#include "VMCollector.h"
#include "VMSynchronized.h"
#include "VMThread.h"
#include "VMThrow.h"
#include "java_io_IOException.h"
#include "java_lang_System.h"

VM_REGISTER_CLASS(tq::io::FastInputStream, "tq.io.FastInputStream", "java.io.InputStream", 0);

namespace tq::io {

VMPtr<FastInputStream> FastInputStream::_VM_init(VMPtr<java::io::InputStream> in) {
  Base::_VM_init();
  buffer = Bytes::create(kBufferSize);
  this->in = in;
  return VMPtr<FastInputStream>(this);
}

void FastInputStream::fill() {
  if (closed) _VM_throwNew<java::io::IOException>("InputStream closed");
  if (endOfStream) return;
  while (count == 0) {
    position = 0;
    const int32_t r = VMPtr<java::io::InputStream>(in)->read(VMPtr<Bytes>(buffer), 0, kBufferSize);
    // The wrapped read may have run other threads: a close in between
    // dropped the buffer.
    if (closed) _VM_throwNew<java::io::IOException>("InputStream closed");
    if (r < 0) {
      endOfStream = 1;
      return;
    }
    if (r > kBufferSize) _VM_throwNew<java::io::IOException>("read count past the buffer");
    count = r;
    if (count == 0) VMThread::yield();
  }
}

int32_t FastInputStream::read(VMPtr<Bytes> b, int32_t off, int32_t len) {
  _VM_checkRange(b, off, len);
  fill();
  if (endOfStream) return -1;
  const int32_t n = std::min(len, count);
  java::lang::System::arraycopy(VMPtr<Bytes>(buffer), position, b, off, n);
  position += n;
  count -= n;
  return n;
}

int32_t FastInputStream::read() {
  fill();
  if (endOfStream) return -1;
  const int32_t value = VMPtr<Bytes>(buffer)->at(position) & 0xFF;
  ++position;
  --count;
  return value;
}

int64_t FastInputStream::skip(int64_t n) {
  int64_t skipped = 0;
  while (n > 0) {
    fill();
    if (endOfStream) break;
    const int32_t k = static_cast<int32_t>(std::min<int64_t>(n, count));
    count -= k;
    position += k;
    n -= k;
    skipped += k;
  }
  return skipped;
}

int32_t FastInputStream::available() { return count; }

void FastInputStream::close() {
  closed = 1;
  VMPtr<java::io::InputStream> wrapped(in);
  in = nullptr;
  buffer = nullptr;
  count = 0;
  if (wrapped) wrapped->close();
}

void FastInputStream::mark(int32_t) { VMSynchronized guard(this); }

void FastInputStream::reset() { VMSynchronized guard(this); }

uint8_t FastInputStream::markSupported() { return 0; }

int32_t FastInputStream::drainTo(VMPtr<java::io::OutputStream> out) {
  fill();
  if (endOfStream) return -1;
  const int32_t n = count;
  if (n > 0) {
    out->write(VMPtr<Bytes>(buffer), position, n);
    count = 0;
    position = 0;
  }
  return n;
}

void FastInputStream::_VM_markReferences(int colour) {
  _VM_mark(buffer, colour);
  _VM_mark(in, colour);
  Base::_VM_markReferences(colour);
}

}  // namespace tq::io
