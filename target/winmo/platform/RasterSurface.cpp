#include "RasterSurface.h"

#include <new>

#include "HALMemory.h"
#include "RasterSurfaceBuilder.h"

namespace {

bool validSize(int32_t w, int32_t h) {
  return w >= 1 && h >= 1 && w <= RasterSurface::kMaxSide && h <= RasterSurface::kMaxSide;
}

bool validAlphaType(int32_t alphaType) {
  return alphaType >= RasterSurface::kOpaque && alphaType <= RasterSurface::kAlphaPlane;
}

}  // namespace

RasterSurface::~RasterSurface() {
  if (ownsPixels) HAL_freeImageBuffer(pixels);
}

size_t RasterSurface::byteSize(int32_t w, int32_t h, int32_t alphaType) {
  if (!validSize(w, h) || !validAlphaType(alphaType)) return 0;
  const size_t perPixel = alphaType == kAlphaPlane ? 3 : 2;
  return static_cast<size_t>(w) * static_cast<size_t>(h) * perPixel;
}

uint16_t* RasterSurface::allocatePixels(int32_t w, int32_t h, int32_t alphaType) {
  const size_t bytes = byteSize(w, h, alphaType);
  return bytes == 0 ? nullptr : static_cast<uint16_t*>(HAL_allocateImageBuffer(bytes));
}

RasterSurface* RasterSurface::createOver(uint16_t* memory, int32_t w, int32_t h,
                                         int32_t alphaType) {
  if (memory == nullptr || byteSize(w, h, alphaType) == 0) return nullptr;
  RasterSurface* s = new (std::nothrow) RasterSurface();
  if (s == nullptr) return nullptr;
  s->pixels = memory;
  s->width = s->stride = static_cast<int16_t>(w);
  s->height = static_cast<int16_t>(h);
  s->ownsPixels = true;
  s->wrapsMemory = true;
  s->alphaType = alphaType;
  return s;
}

RasterSurface* RasterSurface::create(int32_t w, int32_t h, int32_t alphaType) {
  uint16_t* memory = allocatePixels(w, h, alphaType);
  if (memory == nullptr) return nullptr;
  RasterSurface* s = createOver(memory, w, h, alphaType);
  if (s == nullptr) {
    HAL_freeImageBuffer(memory);
    return nullptr;
  }
  s->wrapsMemory = false;
  return s;
}

RasterSurface* RasterSurface::createFromARGB(const int32_t* argb, int32_t w, int32_t h,
                                             int32_t scanlength, bool processAlpha) {
  RasterSurfaceBuilder builder;
  if (argb == nullptr || !builder.begin(w, h, processAlpha)) return nullptr;
  for (int32_t row = 0; row < h; ++row) {
    builder.putRow(row, reinterpret_cast<const uint32_t*>(argb + static_cast<ptrdiff_t>(row) * scanlength));
  }
  return builder.finish();
}

bool RasterSurface::resize(int32_t w, int32_t h) {
  if (!ownsPixels || !validSize(w, h)) return false;
  if (w == width && h == height) return true;
  uint16_t* memory = allocatePixels(w, h, alphaType);
  if (memory == nullptr) return false;
  HAL_freeImageBuffer(pixels);
  pixels = memory;
  width = stride = static_cast<int16_t>(w);
  height = static_cast<int16_t>(h);
  return true;
}

uint32_t RasterSurface::argbAt(int32_t x, int32_t y) const {
  const uint16_t p = *pixelAddress(x, y);
  uint32_t a = 0xFF;
  if (alphaType == kMasked && p == kKeyColour) a = 0;
  if (alphaType == kAlphaPlane) a = *alphaAddress(x, y);
  return (a << 24) | rasterUnpack565(p);
}
