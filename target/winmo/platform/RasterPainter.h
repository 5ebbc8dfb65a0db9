#pragma once

#include <cstddef>
#include <cstdint>

#include "RasterRect.h"

class RasterSurface;

// Spans, lines, single pixels and triangles inside one clip rectangle of a
// target surface: the primitives the drawing context and the ellipse code
// are built from.
//
// Coordinates are 64-bit so that sums such as x + w of two ints never wrap;
// every primitive clips before it loops, so coordinates far outside the
// target cost no more than those just outside it.
//
// On a target with an alpha plane every pixel is drawn over the target's
// colour and alpha (RasterPixels::over): solid pixels make it opaque,
// fills with an alpha below 255 composite with that alpha.
//
// Dotted pattern: 4 pixels on, 4 off. A pixel counted `pos` steps from the
// pattern's start is drawn when pos mod 8 < 4.
class RasterPainter {
 public:
  RasterPainter(RasterSurface* target, const RasterRect& clip);

  bool inside(int64_t x, int64_t y) const {
    return x >= left_ && x <= right_ && y >= top_ && y <= bottom_;
  }
  void plot(int64_t x, int64_t y, uint16_t c);
  // The clip's inclusive bounds (right < left when it is empty).
  int64_t left() const { return left_; }
  int64_t right() const { return right_; }

  // Pixels from min(x1, x2) to max(x1, x2) on row y, clipped.
  void span(int64_t x1, int64_t x2, int64_t y, uint16_t c);
  // The same with the fill alpha rule: nothing below 8, blended up to 247.
  void fillSpan(int64_t x1, int64_t x2, int64_t y, uint16_t c, int32_t alpha);
  // Whether step `pos` of the dotted pattern (four on, four off) is drawn.
  static bool dottedOn(int64_t pos) { return (pos & 7) < 4; }
  // A dotted span; the pattern starts at the left end, or at the left end
  // mod 8 when that end is inside the clip.
  void dottedSpan(int64_t x1, int64_t x2, int64_t y, uint16_t c);
  // Rows y1..y2 (either order) of column x, solid.
  void verticalSpan(int64_t x, int64_t y1, int64_t y2, uint16_t c);
  // A line from both ends towards the middle (Bresenham), never blended.
  void line(int64_t x1, int64_t y1, int64_t x2, int64_t y2, uint16_t c, bool dotted);
  // The rectangle with the fill alpha rule.
  void fillRect(int64_t x, int64_t y, int64_t w, int64_t h, uint16_t c, int32_t alpha);
  // Scan-converted triangle in 16.16 fixed point with the fill alpha rule.
  void triangle(const int64_t xs[3], const int64_t ys[3], uint16_t c, int32_t alpha);

 private:
  // Plots one end of a line: the pixels of steps kFirst..kLast, the end
  // starting at (major0, minor0) and moving by majorStep and minorStep.
  struct LineEnd {
    int64_t major0, minor0, majorStep, minorStep;
    int64_t kLast;      // the last step this end plots
    int64_t phase0;     // dotted position of step 0
    int64_t phaseStep;  // +1 or -1
  };
  void lineEnd(const LineEnd& end, int64_t n, int64_t minor, bool xMajor, uint16_t c,
               bool dotted);
  // Colour c with alpha 8..255 over `rows` rows of n pixels from (x, y),
  // inside the clip of a target with an alpha plane.
  void overRows(int64_t x, int64_t y, ptrdiff_t n, ptrdiff_t rows, uint16_t c, int32_t alpha);

  RasterSurface* target_;
  int64_t left_, top_, right_, bottom_;  // the clip, inclusive; empty when right_ < left_
  bool alphaPlane_;  // the target has an alpha plane: drawing goes over it
};
