#include "RasterPainter.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "RasterPixels.h"
#include "RasterSurface.h"

namespace {

// Float to int as Java converts it: truncation, saturation at the int
// range and 0 for NaN, so an infinite or huge slope stays defined.
int32_t toInt(float f) {
  if (std::isnan(f)) return 0;
  if (f >= 2147483648.0f) return INT32_MAX;
  if (f <= -2147483648.0f) return INT32_MIN;
  return static_cast<int32_t>(f);
}

// 16.16 slope of the edge from a to b in single precision.
int64_t slope(int64_t ax, int64_t ay, int64_t bx, int64_t by) {
  return toInt(static_cast<float>(bx - ax) / static_cast<float>(by - ay) * 65536.0f);
}

// x - steps * slope, held within +-2^62: far-out edges stay far out
// without wrapping round into the target.
int64_t stepBack(int64_t x, int64_t steps, int64_t slope) {
  constexpr __int128 kLimit = int64_t{1} << 62;
  const __int128 r = std::clamp<__int128>(__int128{x} - __int128{steps} * slope, -kLimit, kLimit);
  return static_cast<int64_t>(r);
}

}  // namespace

RasterPainter::RasterPainter(RasterSurface* target, const RasterRect& clip)
    : target_(target),
      left_(clip.x),
      top_(clip.y),
      right_(int64_t{clip.x} + clip.width - 1),
      bottom_(int64_t{clip.y} + clip.height - 1),
      alphaPlane_(target->alphaType == RasterSurface::kAlphaPlane) {
  // Never touch memory outside the target, whatever the clip says.
  left_ = std::max<int64_t>(left_, 0);
  top_ = std::max<int64_t>(top_, 0);
  right_ = std::min<int64_t>(right_, target->width - 1);
  bottom_ = std::min<int64_t>(bottom_, target->height - 1);
  if (clip.isEmpty()) right_ = left_ - 1;
  if (bottom_ < top_) right_ = left_ - 1;
}

void RasterPainter::plot(int64_t x, int64_t y, uint16_t c) {
  if (!inside(x, y)) return;
  const auto px = static_cast<int32_t>(x), py = static_cast<int32_t>(y);
  *target_->pixelAddress(px, py) = c;
  if (alphaPlane_) *target_->alphaAddress(px, py) = 255;
}

void RasterPainter::span(int64_t x1, int64_t x2, int64_t y, uint16_t c) {
  if (y < top_ || y > bottom_) return;
  const int64_t a = std::max(std::min(x1, x2), left_);
  const int64_t b = std::min(std::max(x1, x2), right_);
  if (a > b) return;
  if (alphaPlane_) return overRows(a, y, b - a + 1, 1, c, 255);
  RasterPixels::fill(target_->pixelAddress(static_cast<int32_t>(a), static_cast<int32_t>(y)),
                     b - a + 1, c);
}

void RasterPainter::fillSpan(int64_t x1, int64_t x2, int64_t y, uint16_t c, int32_t alpha) {
  if (alpha < 8) return;
  if (alpha >= 248 && !alphaPlane_) return span(x1, x2, y, c);
  if (y < top_ || y > bottom_) return;
  const int64_t a = std::max(std::min(x1, x2), left_);
  const int64_t b = std::min(std::max(x1, x2), right_);
  if (a > b) return;
  if (alphaPlane_) return overRows(a, y, b - a + 1, 1, c, alpha);
  RasterPixels::blendFill(
      target_->pixelAddress(static_cast<int32_t>(a), static_cast<int32_t>(y)), b - a + 1, c,
      RasterPixels::weight(alpha));
}

