// Fuzz target: image decoding over arbitrary bytes, in the codec and
// through the platform's image functions into an RGB565 surface. A decode
// either gives an image within the size limits, whose every pixel can be
// read back, or reports bad data or out of memory; a crash, a read outside
// the input or a leaked block is a fault.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "CeImaging.h"
#include "CeProcessHeap.h"
#include "HALImage.h"
#include "RasterImage.h"
#include "RasterSurface.h"

namespace {

void decodeWithCodec(const uint8_t* data, size_t size) {
  const int64_t blocksBefore = CeProcessHeap::blocksInUse();
  CeImaging::Bitmap bitmap;
  if (CeImaging::decode(data, size, bitmap) == CeImaging::Result::ok) {
    if (bitmap.width < 1 || bitmap.height < 1 || bitmap.width > CeImaging::kMaxSide ||
        int64_t{bitmap.width} * bitmap.height > CeImaging::kMaxPixels) {
      abort();
    }
    uint32_t sum = 0;
    for (int64_t i = 0; i < int64_t{bitmap.width} * bitmap.height; ++i) sum += bitmap.pixels[i];
    volatile uint32_t keep = sum;
    (void)keep;
  }
  CeImaging::release(bitmap);
  if (CeProcessHeap::blocksInUse() != blocksBefore) abort();
}

void decodeIntoImage(const uint8_t* data, size_t size) {
  if (size > INT32_MAX) return;
  RasterImage* image = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  const HALStatus status = HAL_createImageWithData(&image, data, static_cast<int32_t>(size), &width, &height);
  if (status != HAL_OK) {
    if (image != nullptr || (status != HAL_BAD_FORMAT_ERR && status != HAL_OUT_OF_MEMORY_ERR)) abort();
    return;
  }
  if (width != image->surface->width || height != image->surface->height) abort();
  uint8_t hasAlpha = 0;
  if (HAL_getImmutableHasAlpha(image, &hasAlpha) != HAL_OK) abort();
  std::vector<int32_t> row(static_cast<size_t>(width));
  for (int32_t y = 0; y < height; ++y) {
    if (HAL_getImmutableRGB(image, row.data(), width, 0, width, 0, y, width, 1) != HAL_OK) abort();
    for (int32_t argb : row) {
      const uint32_t alpha = static_cast<uint32_t>(argb) >> 24;
      if (!hasAlpha && alpha != 0xFF) abort();  // an opaque surface has no other alpha
    }
  }
  HAL_releaseImage(image);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  decodeWithCodec(data, size);
  decodeIntoImage(data, size);
  return 0;
}
