#include "RasterBlitter.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "HALTransform.h"
#include "RasterPixels.h"
#include "RasterSurface.h"

namespace {

// The rows of one blit: `rows` destination rows of n pixels from d, each
// read from the source starting at s (and its alpha bytes at a), the source
// advancing by pixelStep per pixel and lineStep per row.
struct Walk {
  uint16_t* d;
  ptrdiff_t dstStride;
  const uint16_t* s;
  const uint8_t* a;  // null without an alpha plane
  ptrdiff_t pixelStep, lineStep;
  int32_t n, rows, globalAlpha;
  uint8_t* da;  // the target's alpha plane at d, for targets with one
};

using Kernel = void (*)(const Walk& walk);

// Calls row(d, s, a) for each row of the walk.
template <typename Row>
void eachRow(const Walk& w, Row row) {
  uint16_t* d = w.d;
  ptrdiff_t offset = 0;
  for (int32_t r = 0; r < w.rows; ++r, d += w.dstStride, offset += w.lineStep) {
    row(d, w.s + offset, w.a == nullptr ? nullptr : w.a + offset);
  }
}

template <bool Unit>
void copyRows(const Walk& w) {
  const ptrdiff_t step = Unit ? 1 : w.pixelStep;
  eachRow(w, [&](uint16_t* d, const uint16_t* s, const uint8_t*) {
    if (Unit) return RasterPixels::copy(d, s, w.n);
    for (int32_t i = 0; i < w.n; ++i) d[i] = s[i * step];
  });
}

template <bool Unit>
void blendRows(const Walk& w) {
  const uint32_t weight = RasterPixels::weight(w.globalAlpha);
  eachRow(w, [&](uint16_t* d, const uint16_t* s, const uint8_t*) {
    if (Unit) return RasterPixels::blendRow(d, s, w.n, weight);
    for (int32_t i = 0; i < w.n; ++i) d[i] = RasterPixels::blend(d[i], s[i * w.pixelStep], weight);
  });
}

template <bool Unit, bool Blend>
void keyedRows(const Walk& w) {
  const uint32_t weight = Blend ? RasterPixels::weight(w.globalAlpha) : 32;
  eachRow(w, [&](uint16_t* d, const uint16_t* s, const uint8_t*) {
    if (Unit) return RasterPixels::keyedRow(d, s, w.n, RasterSurface::kKeyColour, weight);
    for (int32_t i = 0; i < w.n; ++i) {
      const uint16_t p = s[i * w.pixelStep];
      if (p == RasterSurface::kKeyColour) continue;
      d[i] = Blend ? RasterPixels::blend(d[i], p, weight) : p;
    }
  });
}

// Per-pixel alpha: below 8 skipped, from 248 copied, else blended. Under a
// global alpha the pixel's alpha is scaled first, and its weight is taken
// from the scaled value.
template <bool Unit, bool Global>
void planeRows(const Walk& w) {
  const uint32_t g1 = static_cast<uint32_t>(w.globalAlpha + 1);
  eachRow(w, [&](uint16_t* d, const uint16_t* s, const uint8_t* a) {
    if (Unit) return RasterPixels::planeRow(d, s, a, w.n, Global ? w.globalAlpha : 255);
    for (int32_t i = 0; i < w.n; ++i) {
      uint32_t alpha = a[i * w.pixelStep];
      uint32_t weight = (alpha + 1) >> 3;
      if (Global) {
        alpha = ((alpha + 1) * g1) >> 8;
        weight = alpha >> 3;
      }
      weight = RasterPixels::planeWeight(alpha, weight);
      if (weight != 0) {
        d[i] = weight >= 32 ? s[i * w.pixelStep] : RasterPixels::blend(d[i], s[i * w.pixelStep], weight);
      }
    }
  });
}

// Targets with an alpha plane: every pixel drawn goes over the target's
// colour and alpha (RasterPixels::over) with the effective alpha the
// opaque rules give it. Opaque and masked sources without a global alpha
// copy colours and set the alpha to 255.

// Calls row(d, da, s, a) for each row of the walk, da being the row's
// target alphas.
template <typename Row>
void eachOverRow(const Walk& w, Row row) {
  uint16_t* d = w.d;
  uint8_t* da = w.da;
  ptrdiff_t offset = 0;
  for (int32_t r = 0; r < w.rows; ++r, d += w.dstStride, da += w.dstStride, offset += w.lineStep) {
    row(d, da, w.s + offset, w.a == nullptr ? nullptr : w.a + offset);
  }
}

template <bool Unit>
void copyOverRows(const Walk& w) {
  eachOverRow(w, [&](uint16_t* d, uint8_t* da, const uint16_t* s, const uint8_t*) {
    if (Unit) {
      RasterPixels::copy(d, s, w.n);
    } else {
      for (int32_t i = 0; i < w.n; ++i) d[i] = s[i * w.pixelStep];
    }
    std::memset(da, 255, static_cast<size_t>(w.n));
  });
}

template <bool Unit>
void keyedCopyOverRows(const Walk& w) {
  eachOverRow(w, [&](uint16_t* d, uint8_t* da, const uint16_t* s, const uint8_t*) {
    for (int32_t i = 0; i < w.n; ++i) {
      const uint16_t p = s[Unit ? i : i * w.pixelStep];
      if (p == RasterSurface::kKeyColour) continue;
      d[i] = p;
      da[i] = 255;
    }
  });
}

// Type is the effective alpha type; Global: a global alpha below 248.
template <bool Unit, int32_t Type, bool Global>
void overRows(const Walk& w) {
  const uint32_t g = static_cast<uint32_t>(w.globalAlpha);
  eachOverRow(w, [&](uint16_t* d, uint8_t* da, const uint16_t* s, const uint8_t* a) {
    for (int32_t i = 0; i < w.n; ++i) {
      const ptrdiff_t k = Unit ? i : i * w.pixelStep;
      const uint16_t p = s[k];
      uint32_t ea = g;
      if (Type == RasterSurface::kMasked && p == RasterSurface::kKeyColour) continue;
      if (Type == RasterSurface::kAlphaPlane) {
        ea = a[k];
        if (Global) ea = RasterPixels::scaledEffectiveAlpha(((ea + 1) * (g + 1)) >> 8);
        if (ea < 8) continue;
      }
      RasterPixels::over(d[i], da[i], p, ea);
    }
  });
}

template <bool Unit>
Kernel overKernelFor(int32_t alphaType, int32_t globalAlpha) {
  const bool global = globalAlpha < 248;
  switch (alphaType) {
    case RasterSurface::kMasked:
      if (globalAlpha == 255) return keyedCopyOverRows<Unit>;
      return overRows<Unit, RasterSurface::kMasked, false>;
    case RasterSurface::kAlphaPlane:
      return global ? overRows<Unit, RasterSurface::kAlphaPlane, true>
                    : overRows<Unit, RasterSurface::kAlphaPlane, false>;
    default:
      if (globalAlpha == 255) return copyOverRows<Unit>;
      return overRows<Unit, RasterSurface::kOpaque, false>;
  }
}

// Out of line, so that blits to opaque targets stay as short as they were.
__attribute__((noinline)) void drawOver(const Walk& walk, int32_t alphaType) {
  const Kernel over = walk.pixelStep == 1 ? overKernelFor<true>(alphaType, walk.globalAlpha)
                                          : overKernelFor<false>(alphaType, walk.globalAlpha);
  over(walk);
}

template <bool Unit>
Kernel kernelFor(int32_t alphaType, int32_t globalAlpha) {
  const bool blend = globalAlpha < 248;
  switch (alphaType) {
    case RasterSurface::kMasked:
      return blend ? keyedRows<Unit, true> : keyedRows<Unit, false>;
    case RasterSurface::kAlphaPlane:
      return blend ? planeRows<Unit, true> : planeRows<Unit, false>;
    default:
      return blend ? blendRows<Unit> : copyRows<Unit>;
  }
}

// The alpha type the blit uses: the override of flags bits 8..15 when it
// names a type the source can serve, else the source's own.
int32_t effectiveAlphaType(const RasterSurface* src, int32_t flags) {
  const int32_t override = (flags >> HAL_BLIT_ALPHA_TYPE_SHIFT) & HAL_BLIT_ALPHA_TYPE_MASK;
  if (override < RasterSurface::kOpaque || override > RasterSurface::kAlphaPlane) {
    return src->alphaType;
  }
  if (override == RasterSurface::kAlphaPlane && src->alphaType != RasterSurface::kAlphaPlane) {
    return src->alphaType;
  }
  return override;
}

bool overlaps(int64_t ax, int64_t ay, int64_t aw, int64_t ah, int64_t bx, int64_t by,
              int64_t bw, int64_t bh) {
  return ax < bx + bw && bx < ax + aw && ay < by + bh && by < ay + ah;
}

// A copy of the region (with its alpha plane), for blits whose source and
// destination overlap in one surface.
RasterSurface* copyOfRegion(const RasterSurface* src, int32_t x, int32_t y, int32_t w,
                            int32_t h) {
  RasterSurface* copy = RasterSurface::create(w, h, src->alphaType);
  if (copy == nullptr) return nullptr;
  for (int32_t row = 0; row < h; ++row) {
    std::memcpy(copy->pixelAddress(0, row), src->pixelAddress(x, y + row),
                static_cast<size_t>(w) * 2);
    if (src->alphaType == RasterSurface::kAlphaPlane) {
      std::memcpy(copy->alphaAddress(0, row), src->alphaAddress(x, y + row),
                  static_cast<size_t>(w));
    }
  }
  return copy;
}

// Where the source walk starts for the destination pixel (u0, v0) of the
// unclipped w x h (or h x w) destination, and its steps per destination
// pixel and row. A cut on a mirrored axis comes off that axis's far end.
void sourceWalk(const RasterSurface* src, int32_t srcX, int32_t srcY, int32_t w, int32_t h,
                int32_t flags, int64_t u0, int64_t v0, ptrdiff_t& offset, ptrdiff_t& pixelStep,
                ptrdiff_t& lineStep) {
  const bool swap = HAL_transformSwapsAxes(flags);
  const bool mirrorRows = HAL_transformMirrorsRows(flags);
  const bool mirrorCols = HAL_transformMirrorsColumns(flags);
  int64_t col = swap ? v0 : u0;
  int64_t row = swap ? u0 : v0;
  if (mirrorCols) col = w - 1 - col;
  if (mirrorRows) row = h - 1 - row;
  const ptrdiff_t stride = src->stride;
  const ptrdiff_t colStep = mirrorCols ? -1 : 1;
  const ptrdiff_t rowStep = mirrorRows ? -stride : stride;
  pixelStep = swap ? rowStep : colStep;
  lineStep = swap ? colStep : rowStep;
  offset = (srcY + row) * stride + srcX + col;
}

}  // namespace

