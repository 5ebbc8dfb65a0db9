#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "RasterModel.h"

namespace {

constexpr uint16_t kBackground = 0x1234;
constexpr uint16_t kInk = 0xFFFF;
constexpr int64_t kSteep = 0x7FFFFFFF;

struct Step { int64_t x, y; bool rowDone; };

// The midpoint steps of one quadrant of the ellipse in box (x, y, W, H).
struct ModelEllipse {
  int64_t a, b, cx, cy, oddW, oddH;
  std::vector<Step> steps;

  ModelEllipse(int64_t x, int64_t y, int64_t W, int64_t H)
      : a(W / 2), b(H / 2), cx(x + W / 2 + W % 2), cy(y + H / 2), oddW(W % 2), oddH(H % 2) {
    const int64_t a2 = a * a, b2 = b * b;
    int64_t px = 0, py = b, dx = 4 * b2, dy = 4 * a2 * (b - 1);
    int64_t d = 2 * b2 - dy / 2 - a2 / 2 - a2;
    while (dy >= d) {
      steps.push_back({px, py, d > 0});
      if (d > 0) d -= dy, dy -= 4 * a2, --py;
      d += dx + 2 * b2, dx += 4 * b2, ++px;
    }
    int64_t d2 = d + ((b2 - b2 / 2 - dx - dy - a2 + a2 / 2) >> 1);
    for (; py >= 0; --py) {
      steps.push_back({px, py, true});
      if (d2 < 1) d2 += dx, dx += 4 * b2, ++px;
      d2 += 2 * a2 - dy, dy -= 4 * a2;
    }
  }
  // Point of quadrant q (counter-clockwise from the upper right) for a step.
  void point(int q, const Step& s, int64_t& px, int64_t& py) const {
    px = (q == 0 || q == 3) ? cx + s.x : cx - s.x - oddW;
    py = q < 2 ? cy - s.y : cy + s.y + oddH;
  }
};

// Directions as ordered keys: quadrant first, then the slope turned so the
// key grows counter-clockwise. A limit angle becomes the key of its
// tangent slope scaled to the box.
struct ModelArc {
  int64_t keyS, keyE;
  int qs, qe;
  int64_t se;
  bool whole;

