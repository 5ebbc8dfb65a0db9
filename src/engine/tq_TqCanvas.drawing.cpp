// The canvas's drawing helpers: gradients and alpha fills through the
// platform extension, region and pixel-array drawing, the indexed-colour
// conversion that feeds the PNG writer and the BMP export, and the
// re-signing of a palette chunk.

#include "tq_TqCanvas.h"
#include "tq_platform_PlatformExtension.h"

namespace tq {

namespace {

using Image = javax::microedition::lcdui::Image;
constexpr int32_t kTopLeft = 20;  // Graphics.TOP | Graphics.LEFT

bool isMagentaKey(int32_t colour) { return (colour & 0xF0F0F0) == 0xF000F0; }

// Moves the key colour to palette entry 0: the indices 0 and `key` trade
// places.
void moveKeyFirst(VMArray<int32_t>* palette, VMArray<int8_t>* indices, int32_t key) {
  std::swap(palette->at(0), palette->at(key));
  const int8_t keyIndex = static_cast<int8_t>(key);
  for (int32_t i = 0; i < indices->length; ++i) {
    int8_t& v = indices->elements()[i];
    if (v == 0) {
      v = keyIndex;
    } else if (v == keyIndex) {
      v = 0;
    }
  }
}

}  // namespace

void TqCanvas::fillHorizontalGradient(VMPtr<Graphics> g, int32_t x, int32_t y, int32_t w, int32_t h,
                                      int32_t fromColor, int32_t toColor) {
  getPlatformExtension()->fillGradient(g, x, y, w, h, fromColor, toColor, 1);
}

void TqCanvas::fillVerticalGradient(VMPtr<Graphics> g, int32_t x, int32_t y, int32_t w, int32_t h,
                                    int32_t fromColor, int32_t toColor) {
  getPlatformExtension()->fillGradient(g, x, y, w, h, fromColor, toColor, 0);
}

void TqCanvas::paintHorizontalGradient(VMPtr<Graphics> g, int32_t x, int32_t y, int32_t w, int32_t h,
                                       int32_t fromColor, int32_t toColor) {
  fillHorizontalGradient(g, x, y, w, h, fromColor, toColor);
}

void TqCanvas::paintVerticalGradient(VMPtr<Graphics> g, int32_t x, int32_t y, int32_t w, int32_t h,
                                     int32_t fromColor, int32_t toColor) {
  fillVerticalGradient(g, x, y, w, h, fromColor, toColor);
}

void TqCanvas::paintVerticalGradient(VMPtr<Image> img, int32_t x, int32_t y, int32_t w, int32_t h,
                                     int32_t fromColor, int32_t toColor) {
  fillVerticalGradient(img->getGraphics(), x, y, w, h, fromColor, toColor);
}

void TqCanvas::fillRectAlpha(VMPtr<Graphics> g, int32_t x, int32_t y, int32_t w, int32_t h, int32_t alpha) {
  getPlatformExtension()->fillRectAlpha(g, x, y, w, h, alpha);
}

void TqCanvas::fillTriangleAlpha(VMPtr<Graphics> g, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3,
                                 int32_t y3, int32_t alpha) {
  getPlatformExtension()->fillTriangleAlpha(g, x1, y1, x2, y2, x3, y3, alpha);
}

void TqCanvas::paintTriangle(VMPtr<Graphics> g, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3,
                             int32_t y3) {
  g->fillTriangle(x1, y1, x2, y2, x3, y3);
}

void TqCanvas::setGraphicsTransform(VMPtr<Graphics> g, int32_t a, int32_t b, int32_t c, float d, float e) {
  getPlatformExtension()->setGraphicsTransform(g, a, b, c, d, e);
}

void TqCanvas::resetGraphicsTransform(VMPtr<Graphics> g) { setGraphicsTransform(g, 0, 0, 0, 1.0f, 1.0f); }

void TqCanvas::paintRegionAt(VMPtr<Graphics> g, int32_t dx, int32_t dy, VMPtr<Image> img, int32_t sx, int32_t sy,
                             int32_t w, int32_t h) {
  g->drawRegion(img, sx, sy, w, h, 0, dx, dy, kTopLeft);
}

void TqCanvas::drawRGB(VMPtr<Graphics> g, VMPtr<VMArray<int32_t>> rgb, int32_t offset, int32_t scanlength,
                       int32_t x, int32_t y, int32_t w, int32_t h, uint8_t processAlpha) {
  const int32_t tx = g->getTranslateX();
  const int32_t ty = g->getTranslateY();
  const bool moved = tx != 0 || ty != 0;
  if (!moved) {
    g->drawRGB(rgb, offset, scanlength, x, y, w, h, processAlpha);
    return;
  }
  g->translate(-tx, -ty);
  try {
    g->drawRGB(rgb, offset, scanlength, x + tx, y + ty, w, h, processAlpha);
  } catch (java::lang::Throwable* t) {
    VMPtr<java::lang::Throwable> thrown(t);
    g->translate(tx, ty);
    _VM_throw(thrown);
  }
  g->translate(tx, ty);
}

void TqCanvas::paintRGB(VMPtr<Graphics> g, VMPtr<VMArray<int32_t>> rgb, int32_t offset, int32_t scanlength,
                        int32_t x, int32_t y, int32_t w, int32_t h, uint8_t processAlpha) {
  drawRGB(g, rgb, offset, scanlength, x, y, w, h, processAlpha);
}

void TqCanvas::getRGB(VMPtr<Image> img, VMPtr<VMArray<int32_t>> rgb, int32_t offset, int32_t scanlength, int32_t x,
                      int32_t y, int32_t w, int32_t h) {
  img->getRGB(rgb, offset, scanlength, x, y, w, h);
}

void TqCanvas::readRGB(VMPtr<Image> img, VMPtr<VMArray<int32_t>> rgb, int32_t offset, int32_t scanlength, int32_t x,
                       int32_t y, int32_t w, int32_t h) {
  getRGB(img, rgb, offset, scanlength, x, y, w, h);
}

VMPtr<VMArray<int8_t>> TqCanvas::toIndexedPixels(VMPtr<Image> img, VMPtr<VMArray<int32_t>> palette) {
  const int32_t w = img->getWidth();
  const int32_t h = img->getHeight();
  VMPtr<VMArray<int32_t>> pixels = VMArray<int32_t>::create(w * h);
  img->getRGB(pixels, 0, w, 0, 0, w, h);
  VMPtr<VMArray<int8_t>> indices = VMArray<int8_t>::create(w * h);
  if (!palette) _VM_throwNullPointerException();
  int32_t count = 0;
  int32_t key = -1;
  for (int32_t i = 0; i < pixels->length; ++i) {
    const int32_t colour = pixels->elements()[i];
    int32_t j = 0;
    while (j < count && palette->elements()[j] != colour) ++j;
    if (j == count) {
      palette->at(count) = colour;  // past the palette's end: the index exception
      if (isMagentaKey(colour)) key = count;
      ++count;
    }
    indices->elements()[i] = static_cast<int8_t>(j);
  }
  if (key != -1) moveKeyFirst(palette.get(), indices.get(), key);
  return indices;
}

void TqCanvas::updatePaletteCrc(VMPtr<VMArray<int8_t>> chunk) {
  if (!chunk) _VM_throwNullPointerException();
  const int32_t data = chunk->length - 4;
  if (data < 0) _VM_throwArrayIndexOutOfBounds(chunk->length);
  static const int8_t kType[] = {'P', 'L', 'T', 'E'};
  VMPtr<VMArray<int8_t>> type = VMArray<int8_t>::create(4);
  for (int i = 0; i < 4; ++i) type->at(i) = kType[i];
  const int32_t crc = ~crc32(crc32(-1, type, 0, 4), chunk, 0, data);
  for (int i = 0; i < 4; ++i) chunk->at(data + i) = static_cast<int8_t>(crc >> (24 - 8 * i));
}

void TqCanvas::updatePaletteChunkCrc(VMPtr<VMArray<int8_t>> chunk) { updatePaletteCrc(chunk); }

}  // namespace tq