void RasterBlitter::blit(RasterSurface* target, const RasterRect& clip, int32_t globalAlpha,
                         int32_t dstX, int32_t dstY, int32_t w, int32_t h,
                         const RasterSurface* src, int32_t srcX, int32_t srcY, int32_t flags) {
  if (src == nullptr || w < 1 || h < 1 || globalAlpha < 8) return;
  if (srcX < 0 || srcY < 0 || int64_t{srcX} + w > src->width || int64_t{srcY} + h > src->height) {
    return;
  }
  const bool swap = HAL_transformSwapsAxes(flags);
  const int64_t dw = swap ? h : w;
  const int64_t dh = swap ? w : h;
  // The clipped destination rectangle, inside the target whatever the clip.
  const int64_t x0 = std::max<int64_t>({dstX, clip.x, 0});
  const int64_t y0 = std::max<int64_t>({dstY, clip.y, 0});
  const int64_t x1 = std::min<int64_t>({dstX + dw, int64_t{clip.x} + clip.width, target->width});
  const int64_t y1 = std::min<int64_t>({dstY + dh, int64_t{clip.y} + clip.height, target->height});
  if (clip.isEmpty() || x1 - x0 < 1 || y1 - y0 < 1) return;

  if (src == target && overlaps(x0, y0, x1 - x0, y1 - y0, srcX, srcY, w, h)) {
    // Reading what this blit has already written would smear the image.
    std::unique_ptr<RasterSurface> copy(copyOfRegion(src, srcX, srcY, w, h));
    if (copy == nullptr) return;
    blit(target, clip, globalAlpha, dstX, dstY, w, h, copy.get(), 0, 0, flags);
    return;
  }

  ptrdiff_t offset, pixelStep, lineStep;
  sourceWalk(src, srcX, srcY, w, h, flags, x0 - dstX, y0 - dstY, offset, pixelStep, lineStep);
  const int32_t n = static_cast<int32_t>(x1 - x0);
  const int32_t type = effectiveAlphaType(src, flags);
  uint16_t* d = target->pixelAddress(static_cast<int32_t>(x0), static_cast<int32_t>(y0));
  const int32_t rows = static_cast<int32_t>(y1 - y0);
  const uint8_t* plane = type == RasterSurface::kAlphaPlane ? src->alphaPlane() + offset : nullptr;
  if (target->alphaType == RasterSurface::kAlphaPlane) {
    return drawOver(Walk{d, target->stride, src->pixels + offset, plane, pixelStep, lineStep, n,
                         rows, globalAlpha,
                         target->alphaAddress(static_cast<int32_t>(x0), static_cast<int32_t>(y0))},
                    type);
  }
  const Kernel kernel = pixelStep == 1 ? kernelFor<true>(type, globalAlpha)
                                       : kernelFor<false>(type, globalAlpha);
  if (kernel == copyRows<true> && lineStep == src->stride && n == src->stride &&
      n == target->stride) {
    // Whole rows of two gapless surfaces: one block copy.
    std::memcpy(d, src->pixels + offset, static_cast<size_t>(n) * static_cast<size_t>(rows) * 2);
    return;
  }
  kernel(Walk{d, target->stride, src->pixels + offset, plane, pixelStep, lineStep, n, rows,
              globalAlpha, nullptr});
}
