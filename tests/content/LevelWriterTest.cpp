#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "LevelWriter.h"
#include "TestBytes.h"

namespace content {
namespace {

// The canvas's level decoder, recording each hook call as a line; the
// game's fields are read with the widths `level` gives them.
class LevelReader {
 public:
  explicit LevelReader(Bytes bytes) : bytes_(std::move(bytes)) {}

  uint32_t read(int n) {
    uint32_t result = 0;
    for (int remaining = n; remaining > 0;) {
      if (bitsLeft_ == 0) {
        byte_ = pos_ < bytes_.size() ? bytes_[pos_++] : -1;
        bitsLeft_ = 8;
      }
      const int take = std::min(remaining, bitsLeft_);
      bitsLeft_ -= take;
      remaining -= take;
      result |= static_cast<uint32_t>((byte_ >> bitsLeft_) & ((1 << take) - 1)) << remaining;
    }
    return result;
  }

  std::vector<std::string> load(const Level& level) {
    const bool filler = (read(8) & 0x80) != 0;
    if (read(1) == 1) {
      note("header", {static_cast<int>(read(10))});
      readFields(level.header->fields);
      if (filler) read(6);
    }
    if (read(1) == 1) loadMap(filler);
    if (read(1) == 1) loadEntities(*level.entities, filler);
    return calls_;
  }

  size_t bytesRead() const { return pos_; }
  int64_t bitsRead() const { return static_cast<int64_t>(pos_) * 8 - bitsLeft_; }

 private:
  void note(const std::string& hook, std::vector<int> args) {
    std::string line = hook;
    for (int a : args) line += " " + std::to_string(a);
    calls_.push_back(line);
  }

  void readFields(const LevelFields& fields) {
    for (const LevelField& f : fields) note("field", {static_cast<int>(read(f.bits))});
  }

  void loadMap(bool filler) {
    const int p8 = static_cast<int>(read(8));
    const int columns = static_cast<int>(read(12));
    const int offset = static_cast<int>(read(17) << 15) >> 15;
    const int p10a = static_cast<int>(read(10));
    const int p10b = static_cast<int>(read(10));
    const int extra = read(1) == 1 ? static_cast<int>(read(10)) : -1;
    const int n = static_cast<int>(read(12));
    note("properties", {p8, columns, offset, p10a, p10b, extra, n});
    std::vector<int> palette(n + 1);
    const int k = static_cast<int>(read(4));
    for (int i = 1; i <= n; ++i) {
      const int v = static_cast<int>(read(k));
      palette[i] = static_cast<uint16_t>((v - 1) / columns << 12 | ((v - 1) % columns + 1));
    }
    for (int i = 1; i <= n; ++i) note("palette", {extra, palette[i]});
    if (filler) read(6);
    const int width = static_cast<int>(read(12));
    const int height = static_cast<int>(read(12));
    note("size", {width, height});
    int b = 0;
    for (int m = n; m != 0; m >>= 1) ++b;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) note("cell", {x, y, palette.at(read(b))});
    }
  }

  void loadEntities(const LevelEntities& c, bool filler) {
    const int u = static_cast<int>(read(16));
    const int x0 = static_cast<int>(read(10));
    const int y0 = static_cast<int>(read(10));
    const int groups = static_cast<int>(read(10));
    const int d = static_cast<int>(read(5));
    for (int g = 0; g < groups; ++g) {
      const int type = static_cast<int>(read(10));
      const int n = static_cast<int>(read(12));
      note("group", {type, n});
      std::vector<int> sums;
      for (int j = 0, s = 0; j < n; ++j) sums.push_back(s += static_cast<int>(read(d)));
      for (int j = 0; j < n; ++j) {
        note("entity", {type, x0 + sums[j] % u, y0 + sums[j] / u});
        readFields(c.groups.at(g).entities.at(j).fields);
      }
      if (filler) read(6);
    }
  }

  Bytes bytes_;
  size_t pos_ = 0;
  int bitsLeft_ = 0;
  int byte_ = 0;
  std::vector<std::string> calls_;
};

Level everyBlock(bool filler) {
  Level level;
  level.filler = filler;
  level.header = LevelHeader{5, {{4, 9}, {16, 0xABCD}}};
  LevelMap map;
  map.p8 = 200;
  map.columns = 4;
  map.offset = -1;
  map.p10a = 1023;
  map.palette = {1, 5, 0};
  map.width = 2;
  map.height = 2;
  map.cells = {0, 1, 2, 3};
  level.map = map;
  LevelEntities entities;
  entities.rowLength = 4;
  entities.x0 = 10;
  entities.y0 = 20;
  entities.groups = {{3, {{13, 20, {{1, 1}}}, {13, 20, {{1, 0}}}, {10, 22, {{1, 1}}}}}, {12, {}}};
  level.entities = entities;
  return level;
}

TEST(LevelWriter, EveryBlockReadsBackInHookOrder) {
  for (bool filler : {true, false}) {
    const Level level = everyBlock(filler);
    const Bytes bytes = writeLevel(level);
    EXPECT_EQ(bytes[0], filler ? 0x80 : 0x00);
    LevelReader reader(bytes);
    const std::vector<std::string> expected = {
        "header 5", "field 9", "field 43981",
        "properties 200 4 -1 1023 0 -1 3", "palette -1 1", "palette -1 4097", "palette -1 0",
        "size 2 2", "cell 0 0 0", "cell 1 0 1", "cell 0 1 4097", "cell 1 1 0",
        "group 3 3", "entity 3 13 20", "field 1", "entity 3 13 20", "field 0", "entity 3 10 22", "field 1",
        "group 12 0"};
    EXPECT_EQ(reader.load(level), expected) << filler;
    EXPECT_EQ(reader.bytesRead(), bytes.size()) << filler;
    // Filler: 6 bits after the header, after the palette and after each of the two groups.
    // 8 flags, A 31, B 116, C 52 + 34 + 22.
    EXPECT_EQ(reader.bitsRead(), filler ? 263 + 24 : 263);
  }
}

