#include <gtest/gtest.h>

#include <climits>

#include "RasterModel.h"

namespace {

constexpr uint16_t kBackground = 0x1234;
constexpr uint16_t kInk = 0xFFFF;

// The line model: the pixel j steps along the major axis from (x1, y1)
// sits at the minor offset nearest to minor * j / n (ties towards the end
// the pixel is counted from): the first half from the first end, the rest
// from the second end. Dotted: drawn when j mod 8 < 4.
void modelLine(RasterCanvas& c, int64_t x1, int64_t y1, int64_t x2, int64_t y2, bool dotted) {
  if (y1 == y2) {
    const int64_t lo = std::min(x1, x2), hi = std::max(x1, x2);
    for (int64_t x = lo; x <= hi; ++x) {
      const int64_t pos = lo < c.clipX0 ? x - lo : x;
      if (!dotted || (pos & 7) < 4) c.set(x, y1, kInk);
    }
    return;
  }
  const int64_t dx = x2 - x1, dy = y2 - y1;
  const bool xMajor = std::abs(dx) >= std::abs(dy);
  const int64_t n = xMajor ? std::abs(dx) : std::abs(dy);
  const int64_t minor = xMajor ? std::abs(dy) : std::abs(dx);
  // Nearest integer to minor * k / n, halves rounded down.
  auto nearest = [&](int64_t k) { return (2 * minor * k + n - 1) / (2 * n); };
  for (int64_t j = 0; j <= n; ++j) {
    const int64_t off = j <= (n >> 1) ? nearest(j) : minor - nearest(n - j);
    const int64_t mx = xMajor ? j : off, my = xMajor ? off : j;
    const int64_t x = x1 + (dx < 0 ? -mx : mx), y = y1 + (dy < 0 ? -my : my);
    if (!dotted || (j & 7) < 4) c.set(x, y, kInk);
  }
}

struct LineCase { int32_t x1, y1, x2, y2; };

const LineCase kLines[] = {
    {0, 0, 15, 0},  {15, 3, 0, 3},   {2, 0, 2, 15},  {5, 15, 5, 0},  {0, 0, 15, 15}, {15, 0, 0, 15},
    {0, 0, 15, 4},  {0, 0, 4, 15},   {14, 13, 1, 2}, {3, 1, 12, 14}, {0, 7, 15, 8},  {7, 0, 8, 15},
    {-9, -5, 22, 19}, {20, -4, -6, 13}, {1, 1, 1, 1}, {0, 2, 13, 5}, {4, 4, 5, 6},   {9, 2, 2, 3},
};

TEST(RasterLineTest, SolidAndDottedLinesMatchTheModel) {
  for (bool dotted : {false, true}) {
    for (const LineCase& l : kLines) {
      SCOPED_TRACE(::testing::Message() << l.x1 << "," << l.y1 << " - " << l.x2 << "," << l.y2
                                        << (dotted ? " dotted" : ""));
      RasterCanvas canvas(16, 16, kBackground);
      canvas.g->setColour(0x80FFFFFF);  // lines never blend
      canvas.g->setStrokeStyle(dotted ? 1 : 0);
      canvas.g->drawLine(l.x1, l.y1, l.x2, l.y2);
      modelLine(canvas, l.x1, l.y1, l.x2, l.y2, dotted);
      EXPECT_MATCHES_MODEL(canvas) << canvas.picture(kInk);
    }
  }
}

TEST(RasterLineTest, ClippedLinesKeepTheirPixelsAndPhases) {
  for (bool dotted : {false, true}) {
    for (const LineCase& l : kLines) {
      SCOPED_TRACE(::testing::Message() << l.x1 << "," << l.y1 << " - " << l.x2 << "," << l.y2);
      RasterCanvas canvas(16, 16, kBackground);
      canvas.clip(3, 2, 9, 11);
      canvas.g->setStrokeStyle(dotted ? 1 : 0);
      canvas.g->setColour(0xFFFFFFFF);
      canvas.g->drawLine(l.x1, l.y1, l.x2, l.y2);
      modelLine(canvas, l.x1, l.y1, l.x2, l.y2, dotted);
      EXPECT_MATCHES_MODEL(canvas) << canvas.picture(kInk);
    }
  }
}

TEST(RasterLineTest, DottedHorizontalPhaseFollowsTheColumn) {
  // From x = 8: four drawn, then four gaps; from x = 4: four gaps first.
  RasterCanvas canvas(24, 2, kBackground);
  canvas.g->setStrokeStyle(1);
  canvas.g->setColour(0xFFFFFFFF);
  canvas.g->drawLine(8, 0, 23, 0);
  canvas.g->drawLine(4, 1, 19, 1);
  EXPECT_EQ(canvas.picture(kInk),
            "........####....####....\n"
            "........####....####....\n");
  // Clipped on the left, the pattern counts from the line's own left end.
  RasterCanvas clipped(24, 1, kBackground);
  clipped.clip(5, 0, 19, 1);
  clipped.g->setStrokeStyle(1);
  clipped.g->setColour(0xFFFFFFFF);
  clipped.g->drawLine(2, 0, 23, 0);
  EXPECT_EQ(clipped.picture(kInk), ".....#....####....####..\n");
}

TEST(RasterLineTest, DrawRectCoversWPlusOneByHPlusOne) {
  RasterCanvas single(3, 3, kBackground);
  single.g->setColour(0xFFFFFFFF);
  single.g->drawRect(0, 0, 0, 0);
  EXPECT_EQ(single.picture(kInk), "#..\n...\n...\n");

  for (bool dotted : {false, true}) {
    RasterCanvas canvas(14, 12, kBackground);
    canvas.g->setColour(0xFFFFFFFF);
    canvas.g->setStrokeStyle(dotted ? 1 : 0);
    canvas.g->drawRect(1, 2, 11, 8);
    modelLine(canvas, 1, 2, 12, 2, dotted);
    modelLine(canvas, 1, 10, 12, 10, dotted);
    modelLine(canvas, 1, 2, 1, 10, dotted);
    modelLine(canvas, 12, 2, 12, 10, dotted);
    EXPECT_MATCHES_MODEL(canvas) << canvas.picture(kInk);
  }
}

TEST(RasterLineTest, FarOutLinesFinishQuicklyAndStayInside) {
  RasterCanvas canvas(16, 16, kBackground);
  canvas.g->setColour(0xFFFFFFFF);
  for (bool dotted : {false, true}) {
    canvas.g->setStrokeStyle(dotted ? 1 : 0);
    canvas.g->drawLine(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    canvas.g->drawLine(INT_MAX, INT_MIN, INT_MIN, INT_MAX);
    canvas.g->drawLine(INT_MIN, 3, INT_MAX, 3);
    canvas.g->drawLine(5, INT_MIN, 5, INT_MAX);
    canvas.g->drawRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    canvas.g->drawRect(-3, -3, INT_MAX, INT_MAX);
  }
  // The diagonal through the origin passes (k, k); rows 3 and column 5 are full.
  for (int k = 0; k < 16; ++k) {
    EXPECT_EQ(canvas.at(k, 3), kInk);
    EXPECT_EQ(canvas.at(5, k), kInk);
  }
  EXPECT_EQ(canvas.at(0, 0), kInk);
  EXPECT_EQ(canvas.at(15, 15), kInk);
}

}  // namespace
