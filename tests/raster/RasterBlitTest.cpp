#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "RasterModel.h"

namespace {

constexpr uint16_t kBackground = 0x1234;

// A source surface whose pixel (x, y) is distinct: 0x0800 * y + 0x21 * x + 1,
// never the key colour. `alphas`, when given, fills the alpha plane.
std::unique_ptr<RasterSurface> makeSource(int32_t w, int32_t h, int32_t type,
                                          const std::vector<uint8_t>& alphas = {}) {
  std::unique_ptr<RasterSurface> s(RasterSurface::create(w, h, type));
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      *s->pixelAddress(x, y) = static_cast<uint16_t>(0x0800 * y + 0x21 * x + 1);
      if (type == RasterSurface::kAlphaPlane) {
        *s->alphaAddress(x, y) = alphas.empty() ? 255 : alphas[(y * w + x) % alphas.size()];
      }
    }
  }
  return s;
}

// Where source pixel (x, y) of a w x h region lands under a MIDP transform,
// from the transforms' definitions as rotations and mirrors.
void transformPoint(int32_t t, int32_t w, int32_t h, int32_t x, int32_t y, int32_t& dx,
                    int32_t& dy) {
  switch (t) {
    case 0: dx = x; dy = y; break;                   // NONE
    case 1: dx = x; dy = h - 1 - y; break;           // MIRROR_ROT180
    case 2: dx = w - 1 - x; dy = y; break;           // MIRROR
    case 3: dx = w - 1 - x; dy = h - 1 - y; break;   // ROT180
    case 4: dx = y; dy = x; break;                   // MIRROR_ROT270
    case 5: dx = h - 1 - y; dy = x; break;           // ROT90
    case 6: dx = y; dy = w - 1 - x; break;           // ROT270
    default: dx = h - 1 - y; dy = w - 1 - x; break;  // MIRROR_ROT90
  }
}

// The alpha rule of a blit for one source pixel: what it does to the
// destination pixel under the global alpha.
void modelPixel(RasterCanvas& c, int64_t x, int64_t y, uint16_t p, int32_t type, uint8_t a,
                int32_t global) {
  if (global < 8) return;
  if (type == RasterSurface::kMasked && p == RasterSurface::kKeyColour) return;
  if (type == RasterSurface::kAlphaPlane) {
    int32_t eff = a, weight = (a + 1) >> 3;
    if (global < 248) {
      eff = ((a + 1) * (global + 1)) >> 8;
      weight = eff >> 3;
    }
    if (eff < 8) return;
    if (eff >= 248) return c.set(x, y, p);
    return c.blendAt(x, y, p, weight);
  }
  if (global >= 248) return c.set(x, y, p);
  c.blendAt(x, y, p, (global + 1) >> 3);
}

void modelBlit(RasterCanvas& c, int32_t dstX, int32_t dstY, int32_t w, int32_t h,
               const RasterSurface* src, int32_t srcX, int32_t srcY, int32_t t, int32_t type,
               int32_t global) {
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      int32_t dx, dy;
      transformPoint(t, w, h, x, y, dx, dy);
      const uint8_t a =
          src->alphaType == RasterSurface::kAlphaPlane ? *src->alphaAddress(srcX + x, srcY + y) : 255;
      modelPixel(c, int64_t{dstX} + dx, int64_t{dstY} + dy, *src->pixelAddress(srcX + x, srcY + y),
                 type, a, global);
    }
  }
}

TEST(RasterBlitTest, EveryTransformOfATwoByThreeSource) {
  auto src = makeSource(2, 3, RasterSurface::kOpaque);
  for (int32_t t = 0; t < 8; ++t) {
    SCOPED_TRACE(::testing::Message() << "transform " << t);
    RasterCanvas canvas(6, 6, kBackground);
    canvas.g->blit(1, 2, 2, 3, src.get(), 0, 0, t);
    modelBlit(canvas, 1, 2, 2, 3, src.get(), 0, 0, t, 1, 255);
    EXPECT_MATCHES_MODEL(canvas);
  }
}

