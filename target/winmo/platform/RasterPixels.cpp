#include "RasterPixels.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

namespace {

#if !defined(__SSE2__)
void fillSse2(uint16_t* p, ptrdiff_t n, uint16_t c) {
  for (ptrdiff_t i = 0; i < n; ++i) p[i] = c;
}
#endif

#if defined(__SSE2__)
// Aligns the destination, then stores `Vector` bytes at a time; the last
// store overlaps the one before it.
void fillSse2(uint16_t* p, ptrdiff_t n, uint16_t c) {
  const __m128i v = _mm_set1_epi16(static_cast<short>(c));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
  const ptrdiff_t skip = (16 - (reinterpret_cast<uintptr_t>(p) & 15)) / 2 & 7;
  ptrdiff_t i = skip;
  for (; i + 8 <= n; i += 8) _mm_store_si128(reinterpret_cast<__m128i*>(p + i), v);
  if (i < n) _mm_storeu_si128(reinterpret_cast<__m128i*>(p + n - 8), v);
}
#endif

#if defined(__x86_64__) && defined(__GNUC__)
__attribute__((target("avx2"))) void fillAvx2(uint16_t* p, ptrdiff_t n, uint16_t c) {
  const __m256i v = _mm256_set1_epi16(static_cast<short>(c));
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
  ptrdiff_t i = (32 - (reinterpret_cast<uintptr_t>(p) & 31)) / 2 & 15;
  for (; i + 16 <= n; i += 16) _mm256_store_si256(reinterpret_cast<__m256i*>(p + i), v);
  if (i < n) _mm256_storeu_si256(reinterpret_cast<__m256i*>(p + n - 16), v);
}
#endif

#if defined(__x86_64__) && defined(__GNUC__)
// Rows of at least 16 pixels: unaligned 32-byte stores, the last one
// overlapping the one before; shorter rows take the 16-byte path.
__attribute__((target("avx2"))) void fillRowsAvx2(uint16_t* p, ptrdiff_t stride, ptrdiff_t n,
                                                  ptrdiff_t rows, uint16_t c) {
  if (n < 16) {
    for (ptrdiff_t r = 0; r < rows; ++r, p += stride) RasterPixels::fill(p, n, c);
    return;
  }
  const __m256i v = _mm256_set1_epi16(static_cast<short>(c));
  for (ptrdiff_t r = 0; r < rows; ++r, p += stride) {
    ptrdiff_t i = 0;
    for (; i + 16 <= n; i += 16) _mm256_storeu_si256(reinterpret_cast<__m256i*>(p + i), v);
    if (i < n) _mm256_storeu_si256(reinterpret_cast<__m256i*>(p + n - 16), v);
  }
}
#endif

void fillRowsPlain(uint16_t* p, ptrdiff_t stride, ptrdiff_t n, ptrdiff_t rows, uint16_t c) {
  for (ptrdiff_t r = 0; r < rows; ++r, p += stride) RasterPixels::fill(p, n, c);
}

using FillRowsFunction = void (*)(uint16_t*, ptrdiff_t, ptrdiff_t, ptrdiff_t, uint16_t);

FillRowsFunction chooseFillRows() {
#if defined(__x86_64__) && defined(__GNUC__)
  if (__builtin_cpu_supports("avx2")) return fillRowsAvx2;
#endif
  return fillRowsPlain;
}

using FillFunction = void (*)(uint16_t*, ptrdiff_t, uint16_t);

FillFunction chooseFill() {
#if defined(__x86_64__) && defined(__GNUC__)
  if (__builtin_cpu_supports("avx2")) return fillAvx2;
#endif
  return fillSse2;
}

}  // namespace

void RasterPixels::fillLong(uint16_t* p, ptrdiff_t n, uint16_t c) {
  static const FillFunction fill = chooseFill();
  fill(p, n, c);
}

void RasterPixels::fillRows(uint16_t* p, ptrdiff_t stride, ptrdiff_t n, ptrdiff_t rows,
                            uint16_t c) {
  if (n == stride) return fill(p, n * rows, c);  // gapless rows are one span
  static const FillRowsFunction fillRows = chooseFillRows();
  fillRows(p, stride, n, rows, c);
}
