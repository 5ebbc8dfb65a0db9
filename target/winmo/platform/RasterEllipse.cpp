#include "RasterEllipse.h"

#include <algorithm>

#include "RasterPainter.h"

namespace {

constexpr int64_t kSteep = 0x7FFFFFFF;  // the slope of a vertical direction

// round(tan(i degrees) * 1000) for i = 0..89; 90 is kSteep.
constexpr int32_t kTangents[91] = {
    0,     17,    35,    52,    70,    87,    105,   123,   141,   158,   176,   194,   213,
    231,   249,   268,   287,   306,   325,   344,   364,   384,   404,   424,   445,   466,
    488,   510,   532,   554,   577,   601,   625,   649,   675,   700,   727,   754,   781,
    810,   839,   869,   900,   933,   966,   1000,  1036,  1072,  1111,  1150,  1192,  1235,
    1280,  1327,  1376,  1428,  1483,  1540,  1600,  1664,  1732,  1804,  1881,  1963,  2050,
    2145,  2246,  2356,  2475,  2605,  2747,  2904,  3078,  3271,  3487,  3732,  4011,  4331,
    4705,  5145,  5671,  6314,  7115,  8144,  9514,  11430, 14301, 19081, 28636, 57290, kSteep};

// The ellipse's setup record: half axes, centre and parity of the box
// (x, y, W, H); it covers columns x..x+W and rows y..y+H.
struct Setup {
  int64_t a, b, a2, b2, cx, cy, oddW, oddH;
  Setup(int64_t x, int64_t y, int64_t W, int64_t H)
      : a(W >> 1), b(H >> 1), a2(a * a), b2(b * b), cx(x + a + (W & 1)), cy(y + b),
        oddW(W & 1), oddH(H & 1) {}
};

// Midpoint stepping of one quadrant from (0, b) to (x, 0). visit(x, y,
// rowDone) is told when the step leaves its row (always in region 2).
template <typename Visit>
void stepQuadrant(const Setup& s, Visit&& visit) {
  int64_t x = 0;
  int64_t y = s.b;
  int64_t dx = 4 * s.b2;
  int64_t dy = 4 * s.a2 * (s.b - 1);
  int64_t d = 2 * s.b2 - (dy >> 1) - (s.a2 >> 1) - s.a2;
  while (dy >= d && y >= 0) {
    visit(x, y, d > 0);
    if (d > 0) {
      d -= dy;
      dy -= 4 * s.a2;
      y -= 1;
    }
    d += dx + 2 * s.b2;
    dx += 4 * s.b2;
    x += 1;
  }
  int64_t d2 = d + ((s.b2 - (s.b2 >> 1) - dx - dy - s.a2 + (s.a2 >> 1)) >> 1);
  for (; y >= 0; --y) {
    visit(x, y, true);
    if (d2 < 1) {
      d2 += dx;
      dx += 4 * s.b2;
      x += 1;
    }
    d2 += 2 * s.a2 - dy;
    dy -= 4 * s.a2;
  }
}

int64_t pointSlope(int64_t x, int64_t y) { return x == 0 ? kSteep : (y * 1000) / x; }

int32_t normalised(int64_t angle) { return static_cast<int32_t>(((angle % 360) + 360) % 360); }

// Which quadrants of a partial arc are drawn, and where.
class ArcLimits {
 public:
  enum Class { kNone, kWhole, kPartial };

  ArcLimits(int32_t start, int32_t end, int64_t w, int64_t h)
      : qs_(start / 90), qe_(end / 90), ss_(limitSlope(start, w, h)), se_(limitSlope(end, w, h)) {
    for (int q = 0; q < 4; ++q) classes_[q] = classify(q);
  }

  Class of(int q) const { return classes_[q]; }

