#include "RasterContext.h"

#include <algorithm>
#include <new>

#include "RasterBlitter.h"
#include "RasterImage.h"
#include "RasterPainter.h"
#include "RasterSurface.h"

namespace {

uint16_t pack(uint32_t c) { return rasterPack565(c); }

}  // namespace

RasterContext::RasterContext(RasterImage* img, RasterSurface* t)
    : converter(pack), image(img), target(t), clip{0, 0, t->width, t->height} {
  if (image != nullptr) image->addRef();
}

RasterContext::~RasterContext() {
  if (image != nullptr) image->release();
}

RasterContext* RasterContext::create(RasterImage* img) {
  if (img == nullptr || img->surface == nullptr) return nullptr;
  return new (std::nothrow) RasterContext(img, img->surface);
}

RasterContext* RasterContext::create(RasterSurface* t) {
  if (t == nullptr) return nullptr;
  return new (std::nothrow) RasterContext(nullptr, t);
}

void RasterContext::targetResized() { clip = RasterRect{0, 0, target->width, target->height}; }

void RasterContext::setColour(uint32_t c) {
  argb = c;
  alpha = static_cast<int32_t>(c >> 24);
  colour565 = converter(c);
}

void RasterContext::setClip(int32_t x, int32_t y, int32_t w, int32_t h) {
  clip = RasterRect{0, 0, target->width, target->height};
  clip.intersect(RasterRect{x, y, w, h});
}

void RasterContext::clipRect(int32_t x, int32_t y, int32_t w, int32_t h) {
  clip.intersect(RasterRect{x, y, w, h});
}

void RasterContext::fillRect(int32_t x, int32_t y, int32_t w, int32_t h) {
  painter().fillRect(x, y, w, h, colour565, alpha);
}

void RasterContext::drawRect(int32_t x, int32_t y, int32_t w, int32_t h) {
  RasterPainter p = painter();
  const bool dotted = strokeStyle != 0;
  const int64_t x2 = int64_t{x} + w;
  const int64_t y2 = int64_t{y} + h;
  p.line(x, y, x2, y, colour565, dotted);
  p.line(x, y2, x2, y2, colour565, dotted);
  p.line(x, y, x, y2, colour565, dotted);
  p.line(x2, y, x2, y2, colour565, dotted);
}

void RasterContext::drawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  painter().line(x1, y1, x2, y2, colour565, strokeStyle != 0);
}

void RasterContext::fillTriangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3,
                                 int32_t y3) {
  const int64_t xs[3] = {x1, x2, x3};
  const int64_t ys[3] = {y1, y2, y3};
  painter().triangle(xs, ys, colour565, alpha);
}

void RasterContext::blit(int32_t dstX, int32_t dstY, int32_t w, int32_t h,
                         const RasterSurface* src, int32_t srcX, int32_t srcY, int32_t flags) {
  RasterBlitter::blit(target, clip, alpha, dstX, dstY, w, h, src, srcX, srcY, flags);
}

void RasterContext::copyArea(int32_t srcX, int32_t srcY, int32_t w, int32_t h, int32_t dstX,
                             int32_t dstY) {
  blit(dstX, dstY, w, h, target, srcX, srcY, 0);
}

void RasterContext::drawImage(const RasterImage* img, int32_t x, int32_t y) {
  if (img == nullptr || img->surface == nullptr) return;
  blit(x, y, img->surface->width, img->surface->height, img->surface, 0, 0, 0);
}

void RasterContext::drawRGB(const int32_t* argbs, int32_t length, int32_t offset,
                            int32_t scanlength, int32_t x, int32_t y, int32_t w, int32_t h,
                            bool processAlpha) {
  if (argbs == nullptr || w < 1 || h < 1) return;
  // The first and last ints any row reads must lie inside the array.
  const int64_t rows = int64_t{h - 1} * scanlength;
  const int64_t first = int64_t{offset} + std::min<int64_t>(rows, 0);
  const int64_t last = int64_t{offset} + std::max<int64_t>(rows, 0) + w - 1;
  if (first < 0 || last >= length) return;
  RasterSurface* s = RasterSurface::createFromARGB(argbs + offset, w, h, scanlength, processAlpha);
  if (s == nullptr) return;
  blit(x, y, w, h, s, 0, 0, 0);
  delete s;
}

void RasterContext::gradient(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t c1,
                             uint32_t c2, bool horizontal) {
  if (w < 1 || h < 1) return;
  const int32_t n = horizontal ? w : h;
  const float inverse = 1.0f / static_cast<float>(n);
  float colour[3];
  float step[3];
  for (int i = 0; i < 3; ++i) {
    const int shift = 16 - 8 * i;
    colour[i] = static_cast<float>((c1 >> shift) & 0xFF);
    step[i] = static_cast<float>(static_cast<int32_t>((c2 >> shift) & 0xFF) -
                                 static_cast<int32_t>((c1 >> shift) & 0xFF)) * inverse;
  }
  // Lines before the clip only advance the colour. A few thousand are
  // stepped one by one, as drawn lines are; far more (a gradient starting
  // far outside the target) jump there in one multiplication.
  const int64_t start = horizontal ? x : y;
  const int64_t clipStart = horizontal ? clip.x : clip.y;
  const int64_t clipEnd = clipStart + (horizontal ? clip.width : clip.height);
  const int64_t skip = std::clamp<int64_t>(clipStart - start, 0, n);
  for (int i = 0; i < 3; ++i) {
    if (skip <= 65536) {
      for (int64_t k = 0; k < skip; ++k) colour[i] += step[i];
    } else {
      colour[i] += step[i] * static_cast<float>(skip);
    }
  }
  RasterPainter p = painter();
  const int64_t end = std::min<int64_t>(start + n, clipEnd);
  for (int64_t line = start + skip; line < end; ++line) {
    uint32_t rgb = 0;
    for (int i = 0; i < 3; ++i) {
      // Rounding may carry a component a hair outside 0..255; it is held
      // there so it never spills into its neighbour.
      rgb = (rgb << 8) | static_cast<uint32_t>(std::clamp(static_cast<int32_t>(colour[i]), 0, 255));
      colour[i] += step[i];
    }
    const uint16_t c = converter(rgb);
    if (horizontal) {
      p.verticalSpan(line, y, int64_t{y} + h - 1, c);
    } else {
      p.span(x, int64_t{x} + w - 1, line, c);
    }
  }
}

RasterPainter RasterContext::painter() { return RasterPainter(target, clip); }
