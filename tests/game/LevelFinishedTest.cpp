// The end of a level: grade, completion and tier flags, unlocks and the
// codes of what was earned, with the bytes on disk.

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "GameEnv.h"
#include "scene_maingame_InGameObject.h"

using gametest::GameEnv;
using main::Game;
using main::Main;

namespace {

struct Case {
  const char* name;
  int32_t tier, group, stage, gathered;
  // Changes the arrays in memory only before the call (the stores on disk
  // stay fresh, so a store that is not saved keeps its fresh bytes).
  std::function<void()> before;
  std::vector<int32_t> codes;
  int32_t bestAfter;
  bool bestSaved, progressSaved;
};

void setFlags(VMArray<int8_t>* flags, int32_t from, int32_t n) {
  for (int32_t i = from; i < from + n; ++i) flags->at(i) = 1;
}

TEST(LevelFinished, GradesFlagsUnlocksAndCodes) {
  const std::vector<Case> cases = {
      {"14 items: grade 2, next stage", 0, 0, 0, 14, [] {}, {}, 2, true, true},
      {"15 items: grade 3", 1, 2, 3, 15, [] {}, {}, 3, true, true},
      {"a lower grade is not saved", 0, 0, 1, 5, [] { Game::bestGrades->at(1) = 3; }, {}, 3, false, true},
      {"a replay saves unlocks only", 0, 0, 1, 0,
       [] { Game::progressFlags->at(1) = 1; }, {}, 0, false, false},
      {"last stage of group 0", 0, 0, 4, 10, [] {}, {13, 18}, 2, true, true},
      {"last stage of group 4", 0, 4, 4, 10, [] {}, {}, 2, true, true},
      {"a finished tier", 0, 4, 4, 0, [] { setFlags(Game::progressFlags.get(), 0, 24); }, {0}, 0, false, true},
      {"all tiers", 4, 4, 4, 0,
       [] {
         setFlags(Game::progressFlags.get(), 100, 24);
         setFlags(Game::progressFlags.get(), 250, 4);
       },
       {5, 4}, 0, false, true},
      {"tier bytes behind full tiers", 0, 4, 4, 15,
       [] {
         setFlags(Game::progressFlags.get(), 0, 250);
         Game::progressFlags->at(24) = 0;  // the level played now
         Game::progressFlags->at(149) = 0;
       },
       {11, 5, 10, 4, 9, 3, 8, 2, 7, 1, 6, 0}, 3, true, true},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    GameEnv env;
    VMPtr<Main> m = env.makeMain();
    Game::tier = k.tier;
    Game::group = k.group;
    Game::stage = k.stage;
    k.before();
    const pack_fixtures::Bytes freshBest = env.record(2);
    const pack_fixtures::Bytes freshProgress = env.record(1);
    scene::maingame::InGameObject::_VM_clinitCheck();
    scene::maingame::InGameObject::gathered = k.gathered;
    VMPtr<VMArray<int32_t>> result = m->levelFinished();
    ASSERT_EQ(result->length, 15);
    ASSERT_EQ(result->at(0), static_cast<int32_t>(k.codes.size()));
    for (size_t i = 0; i < k.codes.size(); ++i) EXPECT_EQ(result->at(static_cast<int32_t>(i) + 1), k.codes[i]) << i;
    for (int32_t i = static_cast<int32_t>(k.codes.size()) + 1; i < 15; ++i) EXPECT_EQ(result->at(i), -1) << i;

    const int32_t b = Game::bestIndex(k.tier, k.group, k.stage);
    const int32_t p = Game::progressIndex(k.tier, k.group, k.stage);
    EXPECT_EQ(Game::bestGrades->at(b), k.bestAfter);
    EXPECT_EQ(env.record(2) != freshBest, k.bestSaved);
    EXPECT_EQ(env.record(1) != freshProgress, k.progressSaved);
    EXPECT_EQ(Game::progressFlags->at(p), 1);
    EXPECT_EQ(Game::progressFlags->at(p + 125), k.gathered >= 15 ? 1 : 0);
    // Store 0 always holds the unlocks in memory.
    const pack_fixtures::Bytes unlocks = env.record(0);
    ASSERT_EQ(unlocks.size(), 110u);
    for (int32_t i = 0; i < 55; ++i) EXPECT_EQ(unlocks[i], Game::unlockFlags->at(i)) << i;
    if (k.stage < 4) {
      EXPECT_EQ(Game::unlockFlags->at(Game::unlockIndex(k.group, k.stage + 1)), 1);
    }
    if (k.stage == 4 && k.group == 4) {
      for (int32_t i = 0; i < 55; ++i) EXPECT_EQ(Game::unlockFlags->at(i), i == 0 || i == 5 ? 1 : 0) << i;
    }
    if (k.progressSaved) {
      const pack_fixtures::Bytes progress = env.record(1);
      for (int32_t i = 0; i < 262; ++i) EXPECT_EQ(progress[i], Game::progressFlags->at(i)) << i;
    }
  }
}

}  // namespace
