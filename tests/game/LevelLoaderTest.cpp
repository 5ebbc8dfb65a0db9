// The level loader over levels written with the content writers, loaded
// through the game canvas's level hooks: one table of levels, the loads
// made and what the loader then holds or throws.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ContentFixtures.h"
#include "PlayEnv.h"
#include "ui_LevelLoader.h"

using gametest::PlayEnv;
using namespace gametest;
using ui::LevelLoader;

namespace {

using Values = std::vector<int32_t>;

template <class A>
Values values(const VMPtr<A>& a) {
  Values out;
  for (int32_t i = 0; a && i < a->length; ++i) out.push_back(a->at(i));
  return out;
}
template <class A>
Values values(VMField<A>& a) {
  return values(VMPtr<A>(a));
}

constexpr int kColumns = 8;
constexpr int kRows = 4;
constexpr int kCellWidth = 16;
constexpr int kCellHeight = 8;

Level levelOf(std::vector<LevelEntityGroup> groups, int pointBY = 100, int pointAY = 40) {
  return smallLevel(pointBY, pointAY, kColumns, kRows, kCellWidth, kCellHeight, std::move(groups));
}
content::Bytes bytesOf(std::vector<LevelEntityGroup> groups, int pointBY = 100, int pointAY = 40) {
  return content::writeLevel(levelOf(std::move(groups), pointBY, pointAY));
}
LevelEntityGroup valueGroup(int value) { return {11, {{0, 0, valueRecord(value)}}}; }

// One level with a record of every family, a palette and filler as asked.
Level everyFamily(bool filler) {
  Level level = levelOf({
      {10, {{7, 0, {}}}},
      {1, {{3, 1, barrierRecord(1, 3, 1000, true, {6, 7, 8, 9, 10})},
           {4, 1, barrierRecord(1, 2, 65535, false, {0, 0, 0, 0, 65535})}}},
      {5, {{1, 2, landscapeRecord(5, 63, true)}}},
      {6, {{2, 2, landscapeRecord(6, 5, false)}, {5, 2, landscapeRecord(6, 1, true)}}},
      {9, {{0, 2, scaledRecord(2, 5, 2)}, {1, 2, scaledRecord(3, 5, 1)}, {2, 3, scaledRecord(1, 1, 0)}}},
      {12, {{2, 0, {}}, {2, 1, {}}}},
      {13, {{0, 0, textListRecord(2, 0)}}},
      {15, {{1, 1, pointRecord(0)}, {6, 2, pointRecord(0)}, {3, 3, pointRecord(1)}}},
      {17, {{0, 3, itemRecord(3, false)}, {7, 3, itemRecord(1, true)}}},
      valueGroup(4242),
  });
  level.filler = filler;
  level.map->columns = 8;
  level.map->palette = {1, 2, 9};
  level.map->cells[0] = 1;
  level.map->cells[kColumns + 1] = 2;
  level.map->cells[kColumns * kRows - 1] = 3;
  return level;
}

void expectEveryFamily(LevelLoader* l) {
  EXPECT_EQ(l->pointAX, 6);
  EXPECT_EQ(l->pointAY, 2);
  EXPECT_EQ(l->pointBX, 3);
  EXPECT_EQ(l->pointBY, 3);
  EXPECT_EQ(l->signedParam, 5);
  EXPECT_EQ(l->scaleA, kCellWidth);
  EXPECT_EQ(l->scaleB, kCellHeight);
  EXPECT_EQ(l->width, kColumns);
  EXPECT_EQ(l->height, kRows);
  Values cells(kColumns * kRows, 0);
  cells[0] = 1;
  cells[kColumns + 1] = 2;
  cells[kColumns * kRows - 1] = (1 << 12) | 1;  // palette value 9 in an 8-column sheet: row 1, column 0
  EXPECT_EQ(values(l->cells), cells);

  LevelLoader::_VM_clinitCheck();
  EXPECT_EQ(LevelLoader::barrierCount, 2);
  EXPECT_EQ(l->barrierGroupSize, 2);
  EXPECT_EQ(values(l->barrierKind), (Values{1, 1}));
  EXPECT_EQ(values(l->barrierVariant), (Values{3, 2}));
  EXPECT_EQ(values(l->barrierValue), (Values{1000, 65535}));
  EXPECT_EQ(values(l->barrierFlag), (Values{1, 0}));
  EXPECT_EQ(values(l->barrierX), (Values{3, 4}));
  EXPECT_EQ(values(l->barrierY), (Values{1, 1}));
  EXPECT_EQ(values(l->barrierParams->get(0)), (Values{6, 7, 8, 9, 10}));
  EXPECT_EQ(values(l->barrierParams->get(1)), (Values{0, 0, 0, 0, 65535}));
  EXPECT_EQ(values(l->barrierWork), (Values{0, 0}));
  EXPECT_EQ(values(l->barrierWorkFlags->get(1)), Values(5, 0));
  EXPECT_EQ(values(l->barrierWorkParams->get(1)), Values(5, 0));

  EXPECT_EQ(l->landscapeCount, 1);
  EXPECT_EQ(l->landscapeGroupSize, 1);
  EXPECT_EQ(values(l->landscapeKind), Values{5});
  EXPECT_EQ(values(l->landscapeVariant), Values{63});
  EXPECT_EQ(values(l->landscapeFlag), Values{1});
  EXPECT_EQ(values(l->landscapeX), Values{1});
  EXPECT_EQ(values(l->landscapeY), Values{2});
  EXPECT_EQ(l->landscapeBCount, 2);
  EXPECT_EQ(l->landscapeBGroupSize, 2);
  EXPECT_EQ(values(l->landscapeBKind), (Values{6, 6}));
  EXPECT_EQ(values(l->landscapeBVariant), (Values{5, 1}));
  EXPECT_EQ(values(l->landscapeBFlag), (Values{0, 1}));
  EXPECT_EQ(values(l->landscapeBX), (Values{2, 5}));
  EXPECT_EQ(values(l->landscapeBY), (Values{2, 2}));

  // Mode 2 is 3 pixels per b whatever the cell height; the others b cells.
  EXPECT_EQ(l->scaledCount, 3);
  EXPECT_EQ(values(l->scaledX), (Values{0, 1, 2}));
  EXPECT_EQ(values(l->scaledY), (Values{2, 2, 3}));
  EXPECT_EQ(values(l->scaledA), (Values{32, 48, 16}));
  EXPECT_EQ(values(l->scaledB), (Values{15, 40, 8}));
  EXPECT_EQ(values(l->scaledMode), (Values{2, 1, 0}));

  EXPECT_EQ(l->markerCount, 2);
  EXPECT_EQ(values(l->markerX), (Values{2, 2}));  // the same column in two rows
  EXPECT_EQ(l->textCount, 2);
  EXPECT_EQ(values(l->textIds), (Values{0, 1}));
  EXPECT_EQ(values(l->textNumbers), (Values{7, 0}));  // "07", "x1"
  EXPECT_EQ(l->itemCount, 2);
  EXPECT_EQ(l->itemGroupSize, 2);
  EXPECT_EQ(values(l->itemValue), (Values{3, 1}));
  EXPECT_EQ(values(l->itemFlag), (Values{0, 1}));
  EXPECT_EQ(values(l->itemX), (Values{0, 7}));
  EXPECT_EQ(values(l->itemY), (Values{3, 3}));
  EXPECT_EQ(l->levelValue, 4242);
}

const std::vector<std::u16string> kTexts = {u"07", u"x1", u"5", u"12 apples", u"-3"};

struct Case {
  const char* name;
  std::vector<content::Bytes> levels;  // levels 0, 1, ...
  std::vector<int32_t> loads;
  // Run before the last load (the loader and the canvas are set up).
  std::function<void(LevelLoader*)> beforeLast;
  std::string thrown;  // the class the last load throws, or empty
  std::function<void(LevelLoader*, PlayEnv&)> check;
};

// Levels 0 to 6, level k with the value 100 k.
std::vector<content::Bytes> sevenLevels() {
  std::vector<content::Bytes> out;
  for (int k = 0; k < 7; ++k) out.push_back(bytesOf({valueGroup(100 * k)}));
  return out;
}

std::vector<Case> cases() {
  const content::Bytes every = content::writeLevel(everyFamily(false));
  content::Bytes cut(every.begin(), every.begin() + static_cast<long>(every.size() / 2));
  Level noHeader = levelOf({{17, {{1, 1, itemRecord(1, false)}}}});
  noHeader.header.reset();
  std::vector<LevelEntity> twelve;
  for (int i = 0; i < 12; ++i) twelve.push_back({i % kColumns, i / kColumns, barrierRecord(7, i, i, false, {})});
  return {
      {"every family, no filler", {every}, {0}, nullptr, "", [](LevelLoader* l, PlayEnv&) {
         expectEveryFamily(l);
       }},
      {"every family, filler after each block and group", {content::writeLevel(everyFamily(true))}, {0}, nullptr, "",
       [](LevelLoader* l, PlayEnv&) { expectEveryFamily(l); }},
      {"types 10, 12, 16 and 18 read no record bits",
       {bytesOf({{10, {{1, 0, {}}, {3, 0, {}}}}, {12, {{2, 0, {}}, {2, 1, {}}}}, {16, {{0, 0, {}}}},
                 {18, {{5, 1, {}}}}, valueGroup(4242)})},
       {0}, nullptr, "",
       [](LevelLoader* l, PlayEnv&) {
         EXPECT_EQ(values(l->markerX), (Values{2, 2}));
         EXPECT_EQ(l->markerCount, 2);
         EXPECT_EQ(l->levelValue, 4242);
         EXPECT_EQ(l->scaledCount, 0);
       }},
      {"4-bit variants of types 0, 4, 7 and 14",
       {bytesOf({{14, {{0, 0, barrierRecord(14, 15, 1, true, {1, 2, 3, 4, 5})}}}, valueGroup(9)})}, {0}, nullptr, "",
       [](LevelLoader* l, PlayEnv&) {
         EXPECT_EQ(values(l->barrierKind), Values{14});
         EXPECT_EQ(values(l->barrierVariant), Values{15});
         EXPECT_EQ(values(l->barrierParams->get(0)), (Values{1, 2, 3, 4, 5}));
         EXPECT_EQ(l->levelValue, 9);
       }},
      {"a text list of count 0 reads 32 bits and keeps the lists",
       {bytesOf({{13, {{0, 0, textListRecord(2, 3)}}}}), bytesOf({{13, {{0, 0, textListRecord(0, 999)}}}, valueGroup(55)})},
       {0, 1}, nullptr, "",
       [](LevelLoader* l, PlayEnv&) {
         EXPECT_EQ(l->textCount, 0);
         EXPECT_EQ(values(l->textIds), (Values{3, 4}));
         EXPECT_EQ(values(l->textNumbers), (Values{12, -3}));  // "12 apples", "-3"
         EXPECT_EQ(l->levelValue, 55);
       }},
      {"a text of one character", {bytesOf({{13, {{0, 0, textListRecord(1, 2)}}}})}, {0}, nullptr,
       "java.lang.StringIndexOutOfBoundsException", nullptr},
      {"a text id past the table", {bytesOf({{13, {{0, 0, textListRecord(2, 4)}}}})}, {0}, nullptr,
       "java.lang.IllegalStateException", nullptr},
      {"points: the last of a selector wins, the header's y and the last x stay",
       {bytesOf({{15, {{1, 1, pointRecord(0)}, {6, 2, pointRecord(0)}, {3, 3, pointRecord(1)}}}}),
        bytesOf({valueGroup(1)}, 111, 222)},
       {0, 1}, nullptr, "",
       [](LevelLoader* l, PlayEnv&) {
         EXPECT_EQ(l->pointAX, 6);
         EXPECT_EQ(l->pointAY, 222);
         EXPECT_EQ(l->pointBX, 3);
         EXPECT_EQ(l->pointBY, 111);
       }},
      {"load(5) twice decodes once", sevenLevels(), {5, 5},
       [](LevelLoader* l) { l->levelValue = -7; }, "",
       [](LevelLoader* l, PlayEnv&) {
         EXPECT_EQ(l->levelValue, -7);
         EXPECT_EQ(l->getLevel(), 5);
       }},
      {"load(5), load(6), load(5) decodes three times", sevenLevels(), {5, 6, 5},
       [](LevelLoader* l) { l->levelValue = -7; }, "",
       [](LevelLoader* l, PlayEnv&) { EXPECT_EQ(l->levelValue, 500); }},
      {"a level cut short; the same number then decodes again", {cut}, {0}, nullptr, "java.io.EOFException",
       [every](LevelLoader* l, PlayEnv& env) {
         EXPECT_EQ(l->getLevel(), -1);
         env.writeLevels({every}, kTexts);
         l->load(0);
         expectEveryFamily(l);
       }},
      {"a second barrier group", {content::fixtures::levelWithEveryBlock().bytes}, {0}, nullptr,
       "java.lang.IllegalStateException", [](LevelLoader* l, PlayEnv&) { EXPECT_EQ(l->getLevel(), -1); }},
      {"an empty second barrier group",
       {bytesOf({{7, {{0, 0, barrierRecord(7, 1, 1, false, {})}}}, {0, {}}})}, {0}, nullptr,
       "java.lang.IllegalStateException", nullptr},
      {"no block A after a level with items", {every, content::writeLevel(noHeader)}, {0, 1}, nullptr,
       "java.lang.IllegalStateException", nullptr},
      {"a level without barriers keeps the barrier group size",
       {bytesOf({{7, twelve}, {5, {{0, 0, landscapeRecord(5, 1, false)}}}, {17, {{0, 1, itemRecord(0, false)}}}}),
        bytesOf({valueGroup(3)})},
       {0, 1}, nullptr, "",
       [](LevelLoader* l, PlayEnv&) {
         EXPECT_EQ(l->barrierGroupSize, 12);
         EXPECT_EQ(values(l->barrierVariant).size(), 12u);
         EXPECT_EQ(values(l->barrierVariant)[11], 11);
         EXPECT_EQ(LevelLoader::barrierCount, 0);
         EXPECT_EQ(l->landscapeGroupSize, 0);
         EXPECT_EQ(l->itemGroupSize, 0);
         EXPECT_EQ(l->landscapeCount, 0);  // the header cleared it
         EXPECT_EQ(values(l->landscapeVariant), Values{1});
       }},
  };
}

TEST(LevelLoader, WrittenLevels) {
  for (const Case& k : cases()) {
    SCOPED_TRACE(k.name);
    PlayEnv env;
    env.writeLevels(k.levels, kTexts);
    env.controller->loadTranslation(kLevelTextsId);
    VMPtr<LevelLoader> loader = PlayEnv::loader();
    ASSERT_TRUE(loader);
    EXPECT_EQ(loader->getLevel(), -1);
    for (size_t i = 0; i + 1 < k.loads.size(); ++i) loader->load(k.loads[i]);
    if (k.beforeLast) k.beforeLast(loader.get());
    std::string thrown;
    try {
      loader->load(k.loads.back());
    } catch (java::lang::Throwable* t) {
      VMPtr<java::lang::Throwable> held(t);
      thrown = t->_VM_getClass()->_VM_name.c_str();
    }
    EXPECT_EQ(thrown, k.thrown);
    if (thrown.empty()) {
      EXPECT_EQ(loader->getLevel(), k.loads.back());
    }
    if (k.check) k.check(loader.get(), env);
  }
}

// Each of the six hooks of the game canvas reaches the controller's loader
// with its arguments; the header hook reads its fields from a level being
// decoded, so it is reached through a load above.
TEST(LevelLoader, CanvasHooksReachTheLoader) {
  PlayEnv env;
  VMPtr<LevelLoader> loader = PlayEnv::loader();
  env.canvas->levelProperties(1, 2, -3, 24, 12, -1, 9);
  EXPECT_EQ(loader->signedParam, -3);
  EXPECT_EQ(loader->scaleA, 24);
  EXPECT_EQ(loader->scaleB, 12);
  env.canvas->levelSize(3, 2);
  EXPECT_EQ(values(loader->cells), Values(6, 0));
  env.canvas->levelCell(2, 1, 77);
  EXPECT_EQ(loader->cells->at(5), 77);
  env.canvas->levelEntityGroup(12, 1);
  env.canvas->levelEntity(12, 4, 9);
  EXPECT_EQ(values(loader->markerX), Values{4});
  EXPECT_EQ(loader->markerCount, 1);
  env.canvas->levelPaletteEntry(3, 4097);  // not the game's: nothing changes
  EXPECT_EQ(loader->cells->at(5), 77);
}

// The controller makes one loader at start-up and drops it at shutdown.
TEST(LevelLoader, MadeByTheControllerDroppedAtShutdown) {
  PlayEnv env;
  VMPtr<LevelLoader> loader = PlayEnv::loader();
  ASSERT_TRUE(loader);
  EXPECT_EQ(loader->canvas.get(), static_cast<tq::TqCanvas*>(env.canvas.get()));
  EXPECT_EQ(values(loader->pairA), Values(2, 0));
  EXPECT_EQ(values(loader->pairB), Values(2, 0));
  main::Main::shutdown();
  EXPECT_FALSE(PlayEnv::loader());
}

}  // namespace
