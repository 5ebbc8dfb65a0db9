#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "BitWriter.h"

namespace content {

// One game-defined field of a level: `value` in `bits` bits (0..32),
// unsigned, most significant bit first. The game's content gives the
// fields of its header and entity records as lists of these.
struct LevelField {
  int bits = 0;
  uint32_t value = 0;
  bool operator==(const LevelField&) const = default;
};
using LevelFields = std::vector<LevelField>;

// Block A: a 10-bit value, then the game's header fields.
struct LevelHeader {
  int value = 0;
  LevelFields fields;
  bool operator==(const LevelHeader&) const = default;
};

// Block B: the level properties, the tile palette and the grid of cells.
struct LevelMap {
  int p8 = 0;       // 8 bits
  int columns = 0;  // 12 bits: tiles per row of the tile sheet
  int offset = 0;   // signed 17 bits: -65536..65535
  int p10a = 0;     // 10 bits
  int p10b = 0;     // 10 bits
  std::optional<int> extra;  // 10 bits; absent reads as -1
  // Stored palette values v (at most 4095 of them, each 0..32767): the
  // canvas turns v into the tile code (row << 12) | (column + 1) with row
  // and column the quotient and remainder of (v - 1) by `columns`.
  std::vector<int> palette;
  int width = 0;   // 12 bits
  int height = 0;  // 12 bits
  std::vector<int> cells;  // width x height palette indices 0..N, rows outer
  bool operator==(const LevelMap&) const = default;
};

// An entity at a grid position, followed in the stream by its fields
// (after the whole delta list of its group).
struct LevelEntity {
  int x = 0;
  int y = 0;
  LevelFields fields;
  bool operator==(const LevelEntity&) const = default;
};

struct LevelEntityGroup {
  int type = 0;                       // 10 bits
  std::vector<LevelEntity> entities;  // at most 4095, in stored order
  bool operator==(const LevelEntityGroup&) const = default;
};

// Block C: entity positions are coded as running sums s of deltas, the
// position being (x0 + s % rowLength, y0 + s / rowLength); so within a
// group the entities come in row-major order of position, x0 <= x <
// x0 + rowLength and y >= y0.
struct LevelEntities {
  int rowLength = 0;  // 16 bits
  int x0 = 0;         // 10 bits
  int y0 = 0;         // 10 bits
  // The delta width (0..31); the narrowest width for the deltas when absent.
  std::optional<int> deltaBits;
  std::vector<LevelEntityGroup> groups;  // at most 1023
  bool operator==(const LevelEntities&) const = default;
};

struct Level {
  bool filler = false;  // 6 zero bits after block A, the palette and each entity group
  std::optional<LevelHeader> header;
  std::optional<LevelMap> map;
  std::optional<LevelEntities> entities;
  bool operator==(const Level&) const = default;
};

// The tile code the canvas makes of stored palette value v.
int levelPaletteCode(int v, int columns);

// The level bit stream: a flags byte (0x80 with filler), then blocks A, B
// and C, each behind a presence bit. The palette values take the width of
// the largest of them and the cells bitLength(N) bits each. Refuses a
// value outside its field, naming it ("entity group 2, entity 5, x").
Bytes writeLevel(const Level& level);

}  // namespace content