TEST(RasterBlitTest, RotationsOfATwoPixelRow) {
  std::unique_ptr<RasterSurface> src(RasterSurface::createOpaque(2, 1));
  src->pixels[0] = 0xAAAA;  // A
  src->pixels[1] = 0xBBBB;  // B
  RasterCanvas canvas(1, 2, kBackground);
  canvas.g->blit(0, 0, 2, 1, src.get(), 0, 0, 5);
  EXPECT_EQ(canvas.at(0, 0), 0xAAAA);
  EXPECT_EQ(canvas.at(0, 1), 0xBBBB);
  canvas.g->blit(0, 0, 2, 1, src.get(), 0, 0, 6);
  EXPECT_EQ(canvas.at(0, 0), 0xBBBB);
  EXPECT_EQ(canvas.at(0, 1), 0xAAAA);
}

// Each transform against clips cutting each side, with a source region in
// the middle of a larger surface, so a cut taken from the wrong end of a
// mirrored axis shows.
TEST(RasterBlitTest, ClippingOnEverySideForEveryTransform) {
  auto src = makeSource(7, 6, RasterSurface::kOpaque);
  const RasterRect clips[] = {{0, 0, 12, 12}, {4, 0, 8, 12}, {0, 4, 12, 8}, {0, 0, 5, 12},
                              {0, 0, 12, 5},  {4, 4, 2, 3},  {5, 3, 1, 1}, {0, 0, 0, 0}};
  for (int32_t t = 0; t < 8; ++t) {
    for (const RasterRect& clip : clips) {
      SCOPED_TRACE(::testing::Message() << "transform " << t << " clip " << clip.x << ","
                                        << clip.y << " " << clip.width << "x" << clip.height);
      RasterCanvas canvas(12, 12, kBackground);
      canvas.clip(clip.x, clip.y, clip.width, clip.height);
      canvas.g->blit(2, 3, 4, 3, src.get(), 1, 2, t);
      modelBlit(canvas, 2, 3, 4, 3, src.get(), 1, 2, t, 1, 255);
      EXPECT_MATCHES_MODEL(canvas);
    }
  }
}

TEST(RasterBlitTest, PartlyOffTheTargetAndFarOut) {
  auto src = makeSource(5, 4, RasterSurface::kOpaque);
  for (int32_t t = 0; t < 8; ++t) {
    const int32_t spots[][2] = {{-2, -1}, {4, 5}, {-3, 6}, {INT_MIN, 0}, {INT_MAX, INT_MAX},
                                {INT_MAX - 2, 0}, {0, INT_MIN + 1}};
    for (const auto& spot : spots) {
      RasterCanvas canvas(6, 7, kBackground);
      canvas.g->blit(spot[0], spot[1], 5, 4, src.get(), 0, 0, t);
      modelBlit(canvas, spot[0], spot[1], 5, 4, src.get(), 0, 0, t, 1, 255);
      EXPECT_MATCHES_MODEL(canvas) << "transform " << t << " at " << spot[0] << "," << spot[1];
    }
  }
}

TEST(RasterBlitTest, CopiesOfEveryRowLength) {
  auto src = makeSource(40, 3, RasterSurface::kOpaque);
  for (int32_t n = 1; n <= 34; ++n) {
    RasterCanvas canvas(40, 5, kBackground);
    canvas.g->blit(n % 5, 1, n, 3, src.get(), 3, 0, 0);
    modelBlit(canvas, n % 5, 1, n, 3, src.get(), 3, 0, 0, 1, 255);
    EXPECT_MATCHES_MODEL(canvas) << n;
  }
}

TEST(RasterBlitTest, WholeRowsOfEqualWidthSurfaces) {
  auto src = makeSource(10, 4, RasterSurface::kOpaque);
  for (int32_t y : {-2, 0, 3, 8}) {
    RasterCanvas canvas(10, 10, kBackground);
    canvas.g->blit(0, y, 10, 4, src.get(), 0, 0, 0);
    modelBlit(canvas, 0, y, 10, 4, src.get(), 0, 0, 0, 1, 255);
    EXPECT_MATCHES_MODEL(canvas) << y;
  }
}

