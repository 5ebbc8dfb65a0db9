#pragma once

#include <cstddef>
#include <cstdint>

// RGB565 pixel surfaces: the images, the screen buffer and every drawing
// target of the platform layer.
//
// Ownership: a surface is made by one of the create functions (null on
// failure) and destroyed with `delete`. Pixel memory comes from the
// platform's image allocator (HAL_allocateImageBuffer), so it counts
// against the heap limit like Java objects do; when ownsPixels is set the
// destructor gives it back there. Memory handed to createOver must
// therefore come from allocatePixels.
// Images share a surface through RasterImage, which destroys it with the
// last reference.
//
// Layout: the colour plane holds stride x height 16-bit pixels, top row
// first. A surface with alpha type kAlphaPlane carries its 8-bit alpha plane
// (stride x height bytes) in the same allocation right after the colour
// plane. A masked surface (kMasked) marks transparent pixels with the key
// colour 0xF81F.
//
// Sides are 1..32767 pixels; sizes outside that are refused, so every byte
// size fits easily in size_t and every coordinate of a pixel in 16 bits.

// Packs 0xRRGGBB (the alpha byte of 0xAARRGGBB is ignored) by truncation.
constexpr uint16_t rasterPack565(uint32_t c) {
  return static_cast<uint16_t>(((c >> 8) & 0xF800) | ((c >> 5) & 0x07E0) |
                               ((c & 0xFF) >> 3));
}

// Unpacks to 0x00RRGGBB without replicating the low bits (white gives
// 0xF8FCF8).
constexpr uint32_t rasterUnpack565(uint16_t p) {
  return ((uint32_t{p} & 0xF800) << 8) | ((uint32_t{p} & 0x07E0) << 5) |
         ((uint32_t{p} & 0x1F) << 3);
}

class RasterSurface {
 public:
  static constexpr int32_t kOpaque = 1;
  static constexpr int32_t kMasked = 2;
  static constexpr int32_t kAlphaPlane = 3;
  static constexpr uint16_t kKeyColour = 0xF81F;
  static constexpr int32_t kMaxSide = 32767;

  uint16_t* pixels = nullptr;
  int16_t width = 0;
  int16_t height = 0;
  int16_t stride = 0;       // pixels per row in memory
  bool ownsPixels = false;  // the destructor frees `pixels`
  bool wrapsMemory = false; // built over memory handed in by the caller
  int32_t alphaType = kOpaque;

  virtual ~RasterSurface();
  RasterSurface(const RasterSurface&) = delete;
  RasterSurface& operator=(const RasterSurface&) = delete;

  // A heap surface of w x h pixels with the given alpha type (1, 2 or 3);
  // contents undefined. Null for a side outside 1..32767, an unknown alpha
  // type or no memory.
  static RasterSurface* create(int32_t w, int32_t h, int32_t alphaType);
  static RasterSurface* createOpaque(int32_t w, int32_t h) { return create(w, h, kOpaque); }
  static RasterSurface* createWithAlphaPlane(int32_t w, int32_t h) {
    return create(w, h, kAlphaPlane);
  }
  // A surface over `pixels` (stride = w) that takes the memory: it must hold
  // byteSize(w, h, alphaType) bytes from allocatePixels. Null,
  // with the memory left to the caller, when the arguments are refused or
  // no memory is left for the surface record.
  static RasterSurface* createOver(uint16_t* pixels, int32_t w, int32_t h, int32_t alphaType);
  // Converts w x h ARGB pixels into a new surface. `argb` points at the
  // first pixel of the top row; row r starts at argb + r * scanlength (a
  // negative scanlength walks upwards). Without processAlpha the surface is
  // opaque; with it, any alpha 8..247 makes an alpha-plane surface, else any
  // alpha below 8 a masked one (those pixels become the key colour), else an
  // opaque one. Null when the size is refused or memory runs out.
  static RasterSurface* createFromARGB(const int32_t* argb, int32_t w, int32_t h,
                                       int32_t scanlength, bool processAlpha);

  // Bytes of pixel memory for a w x h surface of the alpha type (stride =
  // w): 2 per pixel, 3 with an alpha plane. 0 for refused arguments.
  static size_t byteSize(int32_t w, int32_t h, int32_t alphaType);
  // Pixel memory of byteSize(...) bytes from the image allocator (which may
  // collect garbage once when memory is short); null when refused.
  static uint16_t* allocatePixels(int32_t w, int32_t h, int32_t alphaType);

  // Reallocates a heap surface that owns its pixels to w x h (contents
  // lost). No-op when the size is unchanged. False, with the surface left
  // as it was, for a refused size, a surface that does not own its pixels
  // or no memory.
  bool resize(int32_t w, int32_t h);

  uint16_t* pixelAddress(int32_t x, int32_t y) const {
    return pixels + static_cast<ptrdiff_t>(y) * stride + x;
  }
  // The alpha plane; only meaningful for kAlphaPlane surfaces.
  uint8_t* alphaPlane() const {
    return reinterpret_cast<uint8_t*>(pixels + static_cast<ptrdiff_t>(stride) * height);
  }
  uint8_t* alphaAddress(int32_t x, int32_t y) const {
    return alphaPlane() + static_cast<ptrdiff_t>(y) * stride + x;
  }
  bool hasAlpha() const { return alphaType != kOpaque; }
  // The pixel as 0xAARRGGBB: alpha 0xFF for opaque surfaces, 0 for the key
  // colour of a masked surface, the plane's byte for an alpha plane. The
  // caller keeps (x, y) inside the surface.
  uint32_t argbAt(int32_t x, int32_t y) const;

 protected:
  RasterSurface() = default;
};
