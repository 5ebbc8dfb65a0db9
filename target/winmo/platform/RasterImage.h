#pragma once

#include <cstdint>

class RasterSurface;

// The shared handle over a surface that images and drawing contexts hold.
//
// Ownership: the handle owns its surface. It is made with one reference;
// every further holder calls addRef, every holder calls release once, and
// the release that drops the count below 1 destroys the surface and the
// handle. Handles are used only under the global VM lock, so the count is a
// plain integer.
class RasterImage {
 public:
  RasterSurface* surface;
  int32_t refCount;
  int16_t width;   // the surface's size when the handle was made
  int16_t height;

  // A handle with count 1 that takes `surface`. Null for a null surface;
  // when the handle cannot be allocated the surface is destroyed and null
  // returned, so `create(RasterSurface::create(...))` never leaks.
  static RasterImage* create(RasterSurface* surface);

  void addRef() { ++refCount; }
  void release();

  RasterImage(const RasterImage&) = delete;
  RasterImage& operator=(const RasterImage&) = delete;

 private:
  explicit RasterImage(RasterSurface* s);
  ~RasterImage();
};