TEST(LevelWriter, HeaderOnlyLevelIsItsBits) {
  Level level;
  level.header = LevelHeader{1023, {}};
  // flags 00, A present, 1023, B absent, C absent: 0000 0000 1111 1111 1110 0...
  EXPECT_EQ(writeLevel(level), hexBytes("00 FF E0"));
  EXPECT_EQ(writeLevel(Level{}), hexBytes("00 00"));
}

TEST(LevelWriter, CellWidthIsTheBitLengthOfThePaletteSize) {
  struct Case {
    int n;
    int cellBits;
  } cases[] = {{0, 0}, {1, 1}, {5, 3}, {4095, 12}};
  for (const Case& c : cases) {
    Level level;
    LevelMap map;
    map.columns = 4095;
    map.palette.assign(c.n, 1);
    map.width = 3;
    map.height = 1;
    map.cells = {0, c.n, c.n / 2};
    level.map = map;
    const Bytes bytes = writeLevel(level);
    // flags, A absent, B present: 8+12+17+10+10+1+12, k 4, N one-bit values, width and
    // height, the cells, C absent.
    const int64_t bits = 8 + 1 + 1 + 70 + 4 + c.n + 24 + 3 * c.cellBits + 1;
    EXPECT_EQ(static_cast<int64_t>(bytes.size()), (bits + 7) / 8) << c.n;
    LevelReader reader(bytes);
    const std::vector<std::string> calls = reader.load(level);
    const std::string code = c.n ? "1" : "0";
    EXPECT_EQ(calls.back(), "cell 2 0 " + (c.n / 2 ? code : std::string("0"))) << c.n;
    EXPECT_EQ(calls[calls.size() - 2], "cell 1 0 " + code) << c.n;
  }
}

TEST(LevelWriter, SeventeenBitOffsetKeepsItsSign) {
  for (int offset : {-65536, -1, 0, 65535}) {
    Level level;
    LevelMap map;
    map.offset = offset;
    map.extra = 1023;
    level.map = map;
    LevelReader reader(writeLevel(level));
    EXPECT_EQ(reader.load(level).front(), "properties 0 0 " + std::to_string(offset) + " 0 0 1023 0");
  }
}

TEST(LevelWriter, RefusesValuesOutsideTheirFieldsNamingThem) {
  struct Case {
    const char* item;
    std::function<void(Level&)> breakIt;
  } cases[] = {
      {"header value", [](Level& l) { l.header->value = 1024; }},
      {"header, field 1", [](Level& l) { l.header->fields[1] = {16, 0x10000}; }},
      {"header, field 0, bits", [](Level& l) { l.header->fields[0] = {33, 0}; }},
      {"p8", [](Level& l) { l.map->p8 = 256; }},
      {"columns", [](Level& l) { l.map->columns = 4096; }},
      {"offset", [](Level& l) { l.map->offset = 65536; }},
      {"extra", [](Level& l) { l.map->extra = 1024; }},
      {"palette size", [](Level& l) { l.map->palette.assign(4096, 1); }},
      {"palette entry 2", [](Level& l) { l.map->palette[1] = 4 * 16 + 1; }},
      {"palette entry 3", [](Level& l) { l.map->columns = 1, l.map->palette[0] = 1, l.map->palette[1] = 1; }},
      {"palette entry 1", [](Level& l) { l.map->columns = 0; }},
      {"palette entry 1", [](Level& l) { l.map->palette[0] = 32768; }},
      {"width", [](Level& l) { l.map->width = 4096; }},
      {"cells", [](Level& l) { l.map->cells.pop_back(); }},
      {"cell 3 (x 1, y 1)", [](Level& l) { l.map->cells[3] = 4; }},
      {"entity group 0, entity 0", [](Level& l) { l.entities->rowLength = 0; }},
      {"entity group 0, entity 2, x", [](Level& l) { l.entities->groups[0].entities[2].x = 14; }},
      {"entity group 0, entity 0, y", [](Level& l) { l.entities->groups[0].entities[0].y = 19; }},
      {"entity group 0, entity 2", [](Level& l) { l.entities->groups[0].entities[2].y = 19 + 1, l.entities->groups[0].entities[2].x = 12; }},
      {"delta bits", [](Level& l) { l.entities->deltaBits = 2; }},
      {"entity group count", [](Level& l) { l.entities->groups.resize(1024); }},
      {"entity group 1, type", [](Level& l) { l.entities->groups[1].type = 1024; }},
      {"entity group 1, entity count", [](Level& l) { l.entities->groups[1].entities.assign(4096, LevelEntity{10, 20, {}}); }},
      {"entity group 0, entity 1, field 0", [](Level& l) { l.entities->groups[0].entities[1].fields[0].value = 2; }},
  };
  for (const Case& c : cases) {
    Level level = everyBlock(true);
    c.breakIt(level);
    expectRefusal([&] { writeLevel(level); }, c.item);
  }
}

TEST(LevelWriter, ForcedDeltaWidthIsKept) {
  Level level = everyBlock(false);
  level.entities->deltaBits = 31;
  LevelReader reader(writeLevel(level));
  EXPECT_EQ(reader.load(level)[15], "entity 3 13 20");
}

}  // namespace
}  // namespace content
