#include "PlayFixtures.h"

#include <vector>

#include "ContentFixtures.h"

namespace gametest::play {

namespace {

using namespace content;

constexpr int kHalf = kSize / 2;

Bytes sheet() {
  IndexedImage image{kSize, kSize, std::vector<uint8_t>(kSize * kSize, 0), {0xFF3366CC}};
  return writePng(image);
}

Bytes sprites() {
  SpriteSet set;
  const int16_t s = kSize;
  set.sprites = {{-kHalf, -kSize, 0, 0, s, s, 0, 0, false, 0, 0, false}};
  return writeSpriteSet(set);
}

Animation still() { return {-1, {{0}}}; }
Animation moving(int dx, int dy) { return {-1, {{0, dx, dy, 0}}}; }
// Plays its steps once, then holds the last one.
Animation once(int steps) { return {1, std::vector<AnimationStep>(static_cast<size_t>(steps), AnimationStep{0})}; }
Animation jump() { return {1, {{0, 0, 0, 0}, {0, 0, -8, 0}, {0, 0, -16, 0}}}; }

// Frame 0 with the box of the type (none below 0), frame 1 without one.
Bytes animations(std::vector<Animation> anims, int boxType) {
  AnimationSet set;
  set.durations = {kStepMs};
  AnimationFrame frame{{{0, 0, 0, 0}}, {}};
  if (boxType >= 0) frame.boxes = {{-kHalf, -kSize, kSize, kSize, false, boxType}};
  set.frames = {frame, {{{0, 0, 0, 0}}, {}}};
  set.animations = std::move(anims);
  return writeAnimationSet(set);
}

Bytes mainSet() {
  return animations({still(), still(), still(), still(), jump(), jump(), moving(0, kFallStep), moving(0, kFallStep),
                     once(2), once(2), moving(0, kFallStep), once(1)},
                    0);
}

std::vector<Animation> barrierAnimations() {
  return {still(), once(2), once(2), moving(0, kFallStep), moving(0, kFallStep), still(), once(2),
          moving(-kWalkStep, 0), moving(kWalkStep, 0), still(), moving(0, kFallStep), moving(0, -kFallStep)};
}

Bytes barrierSetOf(int boxType) { return animations(barrierAnimations(), boxType); }

Bytes pickupSet() {
  std::vector<Animation> anims = barrierAnimations();
  anims[3] = {-1, {{1}}};
  return animations(anims, 4);
}

}  // namespace

Bytes mainSetBytes() { return mainSet(); }

Bytes barrierSetBytes(int boxType) { return barrierSetOf(boxType); }

Bytes pickupSetBytes() { return pickupSet(); }

void writePlayPack(const std::filesystem::path& rsc) {
  std::vector<PackResource> resources = {{0, sheet()}, {0, sprites()}, {0, sprites()}, {0, mainSet()}};
  for (int t = 0; t < 8; ++t) resources.push_back({0, barrierSetOf(t)});
  resources.push_back({0, barrierSetOf(-1)});
  resources.push_back({0, pickupSet()});
  writePackFiles(rsc, writeChunkedPack(kPack, resources, ChunkedPackLayout::split(1)));
}

}  // namespace gametest::play
