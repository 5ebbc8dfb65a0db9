#pragma once

// Animation sets and sprite sets written by hand in the tests, from plain
// descriptions, in the engine's resource formats.

#include <array>
#include <cstdint>
#include <vector>

#include "PackFixtures.h"

namespace drawable_fixtures {

using pack_fixtures::Bytes;

// Compact integers: U (255 escapes to u16) and S (-128 escapes to s16).
void putU(Bytes& out, int32_t v);
void putS(Bytes& out, int32_t v);

struct Step {
  int frame = 0;
  int dx = 0;
  int dy = 0;
  int duration = 0;  // index into the durations
  int priority = 0;
  int blend = 0;
};
struct Anim {
  int loop = -1;
  std::vector<Step> steps;
};
struct Part {
  int gob = 0;
  int x = 0;
  int y = 0;
  int flags = 0;
};
struct Box {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
  int type = 0;
  bool circle = false;
};
struct Frame {
  std::vector<Part> parts;
  std::vector<Box> boxes;
};
struct AnimSetSpec {
  std::vector<Anim> anims;
  std::vector<Frame> frames;
  std::vector<int> durations;
};

Bytes animSetBytes(const AnimSetSpec& spec);

using SpriteValues = std::array<int16_t, 10>;

// A sprite set: the widths follow `layout` (bits 0-2 absent groups, from
// bit 5 one bit per present value: set one byte, clear two).
Bytes spriteSetBytes(uint16_t imageIndex, uint16_t layout, const std::vector<SpriteValues>& sprites,
                     const Bytes* attributes = nullptr);

}  // namespace drawable_fixtures
