#include <gtest/gtest.h>

#include <climits>

#include "RasterModel.h"

namespace {

constexpr uint16_t kBackground = 0x0000;
constexpr uint16_t kInk = 0xFFFF;

TEST(RasterRoundRectTest, OutlineJoinsSidesAndQuarterArcs) {
  RasterCanvas canvas(19, 12, kBackground);
  canvas.g->setColour(0xFFFFFFFF);
  canvas.g->drawRoundRect(1, 1, 16, 10, 8, 6);
  EXPECT_EQ(canvas.picture(kInk),
            "...................\n"
            "...#############...\n"
            "..#.............#..\n"
            ".#...............#.\n"
            ".#...............#.\n"
            ".#...............#.\n"
            ".#...............#.\n"
            ".#...............#.\n"
            ".#...............#.\n"
            ".#...............#.\n"
            "..#.............#..\n"
            "...#############...\n");
}

TEST(RasterRoundRectTest, SmallCornersAreDiagonals) {
  RasterCanvas canvas(9, 8, kBackground);
  canvas.g->setColour(0xFFFFFFFF);
  canvas.g->drawRoundRect(0, 0, 7, 6, 3, 2);
  EXPECT_EQ(canvas.picture(kInk),
            ".######..\n"
            "#......#.\n"
            "#......#.\n"
            "#......#.\n"
            "#......#.\n"
            "#......#.\n"
            ".######..\n"
            ".........\n");
}

// A translucent rounded fill: every pixel is untouched, blended once or
// solid; the bands are solid; nothing leaves the rectangle.
TEST(RasterRoundRectTest, TranslucentFillBlendsEachPixelAtMostOnce) {
  const uint16_t once = RasterCanvas::mix(kBackground, kInk, 16);
  for (int32_t arcW : {4, 5, 8}) {
    for (int32_t arcH : {4, 5, 6}) {
      SCOPED_TRACE(::testing::Message() << arcW << "x" << arcH);
      RasterCanvas canvas(20, 16, kBackground);
      canvas.g->setColour(0x80FFFFFF);
      canvas.g->fillRoundRect(2, 2, 14, 11, arcW, arcH);
      for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 20; ++x) {
          const uint16_t p = canvas.at(x, y);
          EXPECT_TRUE(p == kBackground || p == once || p == kInk) << x << "," << y;
          if (x < 2 || x >= 16 || y < 2 || y >= 13) {
            EXPECT_EQ(p, kBackground) << x << "," << y;
          }
        }
      }
      // The middle band spans the full width; the top band starts after
      // the corner's half width.
      for (int x = 2; x < 16; ++x) EXPECT_EQ(canvas.at(x, 2 + (arcH >> 1)), kInk);
      EXPECT_EQ(canvas.at(2 + (arcW >> 1), 2), kInk);
      EXPECT_NE(canvas.at(2, 2), kInk);
    }
  }
}

TEST(RasterRoundRectTest, EmptyAndFarOutRectangles) {
  RasterCanvas canvas(8, 8, kBackground);
  canvas.g->setColour(0xFFFFFFFF);
  canvas.g->fillRoundRect(1, 1, 0, 5, 2, 2);
  canvas.g->fillRoundRect(1, 1, 5, -1, 2, 2);
  EXPECT_MATCHES_MODEL(canvas);
  canvas.g->fillRoundRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX, INT_MAX, INT_MAX);
  canvas.g->drawRoundRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX, INT_MIN, INT_MAX);
  canvas.g->fillRoundRect(-1000, -1000, 2000, 2000, 400, 400);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(canvas.at(x, y), kInk);
}

}  // namespace