  static int64_t key(int q, int64_t slope) {
    return q * (int64_t{1} << 32) + ((q % 2 == 0) ? slope : kSteep - slope);
  }
  static int64_t limit(int32_t angle, int32_t w, int32_t h) {
    int32_t i = angle > 180 ? angle - 180 : angle;
    if (i > 90) i = 180 - i;
    if (i == 90 || w < 1) return kSteep;
    return static_cast<int64_t>(std::llround(std::tan(i * M_PI / 180) * 1000)) * h / w;
  }
  ModelArc(int32_t start, int32_t arc, int32_t w, int32_t h) {
    int64_t s = start, e = int64_t{start} + arc;
    if (arc > 360) s = e = 0;
    s = ((s % 360) + 360) % 360;
    e = ((e % 360) + 360) % 360;
    whole = s == e;
    qs = static_cast<int>(s / 90);
    qe = static_cast<int>(e / 90);
    se = limit(static_cast<int32_t>(e), w, h);
    keyS = key(qs, limit(static_cast<int32_t>(s), w, h));
    keyE = key(qe, se);
  }
  bool on(int q, int64_t slope) const {
    if (whole) return true;
    // An arc ending exactly on an axis stops short of the next quadrant.
    if (q == qe && q != qs && (se < 1 || se >= kSteep)) return false;
    const int64_t k = key(q, slope);
    return keyS <= keyE ? (keyS <= k && k <= keyE) : (k >= keyS || k <= keyE);
  }
};

int64_t slopeOf(int64_t x, int64_t y) { return x == 0 ? kSteep : y * 1000 / x; }

void modelDrawArc(RasterCanvas& c, int32_t x, int32_t y, int32_t w, int32_t h, int32_t start,
                  int32_t arc, bool dotted) {
  if (arc <= 0) return;
  const ModelEllipse e(x, y, w, h);
  const ModelArc limits(start, arc, w, h);
  const int64_t n = static_cast<int64_t>(e.steps.size());
  for (int q = 0; q < 4; ++q) {
    for (int64_t k = 0; k < n; ++k) {
      const Step& s = e.steps[static_cast<size_t>(k)];
      const int64_t phase = (limits.whole ? 0 : q * n) + k;
      if (dotted && (phase & 7) >= 4) continue;
      if (!limits.on(q, slopeOf(s.x, s.y))) continue;
      int64_t px, py;
      e.point(q, s, px, py);
      c.set(px, py, kInk);
    }
  }
}

// The fill: each row of the whole fill once, every pixel kept when its
// direction from the centre is on the arc in any quadrant it belongs to.
void modelFillArc(RasterCanvas& c, int32_t x, int32_t y, int32_t w, int32_t h, int32_t start,
                  int32_t arc, int32_t alpha) {
  if (arc <= 0) return;
  const ModelEllipse e(x, y, w - 1, h - 1);
  const ModelArc limits(start, arc, w, h);
  std::vector<bool> done(static_cast<size_t>(c.w) * c.h, false);
  for (const Step& s : e.steps) {
    if (!s.rowDone) continue;
    for (int64_t py : {e.cy - s.y, e.cy + s.y + e.oddH}) {
      for (int64_t px = e.cx - s.x - e.oddW; px <= e.cx + s.x; ++px) {
        if (!c.inClip(px, py) || done[static_cast<size_t>(py * c.w + px)]) continue;
        done[static_cast<size_t>(py * c.w + px)] = true;
        const bool upper = py <= e.cy, lower = py >= e.cy + e.oddH;
        const bool right = px >= e.cx, left = px <= e.cx - e.oddW;
        const int64_t dy = upper ? e.cy - py : py - e.cy - e.oddH;
        const int64_t sr = slopeOf(px - e.cx, dy), sl = slopeOf(e.cx - e.oddW - px, dy);
        const bool on = (upper && right && limits.on(0, sr)) || (upper && left && limits.on(1, sl)) ||
                        (lower && left && limits.on(2, sl)) || (lower && right && limits.on(3, sr));
        if (!on) continue;
        if (limits.whole || alpha >= 248) {
          c.set(px, py, kInk);
        } else if (alpha >= 8) {
          c.blendAt(px, py, kInk, (alpha + 1) >> 3);
        }
      }
    }
  }
}

struct ArcCase { int32_t x, y, w, h; };
const ArcCase kBoxes[] = {{1, 1, 16, 16}, {2, 1, 17, 11}, {0, 2, 20, 7}, {3, 0, 7, 19},
                          {-4, -3, 15, 13}, {1, 1, 2, 2}, {1, 1, 3, 4}};
const int32_t kAngles[][2] = {
    {0, 360},  {45, 360},  {0, 400},   {-30, 720}, {0, 90},    {90, 90},   {180, 90},
    {270, 90}, {0, 180},   {90, 180},  {30, 60},   {60, 300},  {300, 120}, {-45, 90},
    {10, 350}, {135, 100}, {200, 20},  {250, 40},  {80, 20},   {350, 15},  {45, 1},
    {0, 45},   {45, 315},  {91, 178},  {269, 2},   {-720, 90}, {INT_MIN, 90}, {INT_MAX, 100}};

TEST(RasterArcTest, OutlinesMatchTheModel) {
  for (bool dotted : {false, true}) {
    for (const ArcCase& b : kBoxes) {
      for (const auto& a : kAngles) {
        SCOPED_TRACE(::testing::Message() << b.x << "," << b.y << " " << b.w << "x" << b.h
                                          << " from " << a[0] << " by " << a[1]
                                          << (dotted ? " dotted" : ""));
        RasterCanvas canvas(24, 24, kBackground);
        canvas.clip(0, 1, 23, 21);
        canvas.g->setColour(0x40FFFFFF);  // outlines never blend
        canvas.g->setStrokeStyle(dotted ? 1 : 0);
        canvas.g->drawArc(b.x, b.y, b.w, b.h, a[0], a[1]);
        modelDrawArc(canvas, b.x, b.y, b.w, b.h, a[0], a[1], dotted);
        EXPECT_MATCHES_MODEL(canvas) << canvas.picture(kInk);
      }
    }
  }
}

TEST(RasterArcTest, FillsMatchTheModel) {
  for (int32_t alpha : {255, 128, 4}) {
    for (const ArcCase& b : kBoxes) {
      if (b.w < 4 || b.h < 4) continue;  // the small cases are tested below
      for (const auto& a : kAngles) {
        SCOPED_TRACE(::testing::Message() << b.x << "," << b.y << " " << b.w << "x" << b.h
                                          << " from " << a[0] << " by " << a[1] << " alpha "
                                          << alpha);
        RasterCanvas canvas(24, 24, kBackground);
        canvas.clip(0, 1, 23, 21);
        canvas.g->setColour(static_cast<uint32_t>(alpha) << 24 | 0xFFFFFF);
        canvas.g->fillArc(b.x, b.y, b.w, b.h, a[0], a[1]);
        modelFillArc(canvas, b.x, b.y, b.w, b.h, a[0], a[1], alpha);
        EXPECT_MATCHES_MODEL(canvas) << canvas.picture(kInk);
      }
    }
  }
}

TEST(RasterArcTest, WholeCircleOutline) {
  RasterCanvas canvas(9, 9, kBackground);
  canvas.g->setColour(0xFFFFFFFF);
  canvas.g->drawArc(0, 0, 8, 8, 0, 360);
  EXPECT_EQ(canvas.picture(kInk),
            "...###...\n"
            ".##...##.\n"
            ".#.....#.\n"
            "#.......#\n"
            "#.......#\n"
            "#.......#\n"
            ".#.....#.\n"
            ".##...##.\n"
            "...###...\n");
}

TEST(RasterArcTest, NothingOrALineForDegenerateArcs) {
  struct Case { int32_t w, h, start, arc; const char* picture; };
  const Case cases[] = {
      {4, 3, 0, 0, "....\n....\n....\n....\n"},     // arcAngle 0
      {4, 3, 0, -90, "....\n....\n....\n....\n"},   // negative arcAngle
      {1, 4, 0, 90, "#...\n#...\n#...\n#...\n"},    // a vertical line of h pixels
      {3, 1, 0, 90, "###.\n....\n....\n....\n"},    // a span of w pixels
      {1, -5, 0, 90, "#...\n....\n....\n....\n"},   // at least the corner pixel
  };
  for (bool fill : {false, true}) {
    for (const Case& c : cases) {
      RasterCanvas canvas(4, 4, kBackground);
      canvas.g->setColour(0xFFFFFFFF);
      if (fill) {
        canvas.g->fillArc(0, 0, c.w, c.h, c.start, c.arc);
      } else {
        canvas.g->drawArc(0, 0, c.w, c.h, c.start, c.arc);
      }
      EXPECT_EQ(canvas.picture(kInk), c.picture) << c.w << "x" << c.h << " fill " << fill;
    }
  }
  RasterCanvas tall(2, 12, kBackground);
  tall.g->setColour(0xFFFFFFFF);
  tall.g->drawArc(0, 0, 1, 10, 0, 90);
  for (int y = 0; y < 12; ++y) EXPECT_EQ(tall.at(0, y) == kInk, y < 10) << y;
}

TEST(RasterArcTest, SmallFillsBecomeAPixelOrARectangle) {
  RasterCanvas pixel(4, 4, kBackground);
  pixel.g->setColour(0xFFFFFFFF);
  pixel.g->fillArc(1, 1, 2, 2, 0, 360);
  EXPECT_EQ(pixel.picture(kInk), "....\n.#..\n....\n....\n");
  RasterCanvas bar(6, 4, kBackground);
  bar.g->setColour(0x80FFFFFF);  // the rectangle follows the fill alpha rule
  bar.g->fillArc(1, 1, 5, 2, 0, 90);
  for (int x = 1; x < 6; ++x)
    for (int y = 1; y < 3; ++y) bar.blendAt(x, y, kInk, 16);
  EXPECT_MATCHES_MODEL(bar);
}

TEST(RasterArcTest, HugeAndFarOutArcsFinish) {
  RasterCanvas canvas(8, 8, kBackground);
  canvas.g->setColour(0xFFFFFFFF);
  canvas.g->drawArc(INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0, 360);
  canvas.g->fillArc(INT_MIN, INT_MIN, INT_MAX, INT_MAX, 10, 100);
  canvas.g->fillArc(-500000, -500000, 1000000, 1000000, 0, 360);  // stepped, covers the target
  canvas.g->fillArc(-400000, -400000, 800000, 800000, 200, 30);
  canvas.g->drawArc(INT_MAX - 5, 3, 100, 100, 0, 360);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(canvas.at(x, y), kInk);
}

}  // namespace
