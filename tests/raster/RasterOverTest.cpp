// Drawing onto targets with an alpha plane: every operation goes over the
// target's colour and alpha (source-over).
//
// The strongest check compares three targets per operation: an opaque
// surface, an alpha-plane surface whose pixels are all opaque (it must
// end with the same colours, still opaque), and a clear one, which drawn
// afterwards over the opaque surface's background must give the same
// picture as drawing there directly. A table and a sweep of source and
// destination alphas check the compositing itself against real-number
// source-over.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "RasterContext.h"
#include "RasterImage.h"
#include "RasterPixels.h"
#include "RasterSurface.h"

namespace {

constexpr int32_t kW = 26;
constexpr int32_t kH = 18;

uint16_t background(int32_t x, int32_t y) { return static_cast<uint16_t>(x * 7919 + y * 104729 + 0x5A5A); }

// A surface with its context; colours from `colour`, alphas `alpha` (for
// an alpha-plane surface).
struct Target {
  RasterImage* image;
  RasterContext* g;

  Target(int32_t type, const std::function<uint16_t(int32_t, int32_t)>& colour, uint8_t alpha)
      : image(RasterImage::create(RasterSurface::create(kW, kH, type))), g(RasterContext::create(image)) {
    for (int32_t y = 0; y < kH; ++y) {
      for (int32_t x = 0; x < kW; ++x) {
        *surface()->pixelAddress(x, y) = colour(x, y);
        if (type == RasterSurface::kAlphaPlane) *surface()->alphaAddress(x, y) = alpha;
      }
    }
  }
  ~Target() {
    delete g;
    image->release();
  }
  Target(const Target&) = delete;
  Target& operator=(const Target&) = delete;

