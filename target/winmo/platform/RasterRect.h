#pragma once

#include <cstdint>

// A rectangle of target pixels: the clip of a drawing context and the
// operand of every clipping step. Width and height below 1 mean empty.
struct RasterRect {
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;

  // Narrows this rectangle to its intersection with `r`. An empty result
  // becomes width = height = 0 and returns false. Sums are taken in 64 bits,
  // so rectangles near the int range never wrap into a wrong result.
  bool intersect(const RasterRect& r);

  bool isEmpty() const { return width < 1 || height < 1; }
  bool contains(int32_t px, int32_t py) const {
    return x <= px && int64_t{px} < int64_t{x} + width && y <= py &&
           int64_t{py} < int64_t{y} + height;
  }
};
