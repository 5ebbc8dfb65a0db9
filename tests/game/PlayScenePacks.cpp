#include "PlayScenePacks.h"

#include <algorithm>
#include <map>

#include "ChunkedPackWriter.h"
#include "ContentFixtures.h"
#include "PlayFixtures.h"
#include "UiPacks.h"

namespace gametest::playscene {

namespace {

using namespace content;

constexpr int kRowLength = 1024;
constexpr int kHalf = kCell / 2;

Bytes sheetOf(int w, int h, uint32_t colour) {
  IndexedImage image{w, h, std::vector<uint8_t>(static_cast<size_t>(w) * h, 0), {colour}};
  return writePng(image);
}

Bytes sprites(uint16_t sheet) {
  SpriteSet set;
  set.sheet = sheet;
  set.sprites = {{-kHalf, -kCell, 0, 0, kCell, kCell, 0, 0, false, 0, 0, false}};
  return writeSpriteSet(set);
}

FrameBox box(const int32_t (&r)[4], int originX, int originY, int type) {
  return {r[0] - originX, r[1] - originY, r[2], r[3], false, type};
}

// Boxes 0..n-1, box i of type i; absent ones are 0 x 0.
AnimationFrame frameOf(std::map<int, FrameBox> boxes) {
  AnimationFrame f;
  const int count = boxes.empty() ? 0 : boxes.rbegin()->first + 1;
  for (int i = 0; i < count; ++i) {
    FrameBox b = boxes.count(i) ? boxes[i] : FrameBox{};
    b.type = i;
    f.boxes.push_back(b);
  }
  return f;
}

Bytes setOf(std::vector<AnimationFrame> frames) {
  AnimationSet set;
  set.frames = std::move(frames);
  set.durations = {100};
  set.animations = {{-1, {{0}}}};
  return writeAnimationSet(set);
}

Bytes hudFrames() {
  std::vector<AnimationFrame> frames(14);
  frames[0] = frameOf({{0, box(kCounterBox, 120, 0, 0)}});
  frames[1] = frames[12] = frameOf({{5, box(kPauseBox, 240, 320, 5)}});
  for (int t = 0; t < 5; ++t) {
    frames[2 * t + 2] = frameOf({{1, box(kJumpABox, 0, 160, 1)}, {2, box(kDropABox, 0, 160, 2)}});
    frames[2 * t + 3] = frameOf({{3, box(kJumpBBox, 240, 160, 3)}, {4, box(kDropBBox, 240, 160, 4)}});
  }
  return setOf(frames);
}

AnimationFrame holder(int originX, int firstX) {
  std::map<int, FrameBox> boxes;
  for (int i = 0; i < 5; ++i) boxes[i] = {firstX + kIconStep * i - originX, kIconsY, kCell, kCell, false, i};
  return frameOf(boxes);
}

Bytes panelFrames() {
  std::vector<AnimationFrame> frames = uiBoardFrames();
  frames[0] = holder(0, kIconsAX);
  frames[1] = holder(240, kIconsBX);
  frames[4].boxes[0] = box(kPanelBox, 120, 160, 0);
  return setOf(frames);
}

// Icon frames 0..4 (A lost, A live, B lost, B live, blank).
Bytes iconFrames() { return setOf(std::vector<AnimationFrame>(5)); }

// A pack of `count` sprite sets over the sheet at its last index, with
// the entries given.
std::vector<PackResource> packOf(int count, std::map<int, Bytes> entries, uint32_t colour) {
  const uint16_t sheet = static_cast<uint16_t>(count);
  std::vector<PackResource> r(static_cast<size_t>(count) + 1, PackResource{0, sprites(sheet)});
  for (auto& [i, bytes] : entries) r[static_cast<size_t>(i)] = {0, std::move(bytes)};
  r[sheet] = {0, sheetOf(kCell, kCell, colour)};
  return r;
}

void writeChunked(const std::filesystem::path& rsc, int pack, const std::vector<PackResource>& resources) {
  writePackFiles(rsc, writeChunkedPack(pack, resources, ChunkedPackLayout::split(1)));
}

Bytes farImage(uint32_t colour) { return sheetOf(15 * kCell, 20 * kCell, colour); }

}  // namespace

void writePlayScenePacks(const std::filesystem::path& rsc) {
  std::vector<PackResource> three = uiPackThree();
  three[2] = {0, hudFrames()};
  three[3] = {0, play::pickupSetBytes()};
  three[4] = {0, panelFrames()};
  writeChunked(rsc, 3, three);
  // Tiers: object sets at 0 and 1, icons at 2 (sprites 3, 4 and 7).
  for (int pack = 5; pack <= 9; ++pack) {
    writeChunked(rsc, pack,
                 packOf(8, {{0, play::mainSetBytes()}, {1, play::mainSetBytes()}, {2, iconFrames()}},
                        0xFF000000u | static_cast<uint32_t>(pack * 20)));
  }
  const Bytes barrier = play::barrierSetBytes(6);
  const Bytes scenery = play::barrierSetBytes(-1);
  writeChunked(rsc, 11,
               packOf(21, {{0, barrier}, {1, barrier}, {4, scenery}, {15, farImage(0xFF102030)},
                           {kTileImage % 1024, sheetOf(kCell, kCell, 0xFF406080)}},
                      0xFF110000));
  writeChunked(rsc, 12,
               packOf(35, {{0, barrier}, {1, barrier}, {10, scenery}, {11, scenery}, {34, farImage(0xFF203040)}},
                      0xFF220000));
  writeChunked(rsc, 13,
               packOf(20, {{0, barrier}, {1, barrier}, {5, scenery}, {6, scenery}, {19, farImage(0xFF304050)}},
                      0xFF330000));
  writeChunked(rsc, 14, packOf(25, {{0, barrier}, {1, barrier}, {24, farImage(0xFF405060)}}, 0xFF440000));
  writeChunked(rsc, 15, packOf(12, {{0, barrier}, {1, barrier}}, 0xFF550000));
}

int upperPlatform(const SceneLevel& l) { return l.rows * kCell / 2 - 2 * kCell; }

int lowerPlatform(const SceneLevel& l) { return l.rows * kCell - 2 * kCell; }

Bytes sceneLevel(const SceneLevel& l) {
  const int upper = upperPlatform(l);
  const int lower = lowerPlatform(l);
  auto byPosition = [](std::vector<LevelEntity> e) {
    std::stable_sort(e.begin(), e.end(), [](const LevelEntity& a, const LevelEntity& b) {
      return a.y * kRowLength + a.x < b.y * kRowLength + b.x;
    });
    return e;
  };
  std::vector<LevelEntity> scaled = {{0, upper, scaledRecord(l.columns, 1, 0)},
                                     {0, lower, scaledRecord(l.columns, 1, 0)}};
  for (int x : l.deadlyX) scaled.push_back({x, upper - 6, scaledRecord(2, 2, 2)});
  std::vector<LevelEntityGroup> groups = {
      {9, byPosition(scaled)},
      {15, byPosition({{32, upper - 3 * kCell, pointRecord(1)}, {32, lower - 3 * kCell, pointRecord(0)}})},
  };
  if (!l.itemX.empty()) {
    std::vector<LevelEntity> items;
    for (int x : l.itemX) items.push_back({x, upper, itemRecord(0, false)});
    groups.push_back({17, byPosition(items)});
  }
  if (!l.barriers.empty()) {
    std::vector<LevelEntity> barriers;
    for (const auto& [x, kind] : l.barriers) {
      barriers.push_back({x, upper, barrierRecord(l.barrierType, 0, 0, false, {kind, 0, 0, 0, 0})});
    }
    groups.push_back({l.barrierType, byPosition(barriers)});
  }
  if (!l.landscape.empty()) {
    std::vector<LevelEntity> records;
    for (const auto& [x, y, v] : l.landscape) records.push_back({x, y, landscapeRecord(2, v, false)});
    groups.push_back({2, byPosition(records)});
  }
  if (!l.landscapeB.empty()) {
    std::vector<LevelEntity> records;
    for (const auto& [x, y, v] : l.landscapeB) records.push_back({x, y, landscapeRecord(3, v, false)});
    groups.push_back({3, byPosition(records)});
  }
  Level level = smallLevel(upper - 3 * kCell, lower - 3 * kCell, l.columns, l.rows, kCell, kCell, std::move(groups));
  level.map->offset = kTileImage;
  level.map->palette = {1};
  for (int x = 0; x < l.columns; ++x) {
    level.map->cells[static_cast<size_t>(upper / kCell) * l.columns + x] = 1;
    level.map->cells[static_cast<size_t>(lower / kCell) * l.columns + x] = 1;
  }
  level.entities->rowLength = kRowLength;
  return writeLevel(level);
}

}  // namespace gametest::playscene
