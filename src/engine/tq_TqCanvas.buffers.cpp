// The static byte buffers. A multi-byte access checks its whole range
// first, so one that would run past the end throws before it reads or
// writes anything and leaves the position where it was.
#include "tq_TqCanvas.h"

namespace tq {

namespace {

// The first index of `count` bytes at `position` of `buffer`; throws
// NullPointerException for a null buffer and
// ArrayIndexOutOfBoundsException (naming the first index outside) when the
// range does not fit.
int32_t checkedRange(VMArray<int8_t>* buffer, int32_t position, int32_t count) {
  if (buffer == nullptr) _VM_throwNullPointerException();
  if (position < 0) _VM_throwArrayIndexOutOfBounds(position);
  if (position > buffer->length - count) {
    _VM_throwArrayIndexOutOfBounds(position < buffer->length ? buffer->length : position);
  }
  return position;
}

}  // namespace

void TqCanvas::writeBytes(int64_t value, int32_t count, bool littleEndian) {
  _VM_clinitCheck();
  VMArray<int8_t>* buffer = writeBuffer.get();
  const int32_t at = checkedRange(buffer, writePosition, count);
  int8_t* bytes = buffer->elements() + at;
  for (int32_t i = 0; i < count; ++i) {
    const int32_t shift = 8 * (littleEndian ? i : count - 1 - i);
    bytes[i] = static_cast<int8_t>(value >> shift);
  }
  writePosition = at + count;
}

void TqCanvas::writeByte(int32_t v) { writeBytes(v, 1, false); }
void TqCanvas::writeShort(int32_t v) { writeBytes(v, 2, false); }
void TqCanvas::writeInt(int32_t v) { writeBytes(v, 4, false); }
void TqCanvas::writeShortLE(int32_t v) { writeBytes(v, 2, true); }
void TqCanvas::writeIntLE(int32_t v) { writeBytes(v, 4, true); }
void TqCanvas::writeBoolean(uint8_t b) { writeByte(b ? 1 : 0); }

int32_t TqCanvas::readByte() {
  _VM_clinitCheck();
  VMArray<int8_t>* buffer = readBuffer.get();
  const int32_t at = checkedRange(buffer, readPosition, 1);
  readPosition = at + 1;
  return buffer->elements()[at];
}

int32_t TqCanvas::readInt() {
  _VM_clinitCheck();
  VMArray<int8_t>* buffer = readBuffer.get();
  const int32_t at = checkedRange(buffer, readPosition, 4);
  const int8_t* bytes = buffer->elements() + at;
  uint32_t value = 0;
  for (int32_t i = 0; i < 4; ++i) value = (value << 8) | static_cast<uint8_t>(bytes[i]);
  readPosition = at + 4;
  return static_cast<int32_t>(value);
}

uint8_t TqCanvas::readBoolean() { return readByte() != 0 ? 1 : 0; }

}  // namespace tq
