#include "RasterContext.h"

#include <new>

#include "RasterImage.h"
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

// Drawing operations follow; they are filled in by the drawing kernels.
void RasterContext::fillRect(int32_t, int32_t, int32_t, int32_t) {}
void RasterContext::drawRect(int32_t, int32_t, int32_t, int32_t) {}
void RasterContext::drawLine(int32_t, int32_t, int32_t, int32_t) {}
void RasterContext::fillTriangle(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) {}
void RasterContext::drawArc(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) {}
void RasterContext::fillArc(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) {}
void RasterContext::drawRoundRect(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) {}
void RasterContext::fillRoundRect(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) {}
void RasterContext::blit(int32_t, int32_t, int32_t, int32_t, const RasterSurface*, int32_t,
                         int32_t, int32_t) {}
void RasterContext::copyArea(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) {}
void RasterContext::drawImage(const RasterImage*, int32_t, int32_t) {}
void RasterContext::drawRGB(const int32_t*, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                            int32_t, bool) {}
void RasterContext::gradient(int32_t, int32_t, int32_t, int32_t, uint32_t, uint32_t, bool) {}
