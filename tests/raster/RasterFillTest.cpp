#include <gtest/gtest.h>

#include <climits>

#include "RasterModel.h"

namespace {

constexpr uint16_t kBackground = 0x1234;

// fillRect's alpha rule: nothing below 8, blended with weight
// (alpha + 1) >> 3 up to 247, the exact colour from 248.
TEST(RasterFillTest, FillRectAlphaRule) {
  struct Case { uint32_t argb; int32_t weight; };  // weight 0: nothing, 32: solid
  for (const Case& c : {Case{0x07FF0000, 0}, Case{0x08FF0000, 1}, Case{0x80FF0000, 16},
                        Case{0xF7FF0000, 31}, Case{0xF8FF0000, 32}, Case{0xFFABCDEF, 32},
                        Case{0x0000FF00, 0}}) {
    SCOPED_TRACE(::testing::Message() << std::hex << c.argb);
    // 3 pixels wide and 21 (vector blocks and a tail).
    RasterCanvas canvas(24, 5, kBackground);
    canvas.pattern();
    canvas.g->setColour(c.argb);
    canvas.g->fillRect(1, 1, 3, 2);
    canvas.g->fillRect(2, 3, 21, 2);
    const uint16_t colour = rasterPack565(c.argb);
    for (int y = 1; y < 5; ++y) {
      for (int x = y < 3 ? 1 : 2; x < (y < 3 ? 4 : 23); ++x) {
        if (c.weight == 32) canvas.set(x, y, colour);
        if (c.weight > 0 && c.weight < 32) canvas.blendAt(x, y, colour, c.weight);
      }
    }
    EXPECT_MATCHES_MODEL(canvas);
  }
}

TEST(RasterFillTest, BlendEqualsPerChannelAverageForEveryWeight) {
  // The spread-green blend against the per-channel model over a sweep of
  // pixel pairs, weights 1..31.
  for (uint32_t w = 1; w < 32; ++w) {
    for (uint32_t d = 0; d < 0x10000; d += 97) {
      for (uint32_t s = 0; s < 0x10000; s += 89) {
        const uint16_t got = RasterPixels::blend(static_cast<uint16_t>(d), static_cast<uint16_t>(s), w);
        const uint16_t want = RasterCanvas::mix(static_cast<uint16_t>(d), static_cast<uint16_t>(s),
                                                static_cast<int32_t>(w));
        if (got != want) FAIL() << std::hex << d << " " << s << " w " << std::dec << w;
      }
    }
  }
}

struct RectCase {
  int32_t x, y, w, h;
};

// Rectangles against the clip on every side, empty and far-out ones.
TEST(RasterFillTest, FillRectClipsToTheClipAndTheTarget) {
  const RectCase rects[] = {{0, 0, 0, 5},         {0, 0, 5, 0},        {-3, -3, 5, 5},
                            {5, 6, 10, 10},       {2, 2, -3, 4},       {-100, 3, 200, 1},
                            {INT_MIN, INT_MIN, INT_MAX, INT_MAX},      {INT_MAX, 0, INT_MAX, 5},
                            {-5, 0, INT_MAX, INT_MAX},                 {3, 1, 1, 1}};
  for (const RectCase& r : rects) {
    SCOPED_TRACE(::testing::Message() << r.x << "," << r.y << " " << r.w << "x" << r.h);
    RasterCanvas canvas(8, 9, kBackground);
    canvas.clip(1, 2, 6, 5);
    canvas.g->setColour(0xFF00FF00);
    canvas.g->fillRect(r.x, r.y, r.w, r.h);
    for (int64_t y = r.y; y < int64_t{r.y} + r.h && y < 9; ++y) {
      for (int64_t x = std::max<int64_t>(r.x, 0); x < int64_t{r.x} + r.w && x < 8; ++x) {
        canvas.set(x, y, 0x07E0);
      }
    }
    EXPECT_MATCHES_MODEL(canvas);
  }
}

// Long spans at every alignment, whole rows under a row clip: the wide
// store paths.
TEST(RasterFillTest, LongSpansAndWholeRows) {
  RasterCanvas canvas(100, 12, kBackground);
  canvas.g->setColour(0xFFFF00FF);
  for (int32_t row = 0; row < 10; ++row) {
    const int32_t x = row * 3 % 17, w = 63 + row * 4;
    canvas.g->fillRect(x, row, w, 1);
    for (int32_t i = x; i < x + w && i < 100; ++i) canvas.set(i, row, 0xF81F);
  }
  EXPECT_MATCHES_MODEL(canvas);
  canvas.clip(0, 10, 100, 1);
  canvas.g->setColour(0xFF00FF00);
  canvas.g->fillRect(-1, 0, 200, 20);
  for (int32_t i = 0; i < 100; ++i) canvas.set(i, 10, 0x07E0);
  EXPECT_MATCHES_MODEL(canvas);
}

TEST(RasterFillTest, ClipOutsideTheTargetNeverWritesOutsideIt) {
  RasterCanvas canvas(4, 4, kBackground);
  canvas.g->clip = RasterRect{-10, -10, 100, 100};  // as if set directly
  canvas.g->setColour(0xFFFFFFFF);
  canvas.g->fillRect(-50, -50, 100, 100);
  canvas.g->drawLine(-20, -20, 30, 30);
  canvas.g->fillTriangle(-40, 2, 50, 3, 0, 60);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) canvas.expected(x, y) = 0xFFFF;
  EXPECT_MATCHES_MODEL(canvas);
}

