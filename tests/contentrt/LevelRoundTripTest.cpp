// Levels written by the level writer and read by the canvas's level
// reader into a canvas that rebuilds the level from its hooks, reading the
// game's fields where the game would: one table of levels with filler on
// and off, every block present or absent, the 17-bit offset at its sign,
// palettes of 0, 1 and 4095 entries (cells of 0, 1 and 12 bits), the
// widest grid and palette values, entity blocks from no group to 1023
// groups, 4095 entities at one place, the widest deltas, and fields of 0
// to 32 bits.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ContentFixtures.h"
#include "Differences.h"
#include "LevelRecorder.h"
#include "LevelWriter.h"
#include "RoundTrip.h"
#include "VMTestEnv.h"

using content::Level;
using content::LevelEntities;
using content::LevelEntity;
using content::LevelEntityGroup;
using content::LevelHeader;
using content::LevelMap;
using contentrt::LevelRecorder;

namespace {

LevelMap map(int columns, std::vector<int> palette, int width, int height, std::vector<int> cells) {
  LevelMap m;
  m.p8 = 3;
  m.columns = columns;
  m.offset = 100;
  m.p10a = 5;
  m.p10b = 6;
  m.palette = std::move(palette);
  m.width = width;
  m.height = height;
  m.cells = std::move(cells);
  return m;
}

Level withMap(LevelMap m, bool filler = true) {
  Level level;
  level.filler = filler;
  level.map = std::move(m);
  return level;
}

Level withEntities(LevelEntities e, bool filler = true) {
  Level level;
  level.filler = filler;
  level.entities = std::move(e);
  return level;
}

struct Case {
  std::string what;
  Level level;
};

std::vector<Case> mapCases() {
  std::vector<Case> out;
  {
    // N = 0: no codes, cells of no bits; the offset's sign bit alone.
    LevelMap m = map(7, {}, 3, 2, std::vector<int>(6, 0));
    m.offset = -65536;
    out.push_back({"N = 0, offset -65536", withMap(m)});
  }
  {
    LevelMap m = map(4, {5}, 7, 3, {});
    for (int i = 0; i < 21; ++i) m.cells.push_back(i % 3 == 0 ? 1 : 0);
    m.offset = -1;
    m.extra = 0;
    out.push_back({"N = 1, offset -1, extra 0", withMap(m, false)});
  }
  {
    // 4095 distinct values up to 15 bits; cells of 12 bits naming each.
    LevelMap m = map(4095, {}, 64, 64, {});
    for (int i = 0; i < 4095; ++i) m.palette.push_back(1 + i * 7919 % 32767);
    for (int i = 0; i < 64 * 64; ++i) m.cells.push_back(i % 4096);
    m.p8 = 255;
    m.offset = 65535;
    m.p10a = 1023;
    m.p10b = 0;
    m.extra = 1023;
    out.push_back({"N = 4095, every field at its largest", withMap(m)});
    m.offset = 0;
    out.push_back({"N = 4095, no filler, offset 0", withMap(m, false)});
  }
  {
    // Value 0 gives code 0 (as index 0 does); two entries of one code.
    LevelMap m = map(2, {0, 3, 3, 4}, 5, 1, {0, 1, 2, 3, 4});
    out.push_back({"palette value 0 and a repeated code", withMap(m)});
  }
  {
    LevelMap m = map(1, {1}, 4095, 2, {});
    for (int i = 0; i < 2 * 4095; ++i) m.cells.push_back(i % 5 == 0 ? 1 : 0);
    out.push_back({"a grid 4095 cells wide", withMap(m)});
  }
  return out;
}

LevelEntity entity(int x, int y, content::LevelFields fields = {}) { return {x, y, std::move(fields)}; }

std::vector<Case> entityCases() {
  std::vector<Case> out;
  out.push_back({"an entity block without groups", withEntities({4, 1, 2, {}, {}})});
  out.push_back({"a group without entities", withEntities({4, 1, 2, {}, {{9, {}}, {10, {entity(1, 2)}}}}, false)});
  // The deltas 3, 0, 5 with row length 4 from (10, 20).
  out.push_back({"deltas 3, 0 and 5", withEntities({4, 10, 20, {}, {{9, {entity(13, 20), entity(13, 20), entity(10, 22)}}}})});
  {
    LevelEntities e{1, 1023, 1023, {}, {{1023, {}}}};
    for (int i = 0; i < 4095; ++i) e.groups[0].entities.push_back(entity(1023, 1023, {{1, static_cast<uint32_t>(i % 2)}}));
    out.push_back({"4095 entities at one place: deltas of no bits", withEntities(e)});
  }
  {
    LevelEntities e{65535, 0, 0, 31, {{2, {entity(0, 0), entity(65534, 0), entity(65534, 32767), entity(0, 32768)}}}};
    out.push_back({"row length 65535 and deltas of 31 bits", withEntities(e, false)});
  }
  {
    LevelEntities e{8, 2, 3, {}, {}};
    for (int t = 0; t < 1023; ++t) e.groups.push_back({t, {entity(2 + t % 8, 3 + t, {{10, static_cast<uint32_t>(t)}})}});
    out.push_back({"1023 groups", withEntities(e)});
  }
  return out;
}

std::vector<Case> cases() {
  const Level fixture = content::fixtures::levelWithEveryBlock().level;
  Level withoutFiller = fixture;
  withoutFiller.filler = false;
  std::vector<Case> out = {
      {"the fixture: every block, filler on", fixture},
      {"every block, filler off", withoutFiller},
      {"no blocks, filler on", Level{true, {}, {}, {}}},
      {"no blocks, filler off", Level{}},
      {"a header with fields of 32, 0, 1 and 31 bits",
       Level{true, LevelHeader{1023, {{32, 0xFFFFFFFFu}, {0, 0}, {1, 1}, {31, 0x40000001u}}}, {}, {}}},
      {"a header without fields", Level{false, LevelHeader{0, {}}, {}, {}}},
  };
  for (const auto& more : {mapCases(), entityCases()}) out.insert(out.end(), more.begin(), more.end());
  return out;
}

TEST(LevelRoundTrip, TheHooksGiveBackTheLevelAsWritten) {
  VMTestEnv::start();
  VMPtr<LevelRecorder> recorder = LevelRecorder::make();
  for (const Case& c : cases()) {
    SCOPED_TRACE(c.what);
    contentrt::loadPack({{0, content::writeLevel(c.level)}});
    const Level read = recorder->read(0, c.level);
    const Level written = contentrt::withFirstIndices(c.level);
    EXPECT_TRUE(read == written) << contentrt::difference(read, written);
    EXPECT_FALSE(recorder->levelStream);
  }
  LevelRecorder::stop();
}

}  // namespace
