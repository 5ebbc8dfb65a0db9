#pragma once

// The game's level records written with the content writers: the fields
// that the level loader reads after the block A value and after each
// entity, by record type, and a small level to put them in.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "LevelWriter.h"

namespace gametest {

using content::Level;
using content::LevelEntity;
using content::LevelEntityGroup;
using content::LevelFields;

// Block A: pointBY, then pointAY.
content::LevelHeader levelHeader(int pointBY, int pointAY);

// Barrier types 0, 1, 4, 7, 14: the variant (2 bits for type 1, else 4),
// a 16-bit value, a flag and five 16-bit parameters.
LevelFields barrierRecord(int type, int variant, int value, bool flag, std::array<int, 5> params);
// Landscape types 2 (3-bit variant), 5 (6 bits), 8 (5 bits) and landscape
// B types 3, 6 (3 bits), then a flag.
LevelFields landscapeRecord(int type, int variant, bool flag);
// Type 9: a and b in cells, and the mode (0 platform, 1 solid, 2 deadly).
LevelFields scaledRecord(int a, int b, int mode);
// Type 11.
LevelFields valueRecord(int value);
// Type 13: the count and the first text id (dropped when the count is 0).
LevelFields textListRecord(int count, int firstId);
// Type 15: the selector (0 point A, 1 point B) and a dropped bit.
LevelFields pointRecord(int selector);
// Type 17: a 2-bit value and a flag.
LevelFields itemRecord(int value, bool flag);

// A level with the header (point B's y, point A's y), a `columns` x
// `rows` map of empty cells with the cell size, tile image id 5, and the
// groups over rows of `columns` cells.
Level smallLevel(int pointBY, int pointAY, int columns, int rows, int cellWidth, int cellHeight,
                 std::vector<LevelEntityGroup> groups);

// The levels as resources 0.. of pack 2 (level n is resource n + 2048)
// and, when given, a translation table of `texts` as resource 1023 (id
// kLevelTextsId), in a simple pack written into `rsc`.
constexpr int32_t kLevelTextsId = 2048 + 1023;
void writeLevelPack(const std::string& rsc, const std::vector<content::Bytes>& levels,
                    const std::vector<std::u16string>& texts = {});

}  // namespace gametest
