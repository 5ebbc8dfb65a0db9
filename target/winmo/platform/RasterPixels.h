#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
    if (n >= kLongFill) return fillLong(p, n, c);
#if defined(__SSE2__)
    if (n >= 8) {
      // Unaligned 16-byte stores; the last one overlaps the one before.
      const __m128i v = _mm_set1_epi16(static_cast<short>(c));
      ptrdiff_t i = 0;
      for (; i + 8 <= n; i += 8) _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i), v);
      if (i < n) _mm_storeu_si128(reinterpret_cast<__m128i*>(p + n - 8), v);
      return;
    }
#endif
    for (ptrdiff_t i = 0; i < n; ++i) p[i] = c;
  }

  // Copies n pixels; short rows without a library call.
  static void copy(uint16_t* d, const uint16_t* s, ptrdiff_t n) {
#if defined(__SSE2__)
    if (n >= 8 && n <= 16) {
      // Two loads before two stores: the halves may overlap.
      const __m128i first = load(s), last = load(s + n - 8);
      store(d, first);
      store(d + n - 8, last);
      return;
    }
#endif
    if (n > 7) {
      std::memcpy(d, s, static_cast<size_t>(n) * 2);
      return;
    }
    for (ptrdiff_t i = 0; i < n; ++i) d[i] = s[i];
  }

  // Fills `rows` rows of n pixels from p, rows `stride` pixels apart.
  static void fillRows(uint16_t* p, ptrdiff_t stride, ptrdiff_t n, ptrdiff_t rows, uint16_t c);

  // Blends colour c into n pixels from p with weight w (1..31).
  static void blendFill(uint16_t* p, ptrdiff_t n, uint16_t c, uint32_t w) {
    ptrdiff_t i = 0;
#if defined(__SSE2__)
    const __m128i s = _mm_set1_epi16(static_cast<short>(c));
    const __m128i weights = _mm_set1_epi16(static_cast<short>(w));
    for (; i + 8 <= n; i += 8) store(p + i, blend8(load(p + i), s, weights));
#endif
    const uint32_t spreadC = spread(c);
    for (; i < n; ++i) p[i] = blendSpread(p[i], spreadC, w);
  }

  // Blends n source pixels into n destination pixels with weight w.
  static void blendRow(uint16_t* d, const uint16_t* s, ptrdiff_t n, uint32_t w) {
    ptrdiff_t i = 0;
#if defined(__SSE2__)
    const __m128i weights = _mm_set1_epi16(static_cast<short>(w));
    for (; i + 8 <= n; i += 8) store(d + i, blend8(load(d + i), load(s + i), weights));
#endif
    for (; i < n; ++i) d[i] = blend(d[i], s[i], w);
  }

  // Copies (w = 32) or blends n source pixels, skipping the key colour.
  static void keyedRow(uint16_t* d, const uint16_t* s, ptrdiff_t n, uint16_t key, uint32_t w) {
    ptrdiff_t i = 0;
#if defined(__SSE2__)
    const __m128i keys = _mm_set1_epi16(static_cast<short>(key));
    const __m128i weights = _mm_set1_epi16(static_cast<short>(w));
    for (; i + 8 <= n; i += 8) {
      const __m128i sv = load(s + i);
      const __m128i dv = load(d + i);
      const __m128i skip = _mm_cmpeq_epi16(sv, keys);
      const __m128i mixed = w >= 32 ? sv : blend8(dv, sv, weights);
      store(d + i, _mm_or_si128(_mm_and_si128(skip, dv), _mm_andnot_si128(skip, mixed)));
    }
#endif
    for (; i < n; ++i) {
      if (s[i] != key) d[i] = w >= 32 ? s[i] : blend(d[i], s[i], w);
    }
  }

  // Drawing over a target with an alpha plane (source-over). The source
  // pixel s comes with its effective alpha ea (8..255; the caller skips
  // anything lower), the destination pixel d with its alpha da:
  //   alpha:  da' = ea + da * (255 - ea) / 255 (rounded)
  //   colour: d mixed with s at weight (ea * 255 / da' + 1) >> 3 (s's share
  //           of da' in 5 bits); from ea 248 on, s itself.
  // Over an opaque pixel (da 255) this is exactly the opaque surface's rule
  // (weight (ea + 1) >> 3, copy from 248) and the alpha stays 255; over a
  // clear pixel (da 0) s is copied with alpha ea. Drawing the result over
  // an opaque background then gives what drawing s there directly gives.
  static constexpr uint32_t overAlpha(uint32_t ea, uint32_t da) {
    return ea + (da * (255 - ea) + 127) / 255;
  }
  static constexpr uint32_t overWeight(uint32_t ea, uint32_t outAlpha) {
    if (ea >= 248) return 32;
    const uint32_t w = (ea * 255 / outAlpha + 1) >> 3;
    return w > 32 ? 32 : w;
  }
  static void over(uint16_t& d, uint8_t& da, uint16_t s, uint32_t ea) {
    const uint32_t a = da;
    if (a == 255) {
      d = ea >= 248 ? s : blend(d, s, (ea + 1) >> 3);
      return;
    }
    if (a == 0) {
      d = s;
      da = static_cast<uint8_t>(ea);
      return;
    }
    const uint32_t out = overAlpha(ea, a);
    const uint32_t w = overWeight(ea, out);
    d = w >= 32 ? s : blend(d, s, w);
    da = static_cast<uint8_t>(out);
  }

  // Colour c with effective alpha ea (8..255) over n pixels from p whose
  // alphas start at a.
  static void overFill(uint16_t* p, uint8_t* a, ptrdiff_t n, uint16_t c, uint32_t ea) {
    if (ea == 255) {
      fill(p, n, c);
      std::memset(a, 255, static_cast<size_t>(n));
      return;
    }
    for (ptrdiff_t i = 0; i < n; ++i) over(p[i], a[i], c, ea);
  }

  // The effective alpha of a plane pixel whose alpha the global alpha
  // scaled to `scaled` (8..255): the opaque rule weighs it scaled >> 3,
  // the effective alpha's own weight is (ea + 1) >> 3, so the one value of
  // eight that would weigh one more is taken one lower.
  static constexpr uint32_t scaledEffectiveAlpha(uint32_t scaled) {
    return scaled >= 248 || (scaled & 7) != 7 ? scaled : scaled - 1;
  }

  // Weight of one pixel of an alpha plane: 0 below 8, 32 (a copy) from 248,
  // else the given 5-bit weight.
  static constexpr uint32_t planeWeight(uint32_t alpha, uint32_t w) {
    return alpha < 8 ? 0 : alpha >= 248 ? 32 : w;
  }

  // n pixels with per-pixel alphas a. With a global alpha below 248 each
  // alpha is scaled to ((a + 1) * (global + 1)) >> 8 and weighs alpha >> 3;
  // otherwise it weighs (a + 1) >> 3.
  static void planeRow(uint16_t* d, const uint16_t* s, const uint8_t* a, ptrdiff_t n,
                       int32_t globalAlpha) {
    const bool scaled = globalAlpha < 248;
    const uint32_t g1 = static_cast<uint32_t>(globalAlpha + 1);
    ptrdiff_t i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i one = _mm_set1_epi16(1);
    const __m128i seven = _mm_set1_epi16(7);
    const __m128i top = _mm_set1_epi16(247);
    const __m128i full = _mm_set1_epi16(32);
    const __m128i g = _mm_set1_epi16(static_cast<short>(g1));
    for (; i + 8 <= n; i += 8) {
      __m128i alpha = _mm_unpacklo_epi8(
          _mm_loadl_epi64(reinterpret_cast<const __m128i*>(a + i)), zero);
      __m128i w;
      if (scaled) {
        alpha = _mm_srli_epi16(_mm_mullo_epi16(_mm_add_epi16(alpha, one), g), 8);
        w = _mm_srli_epi16(alpha, 3);
      } else {
        w = _mm_srli_epi16(_mm_add_epi16(alpha, one), 3);
      }
      const __m128i low = _mm_cmpgt_epi16(alpha, seven);  // kept
      const __m128i high = _mm_cmpgt_epi16(alpha, top);   // copied
      w = _mm_or_si128(_mm_andnot_si128(high, _mm_and_si128(low, w)), _mm_and_si128(high, full));
      store(d + i, blend8(load(d + i), load(s + i), w));
    }
#endif
    for (; i < n; ++i) {
      uint32_t alpha = a[i];
      uint32_t w = (alpha + 1) >> 3;
      if (scaled) {
        alpha = ((alpha + 1) * g1) >> 8;
        w = alpha >> 3;
      }
      w = planeWeight(alpha, w);
      if (w != 0) d[i] = w >= 32 ? s[i] : blend(d[i], s[i], w);
    }
  }

 private:
  // Spans from this length on are filled with the widest stores the
  // processor has (chosen once, at the first call).
  static constexpr ptrdiff_t kLongFill = 64;
  static void fillLong(uint16_t* p, ptrdiff_t n, uint16_t c);

