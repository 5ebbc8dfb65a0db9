// The play packs' rules over a small folder of their own: a level the
// play scene can play, its tile sheet, and a runner's sets, sound; then
// copies with one thing broken, each reported under its resource.

#include <gtest/gtest.h>

#include <functional>

#include "CheckFolder.h"
#include "LevelWriter.h"
#include "PlayTables.h"
#include "PngWriter.h"
#include "SpriteSetWriter.h"

namespace contentcheck {
namespace {

using namespace content;

// Level 20 (group 4: a black far layer, so no far image to need).
constexpr int kPlayLevel = playtables::kLevelBase + 20, kTiles = 2049, kSheet = 2050, kRunnerSprites = 2051,
              kRunnerAnims = 2052;

LevelFields fields(std::vector<std::pair<int, uint32_t>> f) {
  LevelFields out;
  for (auto [bits, value] : f) out.push_back({bits, value});
  return out;
}

LevelEntity scaled(int x, int y, uint32_t a, uint32_t b, uint32_t mode) {
  return {x, y, fields({{16, a}, {16, b}, {16, mode}})};
}

// 15 x 20 cells of 16 x 16 on a 16-tile sheet; both lanes' ground solid,
// both start points above it.
Level playLevel() {
  Level level;
  level.header = LevelHeader{0, fields({{16, 96}, {16, 256}})};
  LevelMap map;
  map.columns = 16;
  map.offset = kTiles;
  map.p10a = map.p10b = 16;
  for (int v = 1; v <= 16; ++v) map.palette.push_back(v);
  map.width = 15;
  map.height = 20;
  map.cells.assign(15 * 20, 1);
  level.map = map;
  LevelEntities e;
  e.rowLength = 15 * 16;
  e.groups = {{9, {scaled(0, 128, 15, 2, 1), scaled(0, 288, 15, 2, 1)}},
              {15, {{32, 96, fields({{1, 1}, {1, 0}})}, {32, 256, fields({{1, 0}, {1, 0}})}}}};
  level.entities = e;
  return level;
}

// A runner of one 16 x 30 pose: box 0 of type 0, drawn above its position.
AnimationSet runnerSet(int animations = 12) {
  AnimationSet set;
  set.durations = {40};
  set.frames = {{{{0, 0, 0, 0}}, {{2, -28, 12, 28, false, 0}}}, {{{0, 0, 0, 0}}, {{2, -28, 12, 28, false, 3}}}};
  for (int a = 0; a < animations; ++a) set.animations.push_back({-1, {{a % 2, 0, 0, 0, 0, 0}}});
  return set;
}

CheckFolder playFolder() {
  CheckFolder f;
  f.packs = {{2, ""}};
  SpriteSet sprites;
  sprites.sheet = kSheet & 0x3FF;
  sprites.sprites = {{0, -30, 0, 0, 16, 30}};
  const RgbaImage tiles{16 * 16, 16, std::vector<uint32_t>(16 * 16 * 16, 0xFF806040)};
  const RgbaImage sheet{16, 30, std::vector<uint32_t>(16 * 30, 0xFF204080)};
  const std::vector<Entry> entries = {
      {kTiles, "image", "", -3, writePng(tiles)},
      {kSheet, "image", "", -3, writePng(sheet)},
      {kRunnerSprites, "sprites", "sheet=2", -1, writeSpriteSet(sprites)},
      {kRunnerAnims, "anims", "sprites=3 check=limits,main-object", -1, writeAnimationSet(runnerSet())},
      {kPlayLevel, "level", "check=limits,play-level", -1, writeLevel(playLevel())},
  };
  for (const Entry& e : entries) f.entries[e.id] = e;
  return f;
}

struct PlayFault {
  const char* name;
  int id;
  std::function<void(Level&, AnimationSet&)> breakIt;
  const char* says;
};

const PlayFault kPlayFaults[] = {
    {"CellsNot16", kPlayLevel, [](Level& l, AnimationSet&) { l.map->p10b = 8; }, "its cells are 16 x 8"},
    {"TileIdNotPositive", kPlayLevel, [](Level& l, AnimationSet&) { l.map->offset = 0; }, "is not positive"},
    {"TileSheetNotOneRow", kPlayLevel, [](Level& l, AnimationSet&) { l.map->columns = 8; }, "not one row of 8 tiles"},
    {"PaletteLongerThanRow", kPlayLevel, [](Level& l, AnimationSet&) { l.map->palette.push_back(16); },
     "is longer than its tile row"},
    {"TooManyRows", kPlayLevel,
     [](Level& l, AnimationSet&) {
       l.map->height = 22;
       l.map->cells.assign(15 * 22, 1);
     },
     "22 rows"},
    {"TooFewColumns", kPlayLevel,
     [](Level& l, AnimationSet&) {
       l.map->width = 14;
       l.map->cells.assign(14 * 20, 1);
       l.entities->rowLength = 14 * 16;
     },
     "14 columns"},
    {"RowLengthNotMapWidth", kPlayLevel, [](Level& l, AnimationSet&) { l.entities->rowLength = 256; },
     "is not the map's pixel width"},
    {"OriginNotZero", kPlayLevel, [](Level& l, AnimationSet&) { l.entities->y0 = 4; }, "not (0, 0)"},
    {"TextList", kPlayLevel,
     [](Level& l, AnimationSet&) {
       l.entities->groups.push_back({13, {{0, 0, fields({{16, 1}, {16, 0}})}}});
     },
     "has a text list"},
    {"SecondGroupOfAFamily", kPlayLevel,
     [](Level& l, AnimationSet&) {
       l.entities->groups.push_back({9, {scaled(0, 0, 1, 1, 0)}});
     },
     "a second group"},
    {"OneStartPoint", kPlayLevel, [](Level& l, AnimationSet&) { l.entities->groups[1].entities.pop_back(); },
     "lacks a start point"},
    {"StartAboveNoPlatform", kPlayLevel,
     [](Level& l, AnimationSet&) { l.entities->groups[0].entities[1] = scaled(0, 288, 15, 2, 2); },
     "above no platform"},
    {"NoHeader", kPlayLevel, [](Level& l, AnimationSet&) { l.header.reset(); }, "no header block"},
    {"ThrowerWithoutChildren", kPlayLevel,
     [](Level& l, AnimationSet&) {
       l.entities->groups.push_back(
           {0, {{64, 120, fields({{4, 0}, {16, 0}, {1, 0}, {16, 5}, {16, 0}, {16, 0}, {16, 0}, {16, 0}})}}});
     },
     "a thrower's children's sprite set 0x3C0B is missing"},
    {"BoxTypeNotAnEffect", kRunnerAnims, [](Level&, AnimationSet& a) { a.frames[1].boxes[0].type = 9; },
     "frame 1: box 0 has type 9"},
    {"FrameWithoutBox", kRunnerAnims, [](Level&, AnimationSet& a) { a.frames[1].boxes.clear(); },
     "frame 1 has no box 0"},
    {"OriginNotBottomLeft", kRunnerAnims,
     [](Level&, AnimationSet& a) {
       for (auto& f : a.frames) f.parts[0].dy = 2;
     },
     "bottom-left"},
    {"TwoBoundingBoxes", kRunnerAnims, [](Level&, AnimationSet& a) { a.frames[1].parts[0].dx = 3; },
     "is not frame 0's"},
    {"TooFewAnimations", kRunnerAnims, [](Level&, AnimationSet& a) { a.animations.resize(11); },
     "11 animations of the 12"},
};

class PlayRule : public testing::TestWithParam<PlayFault> {};

TEST_P(PlayRule, ReportsTheFaultUnderItsResource) {
  const PlayFault& c = GetParam();
  CheckFolder folder = playFolder();
  Level level = playLevel();
  AnimationSet runner = runnerSet();
  c.breakIt(level, runner);
  folder.at(kPlayLevel).bytes = writeLevel(level);
  folder.at(kRunnerAnims).bytes = writeAnimationSet(runner);
  ScratchFolder scratch;
  const std::vector<ContentFault> faults = folder.check(scratch.path());
  ASSERT_FALSE(faults.empty());
  bool said = false;
  for (const ContentFault& f : faults) {
    EXPECT_EQ(f.id, c.id) << f.text;
    said = said || f.text.find(c.says) != std::string::npos;
  }
  EXPECT_TRUE(said) << "no fault says \"" << c.says << "\"; the first: " << faults[0].text;
}

INSTANTIATE_TEST_SUITE_P(BrokenPlayFolder, PlayRule, testing::ValuesIn(kPlayFaults),
                         [](const testing::TestParamInfo<PlayFault>& info) { return std::string(info.param.name); });

TEST(PlayRules, FindNoFaultInTheSoundPlayFolder) {
  ScratchFolder scratch;
  for (const ContentFault& f : playFolder().check(scratch.path())) ADD_FAILURE() << f.text;
}

// Two throwers among two barriers: their ten children outgrow the five
// sprites a barrier has on the map (one of them the barrier's own).
TEST(PlayRules, ThrowersMustLeaveRoomForTheirChildren) {
  CheckFolder folder = playFolder();
  Level level = playLevel();
  const LevelFields thrower = fields({{4, 0}, {16, 0}, {1, 0}, {16, 5}, {16, 0}, {16, 0}, {16, 0}, {16, 0}});
  level.entities->groups.push_back({0, {{64, 120, thrower}, {96, 120, thrower}}});
  folder.at(kPlayLevel).bytes = writeLevel(level);
  ScratchFolder scratch;
  bool said = false;
  for (const ContentFault& f : folder.check(scratch.path())) said = said || f.text.find("outgrow") != std::string::npos;
  EXPECT_TRUE(said);
}

}  // namespace
}  // namespace contentcheck
