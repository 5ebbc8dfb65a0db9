#include "ScreenFixtures.h"

#include <vector>

#include "ContentFixtures.h"

namespace gametest::screen {

namespace {

using namespace content;

// 24 x 8: red, green and blue squares side by side.
Bytes sheet() {
  IndexedImage image{24, 8, std::vector<uint8_t>(24 * 8), {0xFFFF0000, 0xFF00FF00, 0xFF0000FF}};
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 24; ++x) image.indices[static_cast<size_t>(y * 24 + x)] = static_cast<uint8_t>(x / 8);
  }
  return writePng(image);
}

SpriteRecord square(int16_t colour, int16_t x, int16_t y, int16_t bx, int16_t by, int16_t bw, int16_t bh) {
  const int16_t s = kSpriteSize;
  return {x, y, static_cast<int16_t>(colour * s), 0, s, s, bx, by, false, bw, bh, false};
}

Bytes images() {
  SpriteSet set;
  set.sprites = {square(0, 3, 4, 1, 2, 5, 6), square(1, 0, 0, 0, 0, 8, 8), square(2, 0, 0, 0, 0, 0, 0)};
  return writeSpriteSet(set);
}

Bytes boxless() {
  SpriteSet set;
  set.sprites = {square(2, 0, 0, 0, 0, 0, 0)};
  return writeSpriteSet(set);
}

Bytes anims() {
  AnimationSet set;
  set.durations = {kStepMs};
  set.frames = {
      {{{0, 0, 0, 0}}, {{-10, -20, 20, 40, false, 0}}},
      {{{1, 0, 0, 0}}, {{1, 2, 3, 4, false, 2}}},
      {{{2, 0, 0, 0}}, {{0, 0, 5, 5, false, 3}, {10, 10, 6, 6, false, 0}, {20, 20, 7, 7, false, 2}}},
  };
  set.animations = {{1, {{0}}}, {1, {{1}}}, {-1, {{2}, {0}}}, {1, {{2}}}};
  return writeAnimationSet(set);
}

}  // namespace

void writeScreenPack(const std::filesystem::path& rsc) {
  const std::vector<PackResource> resources = {{0, sheet()}, {0, images()}, {0, boxless()}, {0, anims()}};
  writePackFiles(rsc, writeChunkedPack(kPack, resources, ChunkedPackLayout::split(1)));
}

}  // namespace gametest::screen
