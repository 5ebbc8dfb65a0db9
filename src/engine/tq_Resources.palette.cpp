// The palette operations of Resources: finding a PNG's PLTE chunk and
// swapping a palette into it.

#include "tq_Resources.h"

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