TEST(RasterBlitTest, SourceRegionOutsideTheSourceDrawsNothing) {
  auto src = makeSource(4, 4, RasterSurface::kOpaque);
  const int32_t regions[][4] = {{-1, 0, 2, 2}, {0, -1, 2, 2}, {3, 0, 2, 1}, {0, 3, 1, 2},
                                {INT_MAX, 0, INT_MAX, 1}, {0, 0, 0, 3}, {0, 0, 3, -1}};
  for (const auto& r : regions) {
    RasterCanvas canvas(6, 6, kBackground);
    canvas.g->blit(0, 0, r[2], r[3], src.get(), r[0], r[1], 0);
    EXPECT_MATCHES_MODEL(canvas);
  }
  RasterCanvas canvas(6, 6, kBackground);
  canvas.g->blit(0, 0, 1, 1, nullptr, 0, 0, 0);
  EXPECT_MATCHES_MODEL(canvas);
}

// Every alpha type under global alphas at each threshold, transformed and
// not (the row kernels differ).
TEST(RasterBlitTest, AlphaTypesUnderGlobalAlpha) {
  const std::vector<uint8_t> alphas = {0, 7, 8, 9, 100, 127, 128, 200, 246, 247, 248, 255};
  for (int32_t type : {1, 2, 3}) {
    // 21 pixels a row: vector blocks and a tail.
    auto src = makeSource(21, 3, type, alphas);
    if (type == RasterSurface::kMasked) {
      for (int i : {1, 6, 11, 12, 30, 62}) src->pixels[i] = RasterSurface::kKeyColour;
    }
    for (int32_t global : {0, 7, 8, 9, 128, 200, 247, 248, 255}) {
      for (int32_t t : {0, 3, 5}) {
        SCOPED_TRACE(::testing::Message() << "type " << type << " alpha " << global << " t " << t);
        RasterCanvas canvas(24, 24, 0xA5A5);
        canvas.pattern();
        canvas.g->setColour(static_cast<uint32_t>(global) << 24);
        canvas.g->blit(1, 1, 21, 3, src.get(), 0, 0, t);
        modelBlit(canvas, 1, 1, 21, 3, src.get(), 0, 0, t, type, global);
        EXPECT_MATCHES_MODEL(canvas);
      }
    }
  }
}

TEST(RasterBlitTest, TransparentPixelsNeverArrive) {
  auto keyed = makeSource(2, 1, RasterSurface::kMasked);
  keyed->pixels[0] = RasterSurface::kKeyColour;
  auto planed = makeSource(2, 1, RasterSurface::kAlphaPlane, {7, 255});
  RasterCanvas canvas(2, 2, kBackground);
  canvas.g->blit(0, 0, 2, 1, keyed.get(), 0, 0, 0);
  canvas.g->blit(0, 1, 2, 1, planed.get(), 0, 0, 0);
  EXPECT_EQ(canvas.at(0, 0), kBackground);
  EXPECT_EQ(canvas.at(0, 1), kBackground);
  EXPECT_EQ(canvas.at(1, 0), keyed->pixels[1]);
  EXPECT_EQ(canvas.at(1, 1), planed->pixels[1]);
}

TEST(RasterBlitTest, AlphaTypeOverride) {
  auto planed = makeSource(3, 2, RasterSurface::kAlphaPlane, {0, 100, 255});
  auto opaque = makeSource(3, 2, RasterSurface::kOpaque);
  opaque->pixels[2] = RasterSurface::kKeyColour;
  struct Case { const RasterSurface* src; int32_t flags; int32_t type; };
  const Case cases[] = {
      {planed.get(), 0x100, 1},  // the plane is ignored
      {planed.get(), 0x200, 2},  // the key colour decides
      {opaque.get(), 0x200, 2},
      {opaque.get(), 0x300, 1},  // no plane to read: the source's own type
      {opaque.get(), 0x700, 1},  // not an alpha type: the source's own type
      {planed.get(), 0x305, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << std::hex << c.flags);
    RasterCanvas canvas(4, 4, kBackground);
    canvas.g->blit(0, 0, 3, 2, c.src, 0, 0, c.flags);
    modelBlit(canvas, 0, 0, 3, 2, c.src, 0, 0, c.flags & 7, c.type, 255);
    EXPECT_MATCHES_MODEL(canvas);
  }
}