void RasterPainter::dottedSpan(int64_t x1, int64_t x2, int64_t y, uint16_t c) {
  if (y < top_ || y > bottom_) return;
  const int64_t lo = std::min(x1, x2);
  const int64_t a = std::max(lo, left_);
  const int64_t b = std::min(std::max(x1, x2), right_);
  if (a > b) return;
  // Clipped: the pattern runs from the line's own left end; unclipped: it
  // is anchored at the left end's column mod 8.
  const int64_t phase0 = lo < left_ ? left_ - lo : lo;
  uint16_t* p = target_->pixelAddress(static_cast<int32_t>(a), static_cast<int32_t>(y));
  uint8_t* alpha = alphaPlane_
                       ? target_->alphaAddress(static_cast<int32_t>(a), static_cast<int32_t>(y))
                       : nullptr;
  for (int64_t i = 0; i <= b - a; ++i) {
    if (!dottedOn(phase0 + i)) continue;
    p[i] = c;
    if (alpha != nullptr) alpha[i] = 255;
  }
}

void RasterPainter::verticalSpan(int64_t x, int64_t y1, int64_t y2, uint16_t c) {
  if (x < left_ || x > right_) return;
  const int64_t a = std::max(std::min(y1, y2), top_);
  const int64_t b = std::min(std::max(y1, y2), bottom_);
  for (int64_t y = a; y <= b; ++y) {
    *target_->pixelAddress(static_cast<int32_t>(x), static_cast<int32_t>(y)) = c;
    if (alphaPlane_) *target_->alphaAddress(static_cast<int32_t>(x), static_cast<int32_t>(y)) = 255;
  }
}

void RasterPainter::line(int64_t x1, int64_t y1, int64_t x2, int64_t y2, uint16_t c,
                         bool dotted) {
  if (std::max(x1, x2) < left_ || std::min(x1, x2) > right_ || std::max(y1, y2) < top_ ||
      std::min(y1, y2) > bottom_) {
    return;
  }
  if (y1 == y2) return dotted ? dottedSpan(x1, x2, y1, c) : span(x1, x2, y1, c);
  const int64_t adx = x2 > x1 ? x2 - x1 : x1 - x2;
  const int64_t ady = y2 > y1 ? y2 - y1 : y1 - y2;
  const bool xMajor = adx >= ady;
  const int64_t n = xMajor ? adx : ady;
  const int64_t minor = xMajor ? ady : adx;
  const int64_t sx = x2 > x1 ? 1 : -1;
  const int64_t sy = y2 > y1 ? 1 : -1;
  const int64_t half = n >> 1;
  // Steps 0..half-1 plot both ends; the first end then plots step half and,
  // when n is odd, the second end too: n + 1 pixels in all.
  LineEnd first{xMajor ? x1 : y1, xMajor ? y1 : x1, xMajor ? sx : sy, xMajor ? sy : sx,
                half, 0, 1};
  LineEnd second{xMajor ? x2 : y2, xMajor ? y2 : x2, xMajor ? -sx : -sy, xMajor ? -sy : -sx,
                 n - half - 1, n, -1};
  lineEnd(first, n, minor, xMajor, c, dotted);
  lineEnd(second, n, minor, xMajor, c, dotted);
}

void RasterPainter::lineEnd(const LineEnd& end, int64_t n, int64_t minor, bool xMajor,
                            uint16_t c, bool dotted) {
  // Only the steps whose major coordinate lies inside the clip are walked.
  const int64_t lo = xMajor ? left_ : top_;
  const int64_t hi = xMajor ? right_ : bottom_;
  int64_t kFirst = 0;
  int64_t kLast = end.kLast;
  if (end.majorStep > 0) {
    kFirst = std::max(kFirst, lo - end.major0);
    kLast = std::min(kLast, hi - end.major0);
  } else {
    kFirst = std::max(kFirst, end.major0 - hi);
    kLast = std::min(kLast, end.major0 - lo);
  }
  if (kFirst > kLast) return;
  // Minor steps taken in the first k steps, and the error term after them:
  // the error starts at -n, gains 2 * minor per step and loses 2n with each
  // minor step, staying within 1 - 2n..0.
  using Wide = __int128;
  const Wide twoMinorK = Wide{2} * minor * kFirst;
  const int64_t steps = static_cast<int64_t>((twoMinorK + n - 1) / (Wide{2} * n));
  int64_t error = static_cast<int64_t>(-Wide{n} + twoMinorK - Wide{2} * n * steps);
  int64_t major = end.major0 + end.majorStep * kFirst;
  int64_t minorPos = end.minor0 + end.minorStep * steps;
  for (int64_t k = kFirst; k <= kLast; ++k) {
    if (!dotted || dottedOn(end.phase0 + end.phaseStep * k)) {
      if (xMajor) {
        plot(major, minorPos, c);
      } else {
        plot(minorPos, major, c);
      }
    }
    major += end.majorStep;
    error += 2 * minor;
    if (error >= 1) {
      minorPos += end.minorStep;
      error -= 2 * n;
    }
  }
}