// Triangles against a model that scan-converts each row on its own: the
// span of row y runs between the two edges' 16.16 positions reached from
// the bottom vertex.
void modelTriangle(RasterCanvas& c, int64_t px[3], int64_t py[3], uint16_t colour) {
  int o[3] = {0, 1, 2};
  std::stable_sort(o, o + 3, [&](int a, int b) { return py[a] < py[b]; });
  auto slope = [&](int a, int b) {
    return static_cast<int64_t>(static_cast<float>(px[b] - px[a]) /
                                static_cast<float>(py[b] - py[a]) * 65536.0f);
  };
  const int64_t y0 = py[o[0]], x1 = px[o[1]], y1 = py[o[1]], x2 = px[o[2]],
                y2 = py[o[2]];
  for (int64_t y = y2; y >= y0; --y) {
    const int64_t a = x2 * 65536 - (y2 - y) * (y2 > y0 ? slope(o[0], o[2]) : 0);
    int64_t b;
    if (y > y1) {
      b = x2 * 65536 - (y2 - y) * slope(o[1], o[2]);
    } else {
      b = x1 * 65536 - (y1 - y) * (y1 > y0 ? slope(o[0], o[1]) : 0);
    }
    for (int64_t x = std::min(a >> 16, b >> 16); x <= std::max(a >> 16, b >> 16); ++x) {
      c.set(x, y, colour);
    }
  }
}

TEST(RasterFillTest, TrianglesMatchTheRowModel) {
  struct Tri { int64_t x[3], y[3]; };
  const Tri tris[] = {
      {{2, 12, 7}, {1, 4, 13}},   {{7, 2, 12}, {13, 1, 4}},  {{0, 15, 8}, {0, 0, 9}},
      {{3, 3, 3}, {2, 5, 9}},     {{1, 14, 6}, {5, 5, 5}},   {{-6, 20, 4}, {-3, 7, 22}},
      {{8, 8, 1}, {0, 15, 15}},   {{5, 6, 7}, {5, 6, 7}},
  };
  for (const Tri& t : tris) {
    RasterCanvas canvas(16, 16, kBackground);
    canvas.clip(1, 1, 13, 13);
    canvas.g->setColour(0xFFFFFF00);
    canvas.g->fillTriangle(static_cast<int32_t>(t.x[0]), static_cast<int32_t>(t.y[0]),
                           static_cast<int32_t>(t.x[1]), static_cast<int32_t>(t.y[1]),
                           static_cast<int32_t>(t.x[2]), static_cast<int32_t>(t.y[2]));
    int64_t x[3] = {t.x[0], t.x[1], t.x[2]}, y[3] = {t.y[0], t.y[1], t.y[2]};
    modelTriangle(canvas, x, y, 0xFFE0);
    SCOPED_TRACE(canvas.picture(0xFFE0));
    EXPECT_MATCHES_MODEL(canvas);
  }
}

