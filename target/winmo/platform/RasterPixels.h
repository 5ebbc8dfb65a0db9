#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// The per-pixel kernels every raster operation ends in: solid fills,
// copies and the RGB565 blend.
//
// The blend mixes source s into destination d with a 5-bit weight w
// (0 keeps d, 32 gives s). Both pixels are spread to 32 bits with green
// moved up to bits 21..26, so red, green and blue each have a gap above
// them; one multiply then mixes all three channels:
//   r = d' + (((s' - d') * w) >> 5)    (unsigned, logical shift)
// and green is folded back into bits 5..10. The result equals, channel by
// channel, d + floor((s - d) * w / 32).
class RasterPixels {
 public:
  // Weight of an alpha 0..255.
  static constexpr uint32_t weight(int32_t alpha) { return static_cast<uint32_t>(alpha + 1) >> 3; }

  static constexpr uint32_t spread(uint16_t p) {
    return (uint32_t{p} & 0xF81F) | ((uint32_t{p} & 0x07E0) << 16);
  }

  static constexpr uint16_t blendSpread(uint16_t d, uint32_t s, uint32_t w) {
    const uint32_t dd = spread(d);
    const uint32_t r = dd + (((s - dd) * w) >> 5);
    return static_cast<uint16_t>(((r ^ (r >> 16)) & 0x07E0) ^ r);
  }

  static constexpr uint16_t blend(uint16_t d, uint16_t s, uint32_t w) {
    return blendSpread(d, spread(s), w);
  }

  // n pixels of colour c from p.
  static void fill(uint16_t* p, ptrdiff_t n, uint16_t c) {
    // Single pixels up to an 8-byte boundary, then 16-byte blocks the
    // compiler turns into vector stores, then the tail.
    while (n > 0 && (reinterpret_cast<uintptr_t>(p) & 7) != 0) {
      *p++ = c;
      --n;
    }
    const uint64_t four = uint64_t{c} * 0x0001000100010001ull;
    const uint64_t block[2] = {four, four};
    for (; n >= 8; n -= 8, p += 8) std::memcpy(p, block, 16);
    while (n-- > 0) *p++ = c;
  }

  // Blends colour c into n pixels from p with weight w (1..31).
  static void blendFill(uint16_t* p, ptrdiff_t n, uint16_t c, uint32_t w) {
    const uint32_t s = spread(c);
    for (ptrdiff_t i = 0; i < n; ++i) p[i] = blendSpread(p[i], s, w);
  }
};