void RasterPainter::fillRect(int64_t x, int64_t y, int64_t w, int64_t h, uint16_t c,
                             int32_t alpha) {
  if (alpha < 8 || w < 1 || h < 1) return;
  const int64_t x0 = std::max(x, left_), x1 = std::min(x + w - 1, right_);
  const int64_t y0 = std::max(y, top_), y1 = std::min(y + h - 1, bottom_);
  if (x0 > x1 || y0 > y1) return;
  const ptrdiff_t n = x1 - x0 + 1, rows = y1 - y0 + 1, stride = target_->stride;
  if (alphaPlane_) return overRows(x0, y0, n, rows, c, alpha);
  uint16_t* p = target_->pixelAddress(static_cast<int32_t>(x0), static_cast<int32_t>(y0));
  if (alpha >= 248) return RasterPixels::fillRows(p, stride, n, rows, c);
  const uint32_t weight = RasterPixels::weight(alpha);
  for (ptrdiff_t r = 0; r < rows; ++r, p += stride) RasterPixels::blendFill(p, n, c, weight);
}

// Out of line, so that the opaque targets' paths stay as short as they were.
__attribute__((noinline)) void RasterPainter::overRows(int64_t x, int64_t y, ptrdiff_t n,
                                                        ptrdiff_t rows, uint16_t c, int32_t alpha) {
  uint16_t* p = target_->pixelAddress(static_cast<int32_t>(x), static_cast<int32_t>(y));
  uint8_t* a = target_->alphaAddress(static_cast<int32_t>(x), static_cast<int32_t>(y));
  const ptrdiff_t stride = target_->stride;
  for (ptrdiff_t r = 0; r < rows; ++r, p += stride, a += stride) {
    RasterPixels::overFill(p, a, n, c, static_cast<uint32_t>(alpha));
  }
}

void RasterPainter::triangle(const int64_t xs[3], const int64_t ys[3], uint16_t c,
                             int32_t alpha) {
  if (alpha < 8 || right_ < left_) return;
  int order[3] = {0, 1, 2};
  std::stable_sort(order, order + 3, [&](int a, int b) { return ys[a] < ys[b]; });
  const int64_t x0 = xs[order[0]], y0 = ys[order[0]];
  const int64_t x1 = xs[order[1]], y1 = ys[order[1]];
  const int64_t x2 = xs[order[2]], y2 = ys[order[2]];
  if (y0 > bottom_ || y2 < top_) return;
  const int64_t s02 = slope(x0, y0, x2, y2);
  const int64_t s12 = slope(x1, y1, x2, y2);
  const int64_t s01 = slope(x0, y0, x1, y1);
  // Walks the edges upwards from row `y` to row `stop` (inclusive), first
  // skipping the rows below the clip in one step.
  int64_t y = y2;
  int64_t xa = x2 * 65536;
  int64_t xb = xa;
  auto walk = [&](int64_t stop, int64_t slopeB) {
    if (y > bottom_) {
      const int64_t skip = std::min(y - bottom_, y - stop + 1);
      y -= skip;
      xa = stepBack(xa, skip, s02);
      xb = stepBack(xb, skip, slopeB);
    }
    for (; y >= stop && y >= top_; --y, xa -= s02, xb -= slopeB) {
      fillSpan(xa >> 16, xb >> 16, y, c, alpha);
    }
  };
  walk(y1 + 1, s12);
  xb = x1 * 65536;
  walk(y0, s01);
}
