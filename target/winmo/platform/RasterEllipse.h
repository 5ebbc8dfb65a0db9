#pragma once

#include <cstdint>

class RasterPainter;

// Ellipse outlines and fills, whole or between two angles, inside the box
// (x, y, w, h).
//
// The ellipse is stepped with the integer midpoint method over one
// quadrant; every step is mirrored into the four quadrants (counted
// counter-clockwise from the upper right). A partial arc is bounded by two
// limit slopes taken from a table of tangents and scaled to the box, so
// 45 degrees points at the box's corner; each quadrant is then drawn
// whole, not at all, or only where a point's slope passes the limits.
//
// Outlines are never blended and are dotted per quadrant; whole fills are
// opaque whatever the alpha, partial fills follow the fill alpha rule.
// Ellipses wider or taller than kMaxSide are not drawn: stepping them
// would take too long, and nothing of that size fits a target.
class RasterEllipse {
 public:
  static constexpr int64_t kMaxSide = int64_t{1} << 20;

  static void draw(RasterPainter& p, uint16_t c, bool dotted, int64_t x, int64_t y, int64_t w,
                   int64_t h, int32_t start, int32_t arcAngle);
  static void fill(RasterPainter& p, uint16_t c, int32_t alpha, int64_t x, int64_t y, int64_t w,
                   int64_t h, int32_t start, int32_t arcAngle);
};
