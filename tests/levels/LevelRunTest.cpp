// Every level played to its end through the whole game on the built rsc/:
// the driver program goes from the logo through the first-run pages and
// the menus to the level's stage box as a player does, the level's
// solution (tools/content/game/levels) taps the play HUD frame by frame,
// and the run must reach the results tally (not the level-failed
// sequence) with both runners alive, go through the tally and its awards
// to the results menu, and leave the stores updated: the grade, the
// level's flags and the next unlock.
//
// Each run is a test case of its own, so that `ctest -j` spreads them.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "GameDriver.h"
#include "PlayLevels.h"

using gameplay::Bytes;
using gameplay::GameDriver;
using gameplay::PlayObject;
using gameplay::PlayRegion;
using gameplay::Probe;

namespace {

const std::filesystem::path kGame = std::filesystem::path(JME_SOURCE_DIR) / "tools/content/game";

// The play scene's states.
constexpr int32_t kPlaying = 1;
constexpr int32_t kResults = 4;
// States of a main object.
constexpr int32_t kOnPlatform = 3;
constexpr int32_t kJumping = 5;
// Frames a level may play after its last tap before it must have ended
// (the longest map is under 2000 pixels at 5 pixels a frame).
constexpr int32_t kMaxFramesAfterTaps = 1000;

// Store layouts of main.Game: unlock flags (group g, stage s at
// 5 + 10 g + s, tier t at t), level flags (stage + 25 tier + 5 group; a
// perfect level's flag 125 further), grades (big-endian ints, stage +
// 50 tier + 10 group).
size_t unlockIndex(int32_t group, int32_t stage) { return static_cast<size_t>(5 + 10 * group + stage); }
size_t progressIndex(int32_t tier, int32_t group, int32_t stage) {
  return static_cast<size_t>(stage + 25 * tier + 5 * group);
}
size_t bestIndex(int32_t tier, int32_t group, int32_t stage) {
  return static_cast<size_t>(stage + 50 * tier + 10 * group);
}

PlayRegion regionOf(gamecontent::TapRegion region) {
  switch (region) {
    case gamecontent::TapRegion::AJump:
      return PlayRegion::kJumpA;
    case gamecontent::TapRegion::ADrop:
      return PlayRegion::kDropA;
    case gamecontent::TapRegion::BJump:
      return PlayRegion::kJumpB;
    default:
      return PlayRegion::kDropB;
  }
}

struct Run {
  int32_t level;
  int32_t tier;
};

class LevelRun : public testing::TestWithParam<Run> {};

TEST_P(LevelRun, TheSolutionPlaysTheLevelToTheResultsAndTheStoresAreUpdated) {
  if (!gameplay::builtRscHasInterfacePacks()) GTEST_SKIP() << gameplay::cannotPlay(gameplay::Content::kBuiltRsc);
  const int32_t level = GetParam().level, tier = GetParam().tier;
  const int32_t group = level / 5, stage = level % 5;
  const std::vector<gamecontent::Tap> taps = gamecontent::readSolution(gamecontent::solutionPath(kGame, level));

  // Only what the way to the level needs is open: the tier, the group and
  // the stage.
  GameDriver game;
  game.useBuiltRsc();
  Bytes unlocks(110);
  unlocks[0] = unlocks[static_cast<size_t>(tier)] = 1;
  unlocks[unlockIndex(group, 0)] = unlocks[unlockIndex(group, stage)] = 1;
  game.seedRecord(0, unlocks);
  ASSERT_TRUE(game.start());
  ASSERT_TRUE(game.toMainMenu());
  const Bytes before[3] = {game.record(0), game.record(1), game.record(2)};
  ASSERT_EQ(before[0], unlocks);
  ASSERT_TRUE(game.playLevel(tier, group, stage)) << "the level's first playing frame";

  Probe p = game.probe();
  ASSERT_EQ(p.scene(), 34);
  EXPECT_EQ(p.number("tier"), tier);
  EXPECT_EQ(p.number("group"), group);
  EXPECT_EQ(p.number("stage"), stage);
  const int32_t lives = 5 - tier;
  EXPECT_EQ(p.object("objectA").lives, lives);
  EXPECT_EQ(p.object("objectB").lives, lives);

  // Playing frame f is the f-th frame after the one that entered the
  // playing state. The game's pointer takes a press at the end of the
  // frame the tap steps (after the scene's update), so the scene sees it
  // in the next frame: a tap for frame f is made in frame f - 1.
  int32_t frame = 0;
  for (size_t i = 0; i < taps.size(); ++i) {
    const gamecontent::Tap& tap = taps[i];
    SCOPED_TRACE("tap in frame " + std::to_string(tap.frame) + " " + gamecontent::regionName(tap.region));
    ASSERT_LE(frame, tap.frame - 2) << "a tap must come in the frame before its own";
    while (frame < tap.frame - 2) {
      ASSERT_TRUE(game.step(1));
      ++frame;
      p = game.probe();
      ASSERT_EQ(p.playState(), kPlaying) << "the level ended in frame " << frame << ", before the tap; A "
                                         << p.text("objectA") << " B " << p.text("objectB");
    }
    ASSERT_TRUE(game.tap(regionOf(tap.region)));
    ++frame;
    // A jump starts in its own frame: on the ground before it, rising after.
    const bool jumpA = tap.region == gamecontent::TapRegion::AJump;
    const bool nextIsLater = i + 1 == taps.size() || taps[i + 1].frame - 2 > frame;
    if ((jumpA || tap.region == gamecontent::TapRegion::BJump) && nextIsLater) {
      const char* key = jumpA ? "objectA" : "objectB";
      EXPECT_EQ(game.probe().object(key).state, kOnPlatform) << key << " before frame " << tap.frame;
      ASSERT_TRUE(game.step(1));
      ++frame;
      EXPECT_EQ(game.probe().object(key).state, kJumping) << key << " in frame " << tap.frame;
    }
  }
  for (int32_t i = 0; i < kMaxFramesAfterTaps && game.probe().playState() == kPlaying; ++i) {
    ASSERT_TRUE(game.step(1));
  }
  p = game.probe();
  ASSERT_EQ(p.playState(), kResults) << "the results tally, not the level-failed sequence; A " << p.text("objectA")
                                     << " B " << p.text("objectB");
  for (const char* key : {"objectA", "objectB"}) {
    const PlayObject o = p.object(key);
    EXPECT_FALSE(o.dead) << key;
    EXPECT_GE(o.lives, lives) << key << ": the solution is never hit";
  }
  const int32_t gathered = static_cast<int32_t>(p.number("gathered"));
  EXPECT_GE(gathered, 0);
  EXPECT_LE(gathered, 15);

  std::vector<int32_t> shown;
  ASSERT_TRUE(game.finishTally(&shown));
  p = game.probe();
  EXPECT_EQ(p.itemIds(), std::vector<int32_t>({40, 3})) << "next level, play again";

  // The stores: the grade when it is better than none, the level's flags,
  // the next stage (or, after a group's last stage, the next group and
  // tier, each an award when new, shown in that order).
  const int32_t grade = std::min(gathered / 5, 3);
  Bytes best = before[2];
  if (grade > 0) best[4 * bestIndex(tier, group, stage) + 3] = static_cast<uint8_t>(grade);
  Bytes progress = before[1];
  progress[progressIndex(tier, group, stage)] = 1;
  if (grade == 3) progress[progressIndex(tier, group, stage) + 125] = 1;
  Bytes unlocked = before[0];
  std::vector<int32_t> awards;
  if (stage + 1 < 5) {
    unlocked[unlockIndex(group, stage + 1)] = 1;
  } else if (group + 1 < 5) {
    if (!unlocked[unlockIndex(group + 1, 0)]) awards.push_back(group + 18);
    if (!unlocked[static_cast<size_t>(group + 1)]) awards.push_back(group + 13);
    unlocked[unlockIndex(group + 1, 0)] = unlocked[static_cast<size_t>(group + 1)] = 1;
  }
  EXPECT_EQ(game.record(0), unlocked);
  EXPECT_EQ(game.record(1), progress);
  EXPECT_EQ(game.record(2), best);
  EXPECT_EQ(shown, awards);
  ASSERT_TRUE(game.close());
  EXPECT_EQ(game.wait(), 0);
}

// Every level at the first and the last tier; one level at each other tier
// (a half-height map, hedgehogs with a life, the busiest level).
std::vector<Run> runs() {
  std::vector<Run> out;
  for (int32_t tier : {0, 4}) {
    for (int32_t level = 0; level < 25; ++level) out.push_back({level, tier});
  }
  out.push_back({7, 1});
  out.push_back({13, 2});
  out.push_back({24, 3});
  return out;
}

std::string runName(const testing::TestParamInfo<Run>& info) {
  const std::string level = std::to_string(info.param.level);
  return "Level" + std::string(level.size() < 2 ? "0" : "") + level + "Tier" + std::to_string(info.param.tier);
}

INSTANTIATE_TEST_SUITE_P(Levels, LevelRun, testing::ValuesIn(runs()), runName);

}  // namespace