// copyArea gives what a copy of the source region, taken first, would
// give, in every direction of overlap.
TEST(RasterBlitTest, CopyAreaWithOverlap) {
  const int32_t moves[][2] = {{0, 0}, {1, 0}, {-1, 0}, {0, 1}, {0, -1}, {2, 3}, {-3, -2}, {5, 5}};
  for (const auto& m : moves) {
    SCOPED_TRACE(::testing::Message() << m[0] << "," << m[1]);
    RasterCanvas canvas(10, 10, kBackground);
    auto pattern = makeSource(10, 10, RasterSurface::kOpaque);
    canvas.g->blit(0, 0, 10, 10, pattern.get(), 0, 0, 0);
    canvas.model.assign(pattern->pixels, pattern->pixels + 100);
    canvas.g->copyArea(2, 2, 6, 5, 2 + m[0], 2 + m[1]);
    modelBlit(canvas, 2 + m[0], 2 + m[1], 6, 5, pattern.get(), 2, 2, 0, 1, 255);
    EXPECT_MATCHES_MODEL(canvas);
  }
}

TEST(RasterBlitTest, DrawImageUsesTheImageAlphaType) {
  auto src = makeSource(3, 3, RasterSurface::kMasked);
  src->pixels[4] = RasterSurface::kKeyColour;
  RasterImage* image = RasterImage::create(src.release());
  RasterCanvas canvas(5, 5, kBackground);
  canvas.g->drawImage(image, 1, 1);
  modelBlit(canvas, 1, 1, 3, 3, image->surface, 0, 0, 0, 2, 255);
  EXPECT_MATCHES_MODEL(canvas);
  image->release();
}

TEST(RasterBlitTest, DrawRGBConvertsAndBlits) {
  // Row-major 3 x 2 pixels inside a larger array with a gap per row.
  const int32_t argb[] = {0,
                          int32_t(0xFFFF0000), int32_t(0x00FFFFFF), int32_t(0x800000FF), 0,
                          int32_t(0xFF00FF00), int32_t(0xFF0000FF), int32_t(0x08FFFFFF), 0};
  for (bool process : {false, true}) {
    for (int32_t scan : {4, -4}) {
      SCOPED_TRACE(::testing::Message() << process << " " << scan);
      RasterCanvas canvas(5, 4, kBackground);
      const int32_t offset = scan > 0 ? 1 : 5;
      canvas.g->drawRGB(argb, 9, offset, scan, 1, 1, 3, 2, process);
      for (int32_t y = 0; y < 2; ++y) {
        for (int32_t x = 0; x < 3; ++x) {
          const uint32_t c = static_cast<uint32_t>(argb[offset + y * scan + x]);
          const uint32_t a = c >> 24;
          if (!process || a >= 248) {
            canvas.set(1 + x, 1 + y, rasterPack565(c));
          } else if (a >= 8) {
            canvas.blendAt(1 + x, 1 + y, rasterPack565(c), (a + 1) >> 3);
          }
        }
      }
      EXPECT_MATCHES_MODEL(canvas);
    }
  }
}

TEST(RasterBlitTest, DrawRGBOutsideTheArrayDrawsNothing) {
  const int32_t argb[6] = {-1, -1, -1, -1, -1, -1};
  const int32_t calls[][5] = {// offset, scanlength, w, h, length
                              {0, 3, 3, 3, 6}, {-1, 3, 3, 2, 6}, {4, 3, 3, 1, 6},
                              {3, -3, 3, 3, 6}, {0, INT_MAX, 1, 3, 6}, {INT_MAX, 1, 2, 1, 6}};
  for (const auto& c : calls) {
    RasterCanvas canvas(4, 4, kBackground);
    canvas.g->drawRGB(argb, c[4], c[0], c[1], 0, 0, c[2], c[3], false);
    EXPECT_MATCHES_MODEL(canvas);
  }
}

}  // namespace
