// The palette operations of Resources: finding a PNG's PLTE chunk and
// swapping a palette into it.

#include "tq_Resources.h"

#include "VMThrow.h"
#include "java_io_EOFException.h"
#include "java_lang_Exception.h"

namespace tq {

namespace {

constexpr int32_t kPalette = 0x504C5445;  // "PLTE"
constexpr int32_t kEnd = 0x49454E44;      // "IEND"

}  // namespace

int32_t Resources::findPalette(VMPtr<Stream> in) {
  _VM_clinitCheck();
  in->skip(8);
  paletteOffset = 8;
  int32_t length = in->readInt();
  int32_t type = in->readInt();
  paletteOffset += 8;
  while (type != kPalette) {
    if (type == kEnd) return -1;
    // Data and CRC; the length is taken unsigned, as the PNG stores it.
    const int64_t skip = static_cast<int64_t>(static_cast<uint32_t>(length)) + 4;
    in->skip(skip);
    paletteOffset += static_cast<int32_t>(skip);
    length = in->readInt();
    type = in->readInt();
    paletteOffset += 8;
  }
  return length;
}

void Resources::swapPalette(VMPtr<Bytes> png, int32_t offset, VMPtr<Bytes> palette) {
  if (!palette) return;
  try {
    if (findPalette(openStream(png, offset, png->length - offset)) < 0) return;
    const int64_t at = static_cast<int64_t>(offset) + paletteOffset;
    if (offset < 0 || paletteOffset < 0 || at + palette->length > png->length) return;
    int8_t* a = png->elements() + at;
    int8_t* b = palette->elements();
    for (int32_t i = 0; i < palette->length; ++i) std::swap(a[i], b[i]);
  } catch (java::lang::Exception* e) {
    VMPtr<java::lang::Exception> dropped(e);
  }
}

}  // namespace tq

namespace tq {

namespace {

constexpr int32_t kTransparency = 0x74524E53;  // "tRNS"
constexpr int32_t kMaxPalette = 768;

}  // namespace

VMPtr<Resources::Bytes> Resources::readPalette(VMPtr<Stream> in) {
  const int32_t n = findPalette(in);
  if (n < 0) return VMPtr<Bytes>();
  // A real PLTE holds at most 768 bytes; a larger length must be there
  // before an array is made for it.
  if (n > kMaxPalette && n > in->available() - 4) _VM_throwNew<java::io::EOFException>();
  VMPtr<Bytes> palette = Bytes::create(n + 4);
  in->readFully(palette);
  return palette;
}

VMPtr<Resources::Bytes> Resources::getPalette(int32_t id) { return readPalette(getStream(id)); }

int32_t Resources::readTransparentIndex(VMPtr<Stream> in) {
  try {
    in->skip(33);  // signature and a whole IHDR chunk
    const int32_t paletteLength = in->readInt();
    in->skip(static_cast<int64_t>(static_cast<uint32_t>(paletteLength)) + 8);
    const int32_t n = in->readInt();
    if (in->readInt() != kTransparency) return -1;
    for (int32_t i = 0; i < n; ++i) {
      if (in->readUnsignedByte() == 0) return i;
    }
  } catch (java::lang::Exception* e) {
    VMPtr<java::lang::Exception> dropped(e);
  }
  return -1;
}

int32_t Resources::getTransparentIndex(int32_t id) { return readTransparentIndex(getStream(id)); }

}  // namespace tq