  // Whether a point with slope `slope` in quadrant q is on the arc.
  bool accepts(int q, int64_t slope) const {
    switch (classes_[q]) {
      case kNone: return false;
      case kWhole: return true;
      default: break;
    }
    const bool first = q == qs_, last = q == qe_;
    if ((q & 1) == 0) {  // the angle grows with the slope
      if (first && last) return ss_ < se_ ? ss_ <= slope && slope <= se_ : slope <= se_ || slope >= ss_;
      return first ? slope >= ss_ : slope <= se_;
    }
    if (first && last) return ss_ > se_ ? se_ <= slope && slope <= ss_ : slope >= se_ || slope <= ss_;
    return first ? slope <= ss_ : slope >= se_;
  }

 private:
  static int64_t limitSlope(int32_t angle, int64_t w, int64_t h) {
    int32_t i = angle > 180 ? angle - 180 : angle;
    if (i > 90) i = 180 - i;
    const int64_t t = kTangents[i];
    if (t == kSteep || w < 1) return kSteep;
    return std::min<int64_t>(t * h / w, kSteep - 1);
  }

  static bool limits(int64_t slope) { return slope >= 1 && slope < kSteep; }

  Class classify(int q) const {
    if ((q == qs_ && limits(ss_)) || (q == qe_ && limits(se_))) return kPartial;
    const bool whole = (q == qs_ && qs_ != qe_) || (qs_ < q && q < qe_) ||
                       (qs_ > qe_ && (q > qs_ || q < qe_)) ||
                       (qs_ == qe_ && (qs_ & 1) == 0 && ss_ > se_ && q != qs_) ||
                       (qs_ == qe_ && (qs_ & 1) == 1 && ss_ < se_ && q != qs_);
    return whole ? kWhole : kNone;
  }

  int qs_, qe_;
  int64_t ss_, se_;
  Class classes_[4];
};

// The angles of an arc: false when nothing is drawn; `whole` when the
// normalised start and end coincide.
bool arcAngles(int32_t start, int32_t arcAngle, int32_t& s, int32_t& e, bool& whole) {
  if (arcAngle <= 0) return false;
  const int64_t end = arcAngle > 360 ? 0 : int64_t{start} + arcAngle;
  s = arcAngle > 360 ? 0 : normalised(start);
  e = normalised(end);
  whole = s == e;
  return true;
}

// The outline points of quadrant q for the step (x, y).
void quadrantPoint(const Setup& s, int q, int64_t x, int64_t y, int64_t& px, int64_t& py) {
  px = (q == 0 || q == 3) ? s.cx + x : s.cx - x - s.oddW;
  py = q < 2 ? s.cy - y : s.cy + y + s.oddH;
}

// A box less than 2 pixels wide or tall: the row of w pixels, or else the
// column of h pixels (at least one).
void thinArc(RasterPainter& p, uint16_t c, bool dotted, int64_t x, int64_t y, int64_t w,
             int64_t h) {
  if (w >= 2) return p.line(x, y, x + w - 1, y, c, dotted);
  p.line(x, y, x, y + std::max<int64_t>(h - 1, 0), c, dotted);
}

struct RowSpec {
  int64_t stepX, stepY;  // the step whose row this is
  int64_t py;            // the row
  bool upper, lower;     // which halves of the ellipse the row belongs to
};

// One row of a partial fill: the pixels of the whole fill's span whose
// direction from the centre lies on the arc in a quadrant they belong to,
// filled run by run.
void partialFillRow(RasterPainter& p, const Setup& setup, const ArcLimits& limits,
                    const RowSpec& r, uint16_t c, int32_t alpha) {
  if (!p.inside(p.left(), r.py)) return;
  int64_t runStart = 0;
  bool inRun = false;
  const int64_t first = std::max(setup.cx - r.stepX - setup.oddW, p.left());
  const int64_t last = std::min(setup.cx + r.stepX, p.right());
  for (int64_t px = first; px <= last + 1; ++px) {
    bool on = false;
    if (px <= last) {
      const bool right = px >= setup.cx, left = px <= setup.cx - setup.oddW;
      const int64_t slopeRight = pointSlope(px - setup.cx, r.stepY);
      const int64_t slopeLeft = pointSlope(setup.cx - setup.oddW - px, r.stepY);
      on = (r.upper && right && limits.accepts(0, slopeRight)) ||
           (r.upper && left && limits.accepts(1, slopeLeft)) ||
           (r.lower && left && limits.accepts(2, slopeLeft)) ||
           (r.lower && right && limits.accepts(3, slopeRight));
    }
    if (on && !inRun) runStart = px;
    if (!on && inRun) p.fillSpan(runStart, px - 1, r.py, c, alpha);
    inRun = on;
  }
}

}  // namespace

