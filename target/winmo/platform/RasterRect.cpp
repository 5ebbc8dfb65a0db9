#include "RasterRect.h"

#include <algorithm>

bool RasterRect::intersect(const RasterRect& r) {
  const int64_t dx = int64_t{r.x} - x;
  const int64_t dy = int64_t{r.y} - y;
  if (r.width + dx < 0 || r.height + dy < 0 || dx > width || dy > height) {
    width = height = 0;
    return false;
  }
  // Each axis: a rectangle starting inside keeps its start and is cut at the
  // far edge; one starting before keeps this start and is cut to what is
  // left of it. Every result lies between 0 and the old extent.
  if (dx >= 0) {
    width = static_cast<int32_t>(std::min<int64_t>(r.width, int64_t{x} + width - r.x));
    x = r.x;
  } else if (r.width + dx < width) {
    width = static_cast<int32_t>(r.width + dx);
  }
  if (dy >= 0) {
    height = static_cast<int32_t>(std::min<int64_t>(r.height, int64_t{y} + height - r.y));
    y = r.y;
  } else if (r.height + dy < height) {
    height = static_cast<int32_t>(r.height + dy);
  }
  return true;
}
