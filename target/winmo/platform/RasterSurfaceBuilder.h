#pragma once

#include <cstdint>

class RasterSurface;

// Builds a surface from rows of 0xAARRGGBB pixels in one pass: each row is
// packed into the surface's memory as it arrives, and the alpha type is
// settled from the alphas seen once the last row is in. Any alpha 8..247
// gives an alpha plane, else any alpha below 8 a masked surface (those
// pixels become the key colour), else an opaque one; without processAlpha
// the surface is opaque and the alphas are ignored.
//
// Ownership: the memory taken by begin() belongs to the builder until
// finish() hands it to the surface; a builder dropped before that frees
// it. With processAlpha the memory has room for an alpha plane; a surface
// that turns out not to need one gives that room back.
class RasterSurfaceBuilder {
 public:
  RasterSurfaceBuilder() = default;
  ~RasterSurfaceBuilder();
  RasterSurfaceBuilder(const RasterSurfaceBuilder&) = delete;
  RasterSurfaceBuilder& operator=(const RasterSurfaceBuilder&) = delete;

  // Takes the memory for w x h pixels from the image allocator. False for a
  // side outside 1..32767 or when no memory is left.
  bool begin(int32_t w, int32_t h, bool processAlpha);
  // Packs row y (w pixels). Every row is put once before finish().
  void putRow(int32_t y, const uint32_t* argb);
  // The finished surface, or null (with the memory freed) when no memory is
  // left for the surface record or begin() did not succeed. The builder is
  // empty afterwards.
  RasterSurface* finish();

 private:
  void markClearPixels();
  void release();

  uint16_t* memory_ = nullptr;
  int32_t width_ = 0;
  int32_t height_ = 0;
  bool alphaPlane_ = false;  // the memory has room for the alpha plane
  bool sawPartial_ = false;  // some alpha is 8..247
  bool sawClear_ = false;    // some alpha is below 8
};
