// Resources of the drawables: animation sets and sprite sets.
//
// A sprite set: u16 sheet index (in the set's own pack), a dropped byte,
// i16 L, u16 layout word, u16 header word (bits 0-11 the sprite count N,
// bit 13 an attribute block follows), L - 4 bytes of values, column by
// column, then the optional attribute block (i16 M, a dropped int and byte,
// M - 5 bytes of 2-bit attributes, four sprites a byte, lowest pair first).
// Layout bit g (0-2) set: value group g (values 0-1, 2-5, 6-9) is absent
// and reads 0; the present values take the width bits from bit 5 on, in
// value order (set: one byte, clear: two). One-byte values 0, 1, 6 and 7
// are signed, the others unsigned; two-byte values are signed shorts.
#include "VMJava.h"
#include "java_lang_Throwable.h"
#include "tq_AnimSet.h"
#include "tq_Gob.h"
#include "tq_Resources.h"

namespace tq {

VMStatic<VMArray<uint8_t>> Resources::gobFlags;
VMStatic<VMArray<int8_t>> Resources::gobWidths;
VMStatic<VMArray<int16_t>> Resources::gobValues;
int32_t Resources::gobImageId;

namespace {

constexpr int32_t kValues = 10;
// The group of each value and whether its one-byte form is signed.
constexpr int32_t kGroupOf[kValues] = {0, 0, 1, 1, 1, 1, 2, 2, 2, 2};
constexpr bool kSignedByte[kValues] = {true, true, false, false, false, false, true, true, false, false};

// The value at `offset` of the block, one or two bytes wide.
int16_t valueAt(VMArray<int8_t>* block, int32_t offset, int32_t width, bool signedByte) {
  if (width == 2) return static_cast<int16_t>((block->at(offset) & 0xFF) << 8 | (block->at(offset + 1) & 0xFF));
  const int8_t b = block->at(offset);
  return signedByte ? b : static_cast<int16_t>(b & 0xFF);
}

}  // namespace

VMPtr<AnimSet> Resources::getAnimSet(int32_t id) { return AnimSet::load(id); }

VMPtr<VMArray<Gob>> Resources::loadGobs(int32_t id, VMPtr<Bytes> palette, VMPtr<Stream> in, VMPtr<Stream> imageIn) {
  _VM_clinitCheck();
  gobImageId = in->readUnsignedShort() | (id & 0xFC00);
  const int32_t imageId = gobImageId;
  in->readByte();
  VMPtr<Bytes> block = Bytes::create(in->readShort() - 4);
  const int32_t layout = in->readUnsignedShort();
  const int32_t header = in->readUnsignedShort();
  in->readFully(block);
  if (!gobFlags) {
    gobFlags = VMArray<uint8_t>::create(20);
    gobWidths = VMArray<int8_t>::create(kValues);
    gobValues = VMArray<int16_t>::create(kValues);
  }
  VMPtr<VMArray<uint8_t>> flags = gobFlags;
  for (int32_t b = 0; b < 4; ++b) flags->at(16 + b) = (header >> (15 - b) & 1) != 0;
  VMPtr<Bytes> attributes;
  if (flags->at(18)) {
    const int32_t length = in->readShort();
    in->readInt();
    in->readByte();
    attributes = Bytes::create(length - 5);
    in->readFully(attributes);
  }
  const int32_t n = header & 0x0FFF;
  for (int32_t b = 0; b < 16; ++b) flags->at(b) = (layout >> b & 1) == 0;
  VMPtr<Bytes> widths = gobWidths;
  for (int32_t v = 0, k = 5; v < kValues; ++v) {
    widths->at(v) = 0;
    if (flags->at(kGroupOf[v])) widths->at(v) = flags->at(k++) ? 2 : 1;
  }
  VMPtr<VMArray<Gob>> gobs = VMArray<Gob>::create(n);
  for (int32_t i = 0; i < n; ++i) {
    VMPtr<Gob> gob = Gob::_VM_new();
    gob->_VM_init();
    if (attributes) gob->drawMode = static_cast<int8_t>(attributes->at(i / 4) >> (2 * (i % 4)) & 3);
    gobs->set(i, gob);
  }
  Gob::loadImage(gobs, imageId, palette, imageIn);
  Gob::resetPixelTable(gobs);
  try {
    VMPtr<VMArray<int16_t>> values = gobValues;
    for (int32_t i = 0; i < n; ++i) {
      int32_t offset = 0;
      for (int32_t v = 0; v < kValues; ++v) {
        const int32_t width = widths->at(v);
        values->at(v) = 0;
        if (width == 0) continue;
        offset += i << (width - 1);
        values->at(v) = valueAt(block.get(), offset, width, kSignedByte[v]);
        offset += (n - i) << (width - 1);
      }
      gobs->get(i)->load(values);
    }
    Gob::createImages(gobs);
  } catch (java::lang::Throwable* thrown) {
    Gob::dropPixelTable();  // the rows are not kept for a failed set
    thrown->_VM_throw();
  }
  return gobs;
}

}  // namespace tq
