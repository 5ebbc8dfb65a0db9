#include "ByteWriter.h"

namespace content {

void ByteWriter::u16(uint32_t v) {
  u8(v >> 8);
  u8(v);
}

void ByteWriter::u32(uint32_t v) {
  u16(v >> 16);
  u16(v);
}

void ByteWriter::compactUnsigned(uint32_t v) {
  if (v < 255) {
    u8(v);
    return;
  }
  u8(255);
  u16(v);
}

void ByteWriter::compactSigned(int32_t v) {
  if (v >= -127 && v <= 127) {
    u8(static_cast<uint32_t>(v));
    return;
  }
  u8(0x80);
  u16(static_cast<uint32_t>(v));
}

uint32_t fourCharCode(const char (&id)[5]) {
  return uint32_t{static_cast<uint8_t>(id[0])} << 24 | uint32_t{static_cast<uint8_t>(id[1])} << 16 |
         uint32_t{static_cast<uint8_t>(id[2])} << 8 | uint32_t{static_cast<uint8_t>(id[3])};
}

}  // namespace content
