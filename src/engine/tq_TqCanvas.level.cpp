// The level bit stream: the bit reader and the decoder that feeds the
// level hooks.
//
// Layout (widths in bits, unsigned unless said; "filler" is 6 bits that
// follow a block only when bit 7 of the flag byte is set):
//   flags 8
//   block A, when a 1 bit comes first: value 10 -> levelHeader; filler
//   block B, when a 1 bit comes first: a 8, columns 12, value 17 (signed),
//     d 10, e 10, f 10 after a 1 bit (else -1), palette count N 12
//     -> levelProperties; code width k 4 and N codes of k bits, each v
//     made the entry ((v - 1) / columns) << 12 | ((v - 1) % columns + 1)
//     -> levelPaletteEntry per entry; filler; width 12, height 12
//     -> levelSize; then width x height palette indices of bitlength(N)
//     bits, rows outer -> levelCell(x, y, entry) (entry 0 for index 0)
//   block C, when a 1 bit comes first: row width U 16, x0 10, y0 10,
//     groups 10, delta width 5; per group: type 10, n 12
//     -> levelEntityGroup; n deltas summed into s_j; then per entity
//     levelEntity(type, x0 + s_j % U, y0 + s_j / U); filler
// A hook may read fields of its own at its place in this order.
#include <algorithm>
#include <bit>

#include "VMJava.h"
#include "VMThrow.h"
#include "java_io_EOFException.h"
#include "tq_Resources.h"
#include "tq_TqCanvas.h"

namespace tq {

int32_t TqCanvas::levelReadBits(int32_t n) {
  uint32_t result = 0;
  int32_t remaining = n;
  while (remaining > 0) {
    if (levelBitsLeft == 0) {
      const int32_t next = VMPtr<java::io::DataInputStream>(levelStream)->read();
      if (next < 0) _VM_throwNew<java::io::EOFException>();
      levelByte = next;
      levelBitsLeft = 8;
    }
    const int32_t take = std::min(remaining, levelBitsLeft);
    levelBitsLeft -= take;
    remaining -= take;
    const uint32_t bits = (static_cast<uint32_t>(levelByte) >> levelBitsLeft) & ((1u << take) - 1);
    result |= bits << (remaining & 31);
  }
  return static_cast<int32_t>(result);
}

uint8_t TqCanvas::levelReadBoolean() { return levelReadBits(1) == 1; }

namespace {

struct LevelDecoder {
  TqCanvas* canvas;
  bool filler;

  int32_t bits(int32_t n) { return canvas->levelReadBits(n); }
  bool present() { return canvas->levelReadBits(1) == 1; }
  // The filler after a block, when the flag byte asks for it.
  void skipFiller() {
    if (filler) bits(6);
  }

  void header() {
    canvas->levelHeader(bits(10));
    skipFiller();
  }

  void grid() {
    const int32_t a = bits(8);
    const int32_t columns = bits(12);
    const int32_t value = _VM_signExtend(static_cast<uint32_t>(bits(17)), 17);
    const int32_t d = bits(10);
    const int32_t e = bits(10);
    const int32_t f = present() ? bits(10) : -1;
    const int32_t count = bits(12);
    canvas->levelProperties(a, columns, value, d, e, f, count);
    VMPtr<VMArray<char16_t>> palette = VMArray<char16_t>::create(count + 1);
    const int32_t width = bits(4);
    for (int32_t i = 1; i <= count; ++i) {
      const int32_t v = bits(width) - 1;
      palette->at(i) = static_cast<char16_t>(_VM_shl(_VM_div(v, columns), 12) | (_VM_rem(v, columns) + 1));
    }
    for (int32_t i = 1; i <= count; ++i) canvas->levelPaletteEntry(f, palette->at(i));
    skipFiller();
    const int32_t w = bits(12);
    const int32_t h = bits(12);
    canvas->levelSize(w, h);
    const int32_t indexBits = std::bit_width(static_cast<uint32_t>(count));
    for (int32_t y = 0; y < h; ++y) {
      for (int32_t x = 0; x < w; ++x) canvas->levelCell(x, y, palette->at(bits(indexBits)));
    }
  }

  void entities() {
    const int32_t rowWidth = bits(16);
    const int32_t x0 = bits(10);
    const int32_t y0 = bits(10);
    const int32_t groups = bits(10);
    const int32_t deltaBits = bits(5);
    for (int32_t g = 0; g < groups; ++g) {
      const int32_t type = bits(10);
      const int32_t n = bits(12);
      canvas->levelEntityGroup(type, n);
      VMPtr<VMArray<int32_t>> sums = VMArray<int32_t>::create(n);
      int32_t s = 0;
      for (int32_t j = 0; j < n; ++j) sums->at(j) = s += bits(deltaBits);
      for (int32_t j = 0; j < n; ++j) {
        canvas->levelEntity(type, x0 + _VM_rem(sums->at(j), rowWidth), y0 + _VM_div(sums->at(j), rowWidth));
      }
      skipFiller();
    }
  }
};

}  // namespace

void TqCanvas::loadLevel(int32_t resourceId) {
  levelStream = Resources::getStream(resourceId);
  levelByte = 0;
  levelBitsLeft = 0;
  LevelDecoder decoder{this, (levelReadBits(8) & 0x80) != 0};
  if (decoder.present()) decoder.header();
  if (decoder.present()) decoder.grid();
  if (decoder.present()) decoder.entities();
  levelStream = nullptr;
}

}  // namespace tq
