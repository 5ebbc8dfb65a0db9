#include "HALImage.h"

#include <algorithm>
#include <cstring>

#include "CeImaging.h"
#include "HALCallbacks.h"
#include "HALGlobalLock.h"
#include "HALMemory.h"
#include "HALResource.h"
#include "RasterImage.h"
#include "RasterSurface.h"
#include "RasterSurfaceBuilder.h"

namespace {

// A new handle over `surface`, or HAL_OUT_OF_MEMORY_ERR (a null surface
// counts as memory that could not be had).
HALStatus handOut(RasterImage** out, RasterSurface* surface) {
  *out = RasterImage::create(surface);
  return *out != nullptr ? HAL_OK : HAL_OUT_OF_MEMORY_ERR;
}

// Hands the rows of a decode straight to a surface builder, so the pixels
// are packed as they are decoded, in one pass and with no ARGB copy of
// the whole image.
class SurfaceSink final : public CeImaging::RowSink {
 public:
  RasterSurfaceBuilder builder;

  bool begin(int32_t width, int32_t height, bool mayHaveAlpha) override {
    return builder.begin(width, height, mayHaveAlpha);
  }
  void row(int32_t y, const uint32_t* argb) override { builder.putRow(y, argb); }
};

HALStatus decodeOnce(const uint8_t* bytes, int32_t length, RasterImage** out) {
  SurfaceSink sink;
  switch (CeImaging::decode(bytes, static_cast<size_t>(length), sink)) {
    case CeImaging::Result::ok: break;
    case CeImaging::Result::outOfMemory: return HAL_OUT_OF_MEMORY_ERR;
    case CeImaging::Result::badData: return HAL_BAD_FORMAT_ERR;
  }
  return handOut(out, sink.builder.finish());
}

// Runs one garbage collection under the global lock, so that memory held
// by unreachable images comes back before a second try.
void collectGarbage() {
  HAL_enterGlobalLock();
  HAL_getVMCallbacks()->reattach();
  HAL_getVMCallbacks()->collectGarbage();
  HAL_leaveGlobalLock();
}

// Runs `make` (which fills *out and returns a status) and, when it ran out
// of memory, once more after one garbage collection. Every way of making
// an image goes through here, so pixels held by unreachable images come
// back before an image is refused.
template <typename Make>
HALStatus makeWithCollection(Make make) {
  HALStatus status = make();
  if (status == HAL_OUT_OF_MEMORY_ERR) {
    collectGarbage();
    status = make();
  }
  return status;
}

HALStatus decode(const uint8_t* bytes, int32_t length, RasterImage** out, int32_t* width,
                 int32_t* height) {
  const HALStatus status = makeWithCollection([&] { return decodeOnce(bytes, length, out); });
  if (status != HAL_OK) return status;
  if (width != nullptr) *width = (*out)->width;
  if (height != nullptr) *height = (*out)->height;
  return HAL_OK;
}

// The largest resource file read for decoding. The biggest image the codec
// takes (2^24 pixels of 4 bytes, even stored without compression) fits in
// far less, so a larger file is no image it could decode, and it is not
// read into memory at all.
constexpr int32_t kMaxResourceBytes = 256 << 20;

// Reads the whole resource into a buffer of HAL_allocateBuffer.
HALStatus readResource(const char16_t* name, int32_t nameLength, uint8_t** data, int32_t* size) {
  HALResource* resource = nullptr;
  const HALStatus opened = HAL_openResource(&resource, name, nameLength);
  if (opened == HAL_OUT_OF_MEMORY_ERR) return opened;
  if (opened != HAL_OK) return HAL_NOT_FOUND_ERR;
  *size = HAL_getResourceSize(resource);
  HALStatus status = *size < 1 ? HAL_IO_ERR : *size > kMaxResourceBytes ? HAL_BAD_FORMAT_ERR : HAL_OK;
  if (status == HAL_OK) {
    *data = static_cast<uint8_t*>(HAL_allocateBuffer(static_cast<size_t>(*size)));
    if (*data == nullptr) status = HAL_OUT_OF_MEMORY_ERR;
  }
  for (int32_t done = 0; status == HAL_OK && done < *size;) {
    int32_t count = *size - done;
    status = HAL_readResource(resource, *data + done, done, &count);
    if (status == HAL_OK && count == 0) status = HAL_IO_ERR;  // the file shrank
    done += count;
  }
  HAL_closeResource(resource);
  if (status != HAL_OK) {
    HAL_freeBuffer(*data);
    *data = nullptr;
  }
  return status;
}

// A new surface holding the pixels (and the alpha plane) of `source`.
RasterSurface* copySurface(const RasterSurface& source) {
  RasterSurface* copy = RasterSurface::create(source.width, source.height, source.alphaType);
  if (copy == nullptr) return nullptr;
  for (int32_t y = 0; y < source.height; ++y) {
    std::memcpy(copy->pixelAddress(0, y), source.pixelAddress(0, y), size_t(source.width) * 2);
    if (source.alphaType == RasterSurface::kAlphaPlane) {
      std::memcpy(copy->alphaAddress(0, y), source.alphaAddress(0, y), size_t(source.width));
    }
  }
  return copy;
}

bool validSide(int32_t side) { return side >= 1 && side <= RasterSurface::kMaxSide; }

HALStatus getRGB(RasterImage* image, int32_t* data, int32_t dataLength, int32_t offset,
                 int32_t scanlength, int32_t x, int32_t y, int32_t width, int32_t height) {
  if (image == nullptr || data == nullptr || width < 0 || height < 0) return HAL_ILLEGAL_ARGUMENT_ERR;
  if (width == 0 || height == 0) return HAL_OK;
  const RasterSurface& s = *image->surface;
  if (x < 0 || y < 0 || int64_t{x} + width > s.width || int64_t{y} + height > s.height) {
    return HAL_ILLEGAL_ARGUMENT_ERR;
  }
  const int64_t lastRow = int64_t{offset} + int64_t{height - 1} * scanlength;
  if (std::min<int64_t>(offset, lastRow) < 0 || std::max<int64_t>(offset, lastRow) + width > dataLength) {
    return HAL_ILLEGAL_ARGUMENT_ERR;
  }
  for (int32_t r = 0; r < height; ++r) {
    int32_t* row = data + (int64_t{offset} + int64_t{r} * scanlength);
    for (int32_t c = 0; c < width; ++c) row[c] = static_cast<int32_t>(s.argbAt(x + c, y + r));
  }
  return HAL_OK;
}

HALStatus hasAlpha(RasterImage* image, uint8_t* out) {
  if (image == nullptr || out == nullptr) return HAL_ILLEGAL_ARGUMENT_ERR;
  *out = image->surface->hasAlpha() ? 1 : 0;
  return HAL_OK;
}

}  // namespace

