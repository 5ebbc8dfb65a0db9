#include "LevelRecords.h"

#include "PackFiles.h"
#include "SimplePackWriter.h"
#include "TextTableWriter.h"

namespace gametest {

namespace {

uint32_t u(int v) { return static_cast<uint32_t>(v); }

int landscapeVariantBits(int type) {
  switch (type) {
    case 5:
      return 6;
    case 8:
      return 5;
    default:
      return 3;
  }
}

}  // namespace

content::LevelHeader levelHeader(int pointBY, int pointAY) { return {0, {{16, u(pointBY)}, {16, u(pointAY)}}}; }

LevelFields barrierRecord(int type, int variant, int value, bool flag, std::array<int, 5> params) {
  LevelFields f = {{type == 1 ? 2 : 4, u(variant)}, {16, u(value)}, {1, flag ? 1u : 0u}};
  for (int p : params) f.push_back({16, u(p)});
  return f;
}

LevelFields landscapeRecord(int type, int variant, bool flag) {
  return {{landscapeVariantBits(type), u(variant)}, {1, flag ? 1u : 0u}};
}

LevelFields scaledRecord(int a, int b, int mode) { return {{16, u(a)}, {16, u(b)}, {16, u(mode)}}; }

LevelFields valueRecord(int value) { return {{16, u(value)}}; }

LevelFields textListRecord(int count, int firstId) { return {{16, u(count)}, {16, u(firstId)}}; }

LevelFields pointRecord(int selector) { return {{1, u(selector)}, {1, 1}}; }

LevelFields itemRecord(int value, bool flag) { return {{2, u(value)}, {1, flag ? 1u : 0u}}; }

Level smallLevel(int pointBY, int pointAY, int columns, int rows, int cellWidth, int cellHeight,
                 std::vector<LevelEntityGroup> groups) {
  Level level;
  level.header = levelHeader(pointBY, pointAY);
  content::LevelMap map;
  map.columns = 1;
  map.offset = 5;
  map.p10a = cellWidth;
  map.p10b = cellHeight;
  map.width = columns;
  map.height = rows;
  map.cells.assign(static_cast<size_t>(columns) * rows, 0);
  level.map = map;
  content::LevelEntities entities;
  entities.rowLength = columns;
  entities.groups = std::move(groups);
  level.entities = entities;
  return level;
}

void writeLevelPack(const std::string& rsc, const std::vector<content::Bytes>& levels,
                    const std::vector<std::u16string>& texts) {
  std::vector<content::PackResource> resources;
  for (const content::Bytes& level : levels) resources.push_back({0, level});
  if (!texts.empty()) {
    resources.resize(1024);
    resources[1023] = {0, content::writeTranslationTable(texts)};
  }
  content::writePackFiles(rsc, content::simplePackFiles(2, resources));
}

}  // namespace gametest