#if defined(__SSE2__)
  static __m128i load(const uint16_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
  static void store(uint16_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }

  // Eight blends at once, channel by channel in 16-bit lanes: each channel
  // is d + ((s - d) * w >> 5) with an arithmetic shift, which is the
  // spread-green result. Weights 0..32.
  static __m128i blend8(__m128i d, __m128i s, __m128i w) {
    const __m128i mask5 = _mm_set1_epi16(0x1F);
    const __m128i mask6 = _mm_set1_epi16(0x3F);
    const __m128i dr = _mm_srli_epi16(d, 11), sr = _mm_srli_epi16(s, 11);
    const __m128i dg = _mm_and_si128(_mm_srli_epi16(d, 5), mask6);
    const __m128i sg = _mm_and_si128(_mm_srli_epi16(s, 5), mask6);
    const __m128i db = _mm_and_si128(d, mask5), sb = _mm_and_si128(s, mask5);
    const __m128i r = _mm_add_epi16(dr, _mm_srai_epi16(_mm_mullo_epi16(_mm_sub_epi16(sr, dr), w), 5));
    const __m128i gg = _mm_add_epi16(dg, _mm_srai_epi16(_mm_mullo_epi16(_mm_sub_epi16(sg, dg), w), 5));
    const __m128i b = _mm_add_epi16(db, _mm_srai_epi16(_mm_mullo_epi16(_mm_sub_epi16(sb, db), w), 5));
    return _mm_or_si128(_mm_or_si128(_mm_slli_epi16(r, 11), _mm_slli_epi16(gg, 5)), b);
  }
#endif
};
