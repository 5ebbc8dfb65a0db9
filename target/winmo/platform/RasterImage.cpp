#include "RasterImage.h"

#include <new>

#include "RasterSurface.h"

RasterImage::RasterImage(RasterSurface* s)
    : surface(s), refCount(1), width(s->width), height(s->height) {}

RasterImage::~RasterImage() { delete surface; }

RasterImage* RasterImage::create(RasterSurface* s) {
  if (s == nullptr) return nullptr;
  RasterImage* image = new (std::nothrow) RasterImage(s);
  if (image == nullptr) delete s;
  return image;
}

void RasterImage::release() {
  if (--refCount < 1) delete this;
}
