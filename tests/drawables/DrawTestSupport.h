#pragma once

// What the drawing tests share: a small sheet of four colours, sprite sets
// cut from it in a pack, and pixels read back from mutable images as the
// RGB565 surfaces keep them.

#include <cstdint>
#include <vector>

#include "DrawableFixtures.h"
#include "PackFixtures.h"
#include "PngWriter.h"
#include "javax_microedition_lcdui_Graphics.h"
#include "javax_microedition_lcdui_Image.h"

namespace draw_test {

using pack_fixtures::Bytes;
using Image = javax::microedition::lcdui::Image;

constexpr uint32_t kRed = 0xFFF80000;
constexpr uint32_t kGreen = 0xFF00FC00;
constexpr uint32_t kBlue = 0xFF0000F8;
constexpr uint32_t kWhite = 0xFFF8FCF8;
constexpr uint32_t kBlack = 0xFF000000;

// 4 x 2: red green blue white / white blue green red.
inline Bytes sheetPng() {
  return content::writePng(
      content::IndexedImage{4, 2, {0, 1, 2, 3, 3, 2, 1, 0}, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF}});
}

// x, y, source x, source y, width, height, box x, box y, box width (bit
// 15 circle), box height.
inline drawable_fixtures::SpriteValues sprite(int x, int y, int sx, int sy, int w, int h, int bx = 0, int by = 0,
                                              int bw = 0, int bh = 0) {
  return {static_cast<int16_t>(x),  static_cast<int16_t>(y),  static_cast<int16_t>(sx), static_cast<int16_t>(sy),
          static_cast<int16_t>(w),  static_cast<int16_t>(h),  static_cast<int16_t>(bx), static_cast<int16_t>(by),
          static_cast<int16_t>(bw), static_cast<int16_t>(bh)};
}

// The pixels of the image, masked to what RGB565 keeps.
inline std::vector<uint32_t> pixels(const VMPtr<Image>& image) {
  const int32_t w = image->getWidth(), h = image->getHeight();
  VMPtr<VMArray<int32_t>> rgb = VMArray<int32_t>::create(w * h);
  image->getRGB(rgb, 0, w, 0, 0, w, h);
  std::vector<uint32_t> out;
  for (int32_t i = 0; i < rgb->length; ++i) out.push_back(static_cast<uint32_t>(rgb->at(i)) & 0xFFF8FCF8u);
  return out;
}

inline uint32_t pixelAt(const std::vector<uint32_t>& p, int width, int x, int y) {
  return p[static_cast<size_t>(y * width + x)];
}

// A mutable w x h image filled black.
inline VMPtr<Image> blackImage(int w, int h) {
  VMPtr<Image> image = Image::createImage(w, h);
  VMPtr<javax::microedition::lcdui::Graphics> g = image->getGraphics();
  g->setColor(0);
  g->fillRect(0, 0, w, h);
  return image;
}

}  // namespace draw_test
