#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "ByteWriter.h"

namespace content {

// One sprite of a sprite set: the ten values the engine's sprite set-up
// takes, by name. A sprite is at least 1 x 1 unless declared empty (then
// 0 x 0, and it gets no image).
struct SpriteRecord {
  int16_t x = 0;           // image left relative to the drawing position
  int16_t y = 0;           // image top
  int16_t sheetX = 0;      // region in the sheet image
  int16_t sheetY = 0;
  int16_t width = 0;
  int16_t height = 0;
  int16_t boxX = 0;        // collision box, relative to (x, y)
  int16_t boxY = 0;
  bool circle = false;     // the box is a circle
  int16_t boxWidth = 0;    // 0..32767 (15 bits beside the circle flag)
  int16_t boxHeight = 0;
  bool empty = false;
  bool operator==(const SpriteRecord&) const = default;
};

// A sprite set resource's content.
struct SpriteSet {
  uint16_t sheet = 0;  // index (0..1023) of the sheet image in the set's own pack
  std::vector<SpriteRecord> sprites;  // at most 4095
  // Empty, or one 2-bit attribute (0..3) per sprite: an attribute block.
  std::vector<uint8_t> attributes;
  // The layout word to use instead of the narrowest one the values allow;
  // the values must fit it.
  std::optional<uint16_t> layout;
  bool operator==(const SpriteSet&) const = default;
};

// The ten values of a sprite in stored order: x, y, sheet x, sheet y,
// width, height, box x, box y, circle flag (bit 15) with box width, box
// height.
std::array<int16_t, 10> spriteValues(const SpriteRecord& sprite);

// The narrowest layout word for these sprites: a group whose values are
// all 0 is absent; a present value takes one byte when every sprite's
// value fits the one-byte form (signed for values 0, 1, 6, 7, unsigned
// for the others), else two.
uint16_t narrowestSpriteLayout(const std::vector<SpriteRecord>& sprites);

// The sprite set resource: sheet index, a dropped byte, the block length,
// the layout word, the header word (count, attribute flag), the value
// block column by column, and the attribute block when there are
// attributes.
Bytes writeSpriteSet(const SpriteSet& set);

}  // namespace content