void RasterEllipse::draw(RasterPainter& p, uint16_t c, bool dotted, int64_t x, int64_t y,
                         int64_t w, int64_t h, int32_t start, int32_t arcAngle) {
  int32_t s, e;
  bool whole;
  if (!arcAngles(start, arcAngle, s, e, whole)) return;
  if (w < 2 || h < 2) return thinArc(p, c, dotted, x, y, w, h);
  if (w > kMaxSide || h > kMaxSide) return;
  const Setup setup(x, y, w, h);
  const ArcLimits limits(s, e, w, h);
  int64_t base[4] = {0, 0, 0, 0};
  if (!whole && dotted) {
    int64_t n = 0;
    stepQuadrant(setup, [&](int64_t, int64_t, bool) { ++n; });
    for (int q = 1; q < 4; ++q) base[q] = q * n;
  }
  int64_t k = 0;
  stepQuadrant(setup, [&](int64_t sx, int64_t sy, bool) {
    const int64_t slope = pointSlope(sx, sy);
    for (int q = 0; q < 4; ++q) {
      if (dotted && !RasterPainter::dottedOn(base[q] + k)) continue;
      if (!whole && !limits.accepts(q, slope)) continue;
      int64_t px, py;
      quadrantPoint(setup, q, sx, sy, px, py);
      p.plot(px, py, c);
    }
    ++k;
  });
}

void RasterEllipse::fill(RasterPainter& p, uint16_t c, int32_t alpha, int64_t x, int64_t y,
                         int64_t w, int64_t h, int32_t start, int32_t arcAngle) {
  int32_t s, e;
  bool whole;
  if (!arcAngles(start, arcAngle, s, e, whole)) return;
  if (w < 2 || h < 2) return thinArc(p, c, false, x, y, w, h);
  const int64_t W = w - 1, H = h - 1;
  if (W == 1 && H == 1) return p.plot(x, y, c);
  if (W == 1 || H == 1) return p.fillRect(x, y, w, h, c, alpha);
  if (w > kMaxSide || h > kMaxSide) return;
  const Setup setup(x, y, W, H);
  if (whole) {
    stepQuadrant(setup, [&](int64_t sx, int64_t sy, bool rowDone) {
      if (!rowDone) return;
      p.span(setup.cx - sx - setup.oddW, setup.cx + sx, setup.cy - sy, c);
      p.span(setup.cx - sx - setup.oddW, setup.cx + sx, setup.cy + sy + setup.oddH, c);
    });
    return;
  }
  // The centre row of an even-height ellipse is one row of both halves, so
  // it is taken once with both halves' quadrants.
  const ArcLimits limits(s, e, w, h);
  auto row = [&](int64_t sx, int64_t py, bool upper, bool lower, int64_t sy) {
    partialFillRow(p, setup, limits, RowSpec{sx, sy, py, upper, lower}, c, alpha);
  };
  stepQuadrant(setup, [&](int64_t sx, int64_t sy, bool rowDone) {
    if (!rowDone) return;
    if (sy == 0 && setup.oddH == 0) return row(sx, setup.cy, true, true, 0);
    row(sx, setup.cy - sy, true, false, sy);
    row(sx, setup.cy + sy + setup.oddH, false, true, sy);
  });
}
