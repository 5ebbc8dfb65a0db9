#include "LevelRecorder.h"

#include <gtest/gtest.h>

#include "JavaTask.h"

VM_REGISTER_CLASS(contentrt::LevelRecorder, "contentrt.LevelRecorder", "tq.TqCanvas", 0);

namespace contentrt {

namespace {

// The first palette index whose code is `code` (0 for code 0), or -1.
int firstIndexOf(const std::vector<int>& codes, int code) {
  for (size_t i = 0; i < codes.size(); ++i) {
    if (codes[i] == code) return static_cast<int>(i);
  }
  return -1;
}

// Index 0 (code 0), then the code of each palette value.
std::vector<int> paletteCodes(const content::LevelMap& map) {
  std::vector<int> codes = {0};
  for (int v : map.palette) codes.push_back(content::levelPaletteCode(v, map.columns));
  return codes;
}

}  // namespace

VMPtr<LevelRecorder> LevelRecorder::make() {
  VMPtr<LevelRecorder> c = _VM_new();
  c->_VM_init(VMPtr<MIDlet>());
  return c;
}

void LevelRecorder::stop() {
  runState = 4;
  VMPtr<java::lang::Thread> thread = canvasThread;
  instance = nullptr;
  canvasThread = nullptr;
  if (thread) java_test::joinThread(thread);
}

content::Level LevelRecorder::read(int32_t resourceId, const content::Level& layout) {
  layout_ = &layout;
  level_ = content::Level{};
  level_.filler = layout.filler;
  codes_ = {0};
  loadLevel(resourceId);
  // An entity block without groups calls no hook.
  if (!level_.entities && layout.entities && layout.entities->groups.empty()) level_.entities = layout.entities;
  layout_ = nullptr;
  return level_;
}

content::LevelFields LevelRecorder::readFields(const content::LevelFields& widths) {
  content::LevelFields out;
  for (const content::LevelField& f : widths) out.push_back({f.bits, static_cast<uint32_t>(levelReadBits(f.bits))});
  return out;
}

void LevelRecorder::levelHeader(int32_t value) {
  level_.header = content::LevelHeader{value, readFields(layout_->header ? layout_->header->fields : content::LevelFields{})};
}

void LevelRecorder::levelProperties(int32_t p8, int32_t columns, int32_t offset, int32_t p10a, int32_t p10b,
                                    int32_t extra, int32_t paletteSize) {
  content::LevelMap map;
  map.p8 = p8;
  map.columns = columns;
  map.offset = offset;
  map.p10a = p10a;
  map.p10b = p10b;
  if (extra != -1) map.extra = extra;
  map.palette.reserve(static_cast<size_t>(paletteSize));
  level_.map = map;
}

void LevelRecorder::levelPaletteEntry(int32_t extra, int32_t code) {
  content::LevelMap& map = *level_.map;
  EXPECT_EQ(extra, map.extra.value_or(-1)) << "palette entry " << codes_.size();
  codes_.push_back(code);
  // code = row << 12 | (column + 1), v - 1 = row x columns + column.
  map.palette.push_back((code >> 12) * map.columns + (code & 0xFFF));
}

void LevelRecorder::levelSize(int32_t width, int32_t height) {
  level_.map->width = width;
  level_.map->height = height;
}

void LevelRecorder::levelCell(int32_t x, int32_t y, int32_t code) {
  content::LevelMap& map = *level_.map;
  const auto at = static_cast<int32_t>(map.cells.size());
  EXPECT_EQ(x, at % map.width) << "cell " << at;
  EXPECT_EQ(y, at / map.width) << "cell " << at;
  map.cells.push_back(firstIndexOf(codes_, code));
}

void LevelRecorder::levelEntityGroup(int32_t type, int32_t count) {
  if (!level_.entities) {
    const content::LevelEntities& c = *layout_->entities;
    level_.entities = content::LevelEntities{c.rowLength, c.x0, c.y0, c.deltaBits, {}};
  }
  level_.entities->groups.push_back({type, {}});
  level_.entities->groups.back().entities.reserve(static_cast<size_t>(count));
  entity_ = 0;
}

void LevelRecorder::levelEntity(int32_t type, int32_t x, int32_t y) {
  const size_t group = level_.entities->groups.size() - 1;
  content::LevelEntityGroup& g = level_.entities->groups.back();
  EXPECT_EQ(type, g.type) << "entity group " << group;
  const auto& written = layout_->entities->groups;
  content::LevelFields widths;
  if (group < written.size() && entity_ < written[group].entities.size()) widths = written[group].entities[entity_].fields;
  g.entities.push_back({x, y, readFields(widths)});
  ++entity_;
}

content::Level withFirstIndices(content::Level level) {
  if (level.map) {
    const std::vector<int> codes = paletteCodes(*level.map);
    for (int& cell : level.map->cells) {
      if (cell >= 0 && static_cast<size_t>(cell) < codes.size()) cell = firstIndexOf(codes, codes[static_cast<size_t>(cell)]);
    }
  }
  return level;
}

}  // namespace contentrt