  RasterSurface* surface() const { return image->surface; }
  std::vector<uint16_t> colours() const {
    std::vector<uint16_t> out;
    for (int32_t y = 0; y < kH; ++y) {
      for (int32_t x = 0; x < kW; ++x) out.push_back(*surface()->pixelAddress(x, y));
    }
    return out;
  }
  std::vector<uint8_t> alphas() const {
    std::vector<uint8_t> out;
    for (int32_t y = 0; y < kH; ++y) {
      for (int32_t x = 0; x < kW; ++x) out.push_back(*surface()->alphaAddress(x, y));
    }
    return out;
  }
};

// A w x h source of distinct colours; masked sources have the key colour
// at every fifth pixel, alpha-plane sources cycle through `alphas`.
std::shared_ptr<RasterSurface> source(int32_t type, int32_t w, int32_t h) {
  static const uint8_t alphas[] = {0, 7, 8, 9, 15, 16, 100, 127, 200, 246, 247, 248, 254, 255};
  std::shared_ptr<RasterSurface> s(RasterSurface::create(w, h, type));
  for (int32_t i = 0; i < w * h; ++i) {
    const int32_t x = i % w, y = i / w;
    *s->pixelAddress(x, y) = static_cast<uint16_t>(0x0841 * (i + 3) ^ 0x3C0F);
    if (type == RasterSurface::kMasked && i % 5 == 2) *s->pixelAddress(x, y) = RasterSurface::kKeyColour;
    if (type == RasterSurface::kAlphaPlane) *s->alphaAddress(x, y) = alphas[i % std::size(alphas)];
  }
  return s;
}

struct Operation {
  std::string name;
  std::function<void(RasterContext*)> draw;
};

std::vector<Operation> operations() {
  std::vector<Operation> ops;
  auto colour = [](uint32_t argb, std::function<void(RasterContext*)> f) {
    return [argb, f](RasterContext* g) {
      g->setColour(argb);
      f(g);
    };
  };
  for (uint32_t alpha : {255u, 250u, 248u, 247u, 128u, 8u, 7u, 0u}) {
    const uint32_t argb = alpha << 24 | 0x33CC66;
    ops.push_back({"fill alpha " + std::to_string(alpha),
                   colour(argb, [](RasterContext* g) { g->fillRect(3, 2, 19, 13); })});
  }
  ops.push_back({"triangle alpha 100",
                 colour(0x6419E0A0, [](RasterContext* g) { g->fillTriangle(1, 1, 24, 6, 7, 17); })});
  ops.push_back({"partial ellipse fill alpha 60",
                 colour(0x3CF08010, [](RasterContext* g) { g->fillArc(1, 1, 22, 15, 30, 200); })});
  ops.push_back({"whole ellipse fill alpha 60",
                 colour(0x3CF08010, [](RasterContext* g) { g->fillArc(2, 1, 21, 16, 0, 360); })});
  ops.push_back({"rounded rectangle fill",
                 colour(0xFF4080C0, [](RasterContext* g) { g->fillRoundRect(1, 2, 23, 14, 8, 6); })});
  ops.push_back({"lines and outlines alpha 40", colour(0x28FFFFFF, [](RasterContext* g) {
                   g->drawLine(-3, 0, 30, 17);
                   g->drawLine(5, 16, 5, 1);
                   g->setStrokeStyle(1);
                   g->drawRect(2, 2, 20, 12);
                   g->drawArc(4, 3, 15, 11, 45, 250);
                   g->drawRoundRect(0, 0, 25, 17, 9, 9);
                 })});
  ops.push_back({"vertical gradient", [](RasterContext* g) { g->gradient(2, -3, 20, 19, 0x102030, 0xF0E0D0, false); }});
  ops.push_back({"horizontal gradient", [](RasterContext* g) { g->gradient(-4, 3, 28, 9, 0xFF0000, 0x00FF80, true); }});
  for (int32_t type : {RasterSurface::kOpaque, RasterSurface::kMasked, RasterSurface::kAlphaPlane}) {
    const std::shared_ptr<RasterSurface> src = source(type, 17, 11);
    for (uint32_t global : {255u, 250u, 247u, 128u, 20u, 7u}) {
      for (int32_t transform : {0, 3, 5}) {
        ops.push_back({"blit type " + std::to_string(type) + " alpha " + std::to_string(global) + " transform " +
                           std::to_string(transform),
                       [src, global, transform](RasterContext* g) {
                         g->setColour(global << 24);
                         g->blit(4, 3, 17, 11, src.get(), 0, 0, transform);
                       }});
      }
    }
  }
  // An alpha-type override: a plane source taken as masked.
  const std::shared_ptr<RasterSurface> planed = source(RasterSurface::kAlphaPlane, 9, 9);
  ops.push_back({"blit as masked", [planed](RasterContext* g) {
                   g->blit(-2, 5, 9, 9, planed.get(), 0, 0, RasterSurface::kMasked << 8 | 6);
                 }});
  ops.push_back({"drawRGB", [](RasterContext* g) {
                   std::vector<int32_t> argb(12 * 7);
                   for (size_t i = 0; i < argb.size(); ++i) {
                     argb[i] = static_cast<int32_t>((i * 37 % 256) << 24 | (i * 0x0A1B2C));
                   }
                   g->drawRGB(argb.data(), static_cast<int32_t>(argb.size()), 0, 12, 8, 6, 12, 7, true);
                 }});
  return ops;
}

TEST(RasterOverTest, OverOpaqueAndClearPixelsGivesWhatDrawingDirectlyGives) {
  const auto junk = [](int32_t x, int32_t y) { return static_cast<uint16_t>(background(x, y) ^ 0xFFFF); };
  for (const Operation& op : operations()) {
    SCOPED_TRACE(op.name);
    Target opaque(RasterSurface::kOpaque, background, 255);
    op.draw(opaque.g);

    // The same pixels with an alpha plane, all opaque: same colours, still
    // opaque.
    Target full(RasterSurface::kAlphaPlane, background, 255);
    op.draw(full.g);
    EXPECT_EQ(full.colours(), opaque.colours());
    EXPECT_EQ(full.alphas(), std::vector<uint8_t>(kW * kH, 255));

    // A clear layer drawn over the background afterwards.
    Target clear(RasterSurface::kAlphaPlane, junk, 0);
    op.draw(clear.g);
    Target composed(RasterSurface::kOpaque, background, 255);
    composed.g->blit(0, 0, kW, kH, clear.surface(), 0, 0, 0);
    EXPECT_EQ(composed.colours(), opaque.colours());
    // Where the layer stayed clear the background shows unchanged.
    const std::vector<uint8_t> alphas = clear.alphas();
    const std::vector<uint16_t> drawn = opaque.colours();
    for (int32_t i = 0; i < kW * kH; ++i) {
      if (alphas[i] < 8) {
        EXPECT_EQ(drawn[i], background(i % kW, i / kW)) << i % kW << "," << i / kW;
      }
    }
  }
}

// Per channel, the level of real-number source-over (colour c1 with alpha
// a1 over c0 with alpha a0) as a fraction of the channel's top.
double overChannel(uint16_t c1, uint16_t c0, double a1, double a0, int shift, int top) {
  const double s = ((c1 >> shift) & top) / double(top), d = ((c0 >> shift) & top) / double(top);
  const double out = a1 + a0 * (1 - a1);
  return (s * a1 + d * a0 * (1 - a1)) / out;
}

TEST(RasterOverTest, CompositesLikeSourceOver) {
  // Hand-worked cases: a fill of white, red or black at alpha `sa` over a
  // pixel of colour `d` and alpha `da`, read back as ARGB.
  struct Case {
    uint32_t fill;  // ARGB
    uint16_t d;
    uint8_t da;
    uint32_t expected;  // alpha << 24 | unpacked colour
  };
  const Case cases[] = {
      {0x80FFFFFF, 0x0000, 0, 0x80F8FCF8},    // over clear: the colour, its alpha
      {0x80FFFFFF, 0x0000, 255, 0xFF787C78},  // over opaque black: weight 16
      {0x80FFFFFF, 0x0000, 128, 0xC0A0A4A0},  // alpha 128 + 64; white's share 21/32
      {0xFFFF0000, 0x001F, 17, 0xFFF80000},   // opaque paint replaces
      {0xF8FF0000, 0x001F, 255, 0xFFF80000},  // from 248 a copy, over opaque
      {0xF8FF0000, 0x001F, 100, 0xFBF80000},  // ... and the alphas composite
      {0x08000000, 0xFFFF, 255, 0xFFF0F4F0},  // alpha 8: weight 1
      {0x08000000, 0xFFFF, 0, 0x08000000},
      {0x40000000, 0xFFFF, 64, 0x70686C68},   // 64 + 48; black's share 18/32
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << std::hex << c.fill << " over " << c.d << " alpha " << std::dec
                                      << int(c.da));
    std::unique_ptr<RasterSurface> s(RasterSurface::create(1, 1, RasterSurface::kAlphaPlane));
    *s->pixelAddress(0, 0) = c.d;
    *s->alphaAddress(0, 0) = c.da;
    RasterImage* image = RasterImage::create(s.release());
    RasterContext* g = RasterContext::create(image);
    g->setColour(c.fill);
    g->fillRect(0, 0, 1, 1);
    EXPECT_EQ(image->surface->argbAt(0, 0), c.expected) << std::hex << image->surface->argbAt(0, 0);
    delete g;
    image->release();
  }