TEST(RasterFillTest, TriangleFollowsTheFillAlphaRule) {
  RasterCanvas canvas(8, 8, kBackground);
  canvas.g->setColour(0x07FFFFFF);
  canvas.g->fillTriangle(0, 0, 7, 0, 0, 7);
  EXPECT_MATCHES_MODEL(canvas);
  canvas.g->setColour(0x80FFFFFF);
  canvas.g->fillTriangle(0, 0, 4, 0, 0, 0);
  for (int x = 0; x <= 4; ++x) canvas.blendAt(x, 0, 0xFFFF, 16);
  EXPECT_MATCHES_MODEL(canvas);
}

TEST(RasterFillTest, FarOutTrianglesAndRectsFinishAndStayInside) {
  RasterCanvas canvas(8, 8, kBackground);
  canvas.g->setColour(0xFF0000FF);
  canvas.g->fillTriangle(INT_MIN, INT_MIN, INT_MAX, INT_MAX, INT_MIN, INT_MAX);
  canvas.g->fillTriangle(INT_MAX, INT_MIN, INT_MAX, INT_MAX, INT_MAX - 1, 0);
  canvas.g->fillRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  canvas.g->drawRect(INT_MIN, INT_MIN, -1, -1);
  // Nothing to compare for the first triangle's exact edge; every pixel
  // written must be the colour and the target must stay intact.
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_TRUE(canvas.at(x, y) == kBackground || canvas.at(x, y) == 0x001F);
}

TEST(RasterFillTest, VerticalGradientStepsEachComponent) {
  RasterCanvas canvas(3, 5, kBackground);
  canvas.g->setColour(0xFF123456);
  canvas.g->gradient(0, 0, 3, 4, 0x000000, 0xFF8040, false);
  for (int y = 0; y < 4; ++y) {
    float r = 0, g = 0, b = 0;
    for (int k = 0; k < y; ++k) {
      r += 255.0f * (1.0f / 4);
      g += 128.0f * (1.0f / 4);
      b += 64.0f * (1.0f / 4);
    }
    const uint32_t rgb = (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b);
    for (int x = 0; x < 3; ++x) canvas.set(x, y, rasterPack565(rgb));
  }
  EXPECT_MATCHES_MODEL(canvas);
  EXPECT_EQ(canvas.g->argb, 0xFF123456u);  // the colour is kept
}

TEST(RasterFillTest, HorizontalGradientIsOpaqueAndClipped) {
  RasterCanvas canvas(6, 3, kBackground);
  canvas.clip(1, 1, 4, 2);
  canvas.g->setColour(0x10000000);  // alpha does not matter
  canvas.g->gradient(-2, 0, 8, 3, 0xFFFFFF, 0x000000, true);
  for (int x = -2; x < 6; ++x) {
    float v = 255;
    for (int k = 0; k < x + 2; ++k) v += -255.0f * (1.0f / 8);
    const uint32_t c = static_cast<uint32_t>(v);
    for (int y = 0; y < 3; ++y) canvas.set(x, y, rasterPack565(c * 0x010101));
  }
  EXPECT_MATCHES_MODEL(canvas);
}

TEST(RasterFillTest, FarOutGradientsFinish) {
  RasterCanvas canvas(4, 4, kBackground);
  canvas.g->gradient(-5, -2000000000, INT_MAX, INT_MAX, 0xFF0000, 0x0000FF, false);
  canvas.g->gradient(INT_MIN, 0, INT_MAX, 4, 0xFF0000, 0x0000FF, true);
  canvas.g->gradient(0, 0, 4, 0, 0xFF0000, 0x0000FF, true);
  for (int y = 0; y < 4; ++y) {
    const uint32_t rgb = canvas.surface()->argbAt(0, y) & 0xFFFFFF;
    EXPECT_EQ(rgb & 0x00FF00, 0u);  // a red-to-blue mix, nothing spilled into green
  }
}

}  // namespace