HALStatus HAL_createImageWithData(RasterImage** out, const uint8_t* bytes, int32_t length,
                                  int32_t* width, int32_t* height) {
  if (out == nullptr) return HAL_ILLEGAL_ARGUMENT_ERR;
  *out = nullptr;
  if (bytes == nullptr || length < 0) return HAL_ILLEGAL_ARGUMENT_ERR;
  if (length == 0) return HAL_BAD_FORMAT_ERR;  // nothing to decode
  return decode(bytes, length, out, width, height);
}

HALStatus HAL_createImageWithResource(RasterImage** out, const char16_t* name, int32_t nameLength,
                                      int32_t* width, int32_t* height) {
  if (out == nullptr) return HAL_ILLEGAL_ARGUMENT_ERR;
  *out = nullptr;
  uint8_t* data = nullptr;
  int32_t size = 0;
  HALStatus status = readResource(name, nameLength, &data, &size);
  if (status != HAL_OK) return status;
  status = decode(data, size, out, width, height);
  HAL_freeBuffer(data);
  return status;
}

HALStatus HAL_createImageWithRGB(RasterImage** out, const int32_t* argb, int32_t length,
                                 int32_t width, int32_t height, int processAlpha) {
  if (out == nullptr) return HAL_ILLEGAL_ARGUMENT_ERR;
  *out = nullptr;
  if (argb == nullptr || length < 1 || !validSide(width) || !validSide(height) ||
      int64_t{width} * height > length) {
    return HAL_ILLEGAL_ARGUMENT_ERR;
  }
  return makeWithCollection(
      [&] { return handOut(out, RasterSurface::createFromARGB(argb, width, height, width, processAlpha != 0)); });
}

HALStatus HAL_createImageWithImmutableImage(RasterImage** out, RasterImage* source) {
  if (out == nullptr) return HAL_ILLEGAL_ARGUMENT_ERR;
  *out = nullptr;
  if (source == nullptr) return HAL_ILLEGAL_ARGUMENT_ERR;
  source->addRef();
  *out = source;
  return HAL_OK;
}

HALStatus HAL_createImageWithMutableImage(RasterImage** out, RasterImage* source) {
  if (out == nullptr) return HAL_ILLEGAL_ARGUMENT_ERR;
  *out = nullptr;
  if (source == nullptr) return HAL_ILLEGAL_ARGUMENT_ERR;
  return makeWithCollection([&] { return handOut(out, copySurface(*source->surface)); });
}

HALStatus HAL_createMutableImage(RasterImage** out, int32_t width, int32_t height) {
  if (out == nullptr) return HAL_ILLEGAL_ARGUMENT_ERR;
  *out = nullptr;
  if (!validSide(width) || !validSide(height)) return HAL_ILLEGAL_ARGUMENT_ERR;
  return makeWithCollection([&] {
    RasterSurface* surface = RasterSurface::createOpaque(width, height);
    if (surface != nullptr) std::fill_n(surface->pixels, size_t(surface->stride) * height, uint16_t{0xFFFF});
    return handOut(out, surface);
  });
}

HALStatus HAL_createTransparentMutableImage(RasterImage** out, int32_t width, int32_t height) {
  if (out == nullptr) return HAL_ILLEGAL_ARGUMENT_ERR;
  *out = nullptr;
  if (!validSide(width) || !validSide(height)) return HAL_ILLEGAL_ARGUMENT_ERR;
  return makeWithCollection([&] {
    RasterSurface* surface = RasterSurface::createWithAlphaPlane(width, height);
    if (surface != nullptr) std::memset(surface->pixels, 0, size_t(surface->stride) * height * 3);
    return handOut(out, surface);
  });
}

HALStatus HAL_getImmutableRGB(RasterImage* image, int32_t* data, int32_t dataLength, int32_t offset,
                              int32_t scanlength, int32_t x, int32_t y, int32_t width, int32_t height) {
  return getRGB(image, data, dataLength, offset, scanlength, x, y, width, height);
}

HALStatus HAL_getMutableRGB(RasterImage* image, int32_t* data, int32_t dataLength, int32_t offset,
                            int32_t scanlength, int32_t x, int32_t y, int32_t width, int32_t height) {
  return getRGB(image, data, dataLength, offset, scanlength, x, y, width, height);
}

HALStatus HAL_getImmutableHasAlpha(RasterImage* image, uint8_t* out) { return hasAlpha(image, out); }
HALStatus HAL_getMutableHasAlpha(RasterImage* image, uint8_t* out) { return hasAlpha(image, out); }

void HAL_releaseImage(RasterImage* image) {
  if (image != nullptr) image->release();
}