  // A sweep: the alpha is exactly sa + da (255 - sa) / 255 rounded, each
  // channel near real source-over: the 5-bit weight is off by at most one
  // step for its truncation and one for the stored alpha's rounding (which
  // counts at the lowest alphas), the channel by one level.
  const uint16_t colours[] = {0x0000, 0xFFFF, 0xF800, 0x07E0, 0x001F, 0x8410, 0x39E7};
  for (uint32_t sa = 8; sa <= 255; ++sa) {
    for (uint32_t da = 0; da <= 255; da += (da < 16 || da > 240) ? 1 : 7) {
      for (uint16_t sc : colours) {
        for (uint16_t dc : colours) {
          uint16_t d = dc;
          uint8_t a = static_cast<uint8_t>(da);
          RasterPixels::over(d, a, sc, sa);
          const double a1 = sa / 255.0, a0 = da / 255.0;
          ASSERT_EQ(a, std::lround(255 * (a1 + a0 * (1 - a1)))) << sa << " over " << da;
          const struct {
            int shift, top;
          } channels[] = {{11, 31}, {5, 63}, {0, 31}};
          for (const auto& ch : channels) {
            const double want = overChannel(sc, dc, a1, a0, ch.shift, ch.top) * ch.top;
            const int distance = std::abs(((sc >> ch.shift) & ch.top) - ((dc >> ch.shift) & ch.top));
            ASSERT_NEAR((d >> ch.shift) & ch.top, want, distance / 16.0 + 1)
                << std::hex << sc << " at " << std::dec << sa << " over " << std::hex << dc << " at " << std::dec
                << da << ", channel " << ch.shift;
          }
        }
      }
    }
  }
}

// Solid drawing (a fill at full alpha, lines, gradients, an opaque blit)
// leaves every pixel it covers opaque and no other.
TEST(RasterOverTest, SolidDrawingMakesPixelsOpaque) {
  Target clear(RasterSurface::kAlphaPlane, background, 0);
  clear.g->setColour(0xFF000000);
  clear.g->fillRect(0, 0, 3, 1);
  clear.g->drawLine(0, 1, 4, 1);
  clear.g->gradient(0, 2, 5, 1, 0x000000, 0xFFFFFF, true);
  const std::shared_ptr<RasterSurface> src = source(RasterSurface::kOpaque, 5, 1);
  clear.g->blit(0, 3, 5, 1, src.get(), 0, 0, 0);
  const std::vector<uint8_t> alphas = clear.alphas();
  const std::vector<uint8_t> rows(alphas.begin(), alphas.begin() + 4 * kW);
  std::vector<uint8_t> want(4 * kW, 0);
  for (int32_t x = 0; x < 3; ++x) want[x] = 255;
  for (int32_t y = 1; y < 4; ++y) {
    for (int32_t x = 0; x < 5; ++x) want[y * kW + x] = 255;
  }
  EXPECT_EQ(rows, want);
}

}  // namespace
