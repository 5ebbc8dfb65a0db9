#include "RasterSurfaceBuilder.h"

#include <cstddef>

#include "HALMemory.h"
#include "RasterSurface.h"

RasterSurfaceBuilder::~RasterSurfaceBuilder() { release(); }

void RasterSurfaceBuilder::release() {
  HAL_freeImageBuffer(memory_);
  memory_ = nullptr;
}

bool RasterSurfaceBuilder::begin(int32_t w, int32_t h, bool processAlpha) {
  release();
  const int32_t room = processAlpha ? RasterSurface::kAlphaPlane : RasterSurface::kOpaque;
  memory_ = RasterSurface::allocatePixels(w, h, room);
  if (memory_ == nullptr) return false;
  width_ = w;
  height_ = h;
  alphaPlane_ = processAlpha;
  sawPartial_ = sawClear_ = false;
  return true;
}

void RasterSurfaceBuilder::putRow(int32_t y, const uint32_t* argb) {
  uint16_t* out = memory_ + ptrdiff_t{y} * width_;
  if (!alphaPlane_) {
    for (int32_t x = 0; x < width_; ++x) out[x] = rasterPack565(argb[x]);
    return;
  }
  uint8_t* alphaOut =
      reinterpret_cast<uint8_t*>(memory_ + ptrdiff_t{width_} * height_) + ptrdiff_t{y} * width_;
  // The classes are gathered without branches, so the loop stays one
  // straight pass that the compiler can widen.
  uint8_t partial = 0;
  uint8_t clear = 0;
  for (int32_t x = 0; x < width_; ++x) {
    const uint32_t c = argb[x];
    const uint8_t a = static_cast<uint8_t>(c >> 24);
    out[x] = rasterPack565(c);
    alphaOut[x] = a;
    partial |= static_cast<uint8_t>(static_cast<uint8_t>(a - 8) < 240);
    clear |= static_cast<uint8_t>(a < 8);
  }
  sawPartial_ = sawPartial_ || partial != 0;
  sawClear_ = sawClear_ || clear != 0;
}

// A masked surface shows its (nearly) transparent pixels as the key colour.
void RasterSurfaceBuilder::markClearPixels() {
  const size_t count = size_t(width_) * size_t(height_);
  const auto* alpha = reinterpret_cast<const uint8_t*>(memory_ + count);
  for (size_t i = 0; i < count; ++i) {
    if (alpha[i] < 8) memory_[i] = RasterSurface::kKeyColour;
  }
}

RasterSurface* RasterSurfaceBuilder::finish() {
  if (memory_ == nullptr) return nullptr;
  int32_t type = RasterSurface::kOpaque;
  if (alphaPlane_ && sawPartial_) type = RasterSurface::kAlphaPlane;
  if (alphaPlane_ && !sawPartial_ && sawClear_) type = RasterSurface::kMasked;
  if (type == RasterSurface::kMasked) markClearPixels();
  if (alphaPlane_ && type != RasterSurface::kAlphaPlane) {
    memory_ = static_cast<uint16_t*>(
        HAL_shrinkImageBuffer(memory_, RasterSurface::byteSize(width_, height_, type)));
  }
  RasterSurface* surface = RasterSurface::createOver(memory_, width_, height_, type);
  if (surface == nullptr) {
    release();
    return nullptr;
  }
  surface->wrapsMemory = false;
  memory_ = nullptr;
  return surface;
}
