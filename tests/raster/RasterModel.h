#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "RasterContext.h"
#include "RasterImage.h"
#include "RasterPixels.h"
#include "RasterSurface.h"

// A small target surface with its drawing context, and a plain per-pixel
// model of what the target should hold: tests draw into both and compare
// pixel for pixel.
struct RasterCanvas {
  RasterImage* image;
  RasterContext* g;
  int32_t w, h;
  std::vector<uint16_t> model;  // expected pixels, row-major
  // The model's clip, inclusive bounds.
  int32_t clipX0 = 0, clipY0 = 0, clipX1, clipY1;

  RasterCanvas(int32_t width, int32_t height, uint16_t background = 0x1234)
      : image(RasterImage::create(RasterSurface::createOpaque(width, height))),
        g(RasterContext::create(image)),
        w(width),
        h(height),
        model(static_cast<size_t>(width) * height, background),
        clipX1(width - 1),
        clipY1(height - 1) {
    for (int32_t y = 0; y < h; ++y) {
      for (int32_t x = 0; x < w; ++x) *surface()->pixelAddress(x, y) = background;
    }
  }
  // Gives target and model the same varied pixels, so blends show every
  // channel.
  void pattern() {
    for (int32_t y = 0; y < h; ++y) {
      for (int32_t x = 0; x < w; ++x) {
        const uint16_t p = static_cast<uint16_t>(x * 7919 + y * 104729 + 0x5A5A);
        *surface()->pixelAddress(x, y) = p;
        expected(x, y) = p;
      }
    }
  }
  ~RasterCanvas() {
    delete g;
    image->release();
  }

  RasterSurface* surface() const { return image->surface; }
  uint16_t at(int32_t x, int32_t y) const { return *surface()->pixelAddress(x, y); }

  // Clips both the context and the model.
  void clip(int32_t x, int32_t y, int32_t cw, int32_t ch) {
    g->setClip(x, y, cw, ch);
    clipX0 = std::max(x, 0);
    clipY0 = std::max(y, 0);
    clipX1 = std::min(x + cw, w) - 1;
    clipY1 = std::min(y + ch, h) - 1;
  }
  bool inClip(int64_t x, int64_t y) const {
    return x >= clipX0 && x <= clipX1 && y >= clipY0 && y <= clipY1;
  }
  uint16_t& expected(int32_t x, int32_t y) { return model[static_cast<size_t>(y) * w + x]; }
  void set(int64_t x, int64_t y, uint16_t c) {
    if (inClip(x, y)) expected(static_cast<int32_t>(x), static_cast<int32_t>(y)) = c;
  }
  // Per-channel weighted average: d + floor((s - d) * w / 32) per channel.
  static uint16_t mix(uint16_t d, uint16_t s, int32_t weight) {
    auto ch = [&](int shift, int mask) {
      const int dc = (d >> shift) & mask, sc = (s >> shift) & mask;
      const int diff = (sc - dc) * weight;
      return (dc + (diff >= 0 ? diff / 32 : -((-diff + 31) / 32))) << shift;
    };
    return static_cast<uint16_t>(ch(11, 31) | ch(5, 63) | ch(0, 31));
  }
  void blendAt(int64_t x, int64_t y, uint16_t c, int32_t weight) {
    if (inClip(x, y)) {
      uint16_t& p = expected(static_cast<int32_t>(x), static_cast<int32_t>(y));
      p = mix(p, c, weight);
    }
  }

  // Pixels that differ, as text (empty when the target matches the model).
  std::string differences() const {
    std::string out;
    for (int32_t y = 0; y < h; ++y) {
      for (int32_t x = 0; x < w; ++x) {
        const uint16_t want = model[static_cast<size_t>(y) * w + x];
        if (at(x, y) != want && out.size() < 2000) {
          char line[80];
          std::snprintf(line, sizeof line, "(%d,%d) got %04x want %04x\n", x, y, at(x, y), want);
          out += line;
        }
      }
    }
    return out;
  }
  // The target as rows of '#' (colour c) and '.' (anything else).
  std::string picture(uint16_t c) const {
    std::string out;
    for (int32_t y = 0; y < h; ++y) {
      for (int32_t x = 0; x < w; ++x) out += at(x, y) == c ? '#' : '.';
      out += '\n';
    }
    return out;
  }
};

#define EXPECT_MATCHES_MODEL(canvas) EXPECT_EQ((canvas).differences(), "")
