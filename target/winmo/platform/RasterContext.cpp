#include "RasterContext.h"

#include <algorithm>
#include <new>

#include "RasterBlitter.h"
#include "RasterEllipse.h"
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

void RasterContext::drawArc(int32_t x, int32_t y, int32_t w, int32_t h, int32_t start,
                            int32_t arcAngle) {
  RasterPainter p = painter();
  RasterEllipse::draw(p, colour565, strokeStyle != 0, x, y, w, h, start, arcAngle);
}

void RasterContext::fillArc(int32_t x, int32_t y, int32_t w, int32_t h, int32_t start,
                            int32_t arcAngle) {
  RasterPainter p = painter();
  RasterEllipse::fill(p, colour565, alpha, x, y, w, h, start, arcAngle);
}

// Corners are quarter arcs of arcW x arcH boxes; the sides join the
// corners' ends. A corner smaller than 4 x 4 becomes a diagonal line.
void RasterContext::drawRoundRect(int32_t x, int32_t y, int32_t w, int32_t h, int32_t arcW,
                                  int32_t arcH) {
  RasterPainter p = painter();
  const bool dotted = strokeStyle != 0;
  const int64_t x0 = x, y0 = y, x1 = x0 + w, y1 = y0 + h, hw = arcW >> 1, hh = arcH >> 1;
  p.line(x0 + hw, y0, x1 - hw, y0, colour565, dotted);
  p.line(x0 + hw, y1, x1 - hw, y1, colour565, dotted);
  p.line(x0, y0 + hh, x0, y1 - hh, colour565, dotted);
  p.line(x1, y0 + hh, x1, y1 - hh, colour565, dotted);
  if (arcW < 4 || arcH < 4) {
    p.line(x0, y0 + hh, x0 + hw, y0, colour565, dotted);
    p.line(x1 - hw, y0, x1, y0 + hh, colour565, dotted);
    p.line(x0, y1 - hh, x0 + hw, y1, colour565, dotted);
    p.line(x1 - hw, y1, x1, y1 - hh, colour565, dotted);
    return;
  }
  RasterEllipse::draw(p, colour565, dotted, x0, y0, arcW, arcH, 90, 90);
  RasterEllipse::draw(p, colour565, dotted, x1 - arcW, y0, arcW, arcH, 0, 90);
  RasterEllipse::draw(p, colour565, dotted, x0, y1 - arcH, arcW, arcH, 180, 90);
  RasterEllipse::draw(p, colour565, dotted, x1 - arcW, y1 - arcH, arcW, arcH, 270, 90);
}

// Four quarter fills (alpha rule of fills) and three solid bands between
// them: the top band between the upper corners, the full-width middle and
// the bottom band on the rows of the lower corners.
void RasterContext::fillRoundRect(int32_t x, int32_t y, int32_t w, int32_t h, int32_t arcW,
                                  int32_t arcH) {
  if (w <= 0 || h <= 0) return;
  RasterPainter p = painter();
  const int64_t x0 = x, y0 = y, hw = arcW >> 1, hh = arcH >> 1;
  const int64_t right = x0 + w - arcW, bottom = y0 + h - arcH;
  RasterEllipse::fill(p, colour565, alpha, x0, y0, arcW, arcH, 90, 90);
  RasterEllipse::fill(p, colour565, alpha, right, y0, arcW, arcH, 0, 90);
  RasterEllipse::fill(p, colour565, alpha, x0, bottom, arcW, int64_t{arcH} - 1, 180, 90);
  RasterEllipse::fill(p, colour565, alpha, right, bottom, arcW, int64_t{arcH} - 1, 270, 90);
  const int64_t bandW = int64_t{w} - arcW;
  p.fillRect(x0 + hw, y0, bandW, hh, colour565, 255);
  p.fillRect(x0, y0 + hh, w, int64_t{h} - arcH + 1, colour565, 255);
  p.fillRect(x0 + hw, y0 + h - 1 - hh, bandW, hh, colour565, 255);
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
