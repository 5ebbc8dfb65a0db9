// The play scene through the whole game on the built rsc/: a level from the
// menus to its results, the tally and the next level; a level failed back
// to the stage page; the pause menu's resume, restart (confirmed and
// cancelled) and quit; the platform's pause and resume; the awards of a
// level end shown last first.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GameDriver.h"

using gameplay::Bytes;
using gameplay::GameDriver;
using gameplay::PlayRegion;
using gameplay::Probe;

namespace {

// The play scene's states and the sub-steps the tests wait for.
constexpr int64_t kLoading = 0;
constexpr int64_t kPlaying = 1;
constexpr int64_t kMenu = 2;
constexpr int64_t kLevelEnd = 3;
constexpr int64_t kResults = 4;
constexpr int64_t kFinalWait = 27;
constexpr int64_t kFailedPanelWaits = 8;
// Object states: on a platform, dead.
constexpr int32_t kOnPlatform = 3;
// Scenes: the play scene, the group and stage pages.
constexpr int64_t kPlayScene = 34;
// The menus' rows (text ids) in the play scene.
constexpr int32_t kQuit = 1, kPlayAgain = 3, kContinue = 9, kResume = 32, kNextLevel = 40, kRestart = 45;
constexpr int32_t kConfirm = 37, kCancel = 38;

class PlayFlow : public testing::Test {
 protected:
  void SetUp() override {
    const std::string reason = gameplay::cannotPlay(gameplay::Content::kBuiltRsc);
    if (!reason.empty()) GTEST_SKIP() << reason;
    game.useBuiltRsc();
  }

  // Started, through the first-run pages to the main menu, then to the
  // level's first playing frame.
  void startAndPlay(int32_t tier, int32_t group, int32_t stage) {
    ASSERT_TRUE(game.start());
    ASSERT_TRUE(game.toMainMenu());
    ASSERT_TRUE(game.playLevel(tier, group, stage));
  }

  // Taps a play HUD region and lets the frames run in which the scene sees
  // the press and the release.
  void tapRegion(PlayRegion region) {
    ASSERT_TRUE(game.tap(region));
    ASSERT_TRUE(game.step(2));
  }

  void closeGame() {
    ASSERT_TRUE(game.close());
    EXPECT_EQ(game.wait(), 0);
  }

  GameDriver game;
};

// Stage 0 of group 0 from the main menu: the runners run the flat level
// to its end and gather all fifteen items; the tally counts them (a tap
// during the rows cuts it short to the final wait), records grade 3, the
// level's flags and the next stage, and opens the results menu, whose
// "next level" loads stage 1.
TEST_F(PlayFlow, StageZeroOfGroupZeroToTheResultsAndTheNextLevel) {
  startAndPlay(0, 0, 0);
  const Bytes before[3] = {game.record(0), game.record(1), game.record(2)};
  Probe p = game.probe();
  EXPECT_EQ(p.scene(), kPlayScene);
  EXPECT_EQ(p.number("gathered"), 0);
  const int32_t startX = p.object("objectA").x;
  EXPECT_EQ(p.object("objectA").state, kOnPlatform);
  EXPECT_EQ(p.object("objectA").lives, 5);
  EXPECT_EQ(p.object("objectB").lives, 5);
  ASSERT_TRUE(game.step(20));
  p = game.probe();
  EXPECT_EQ(p.playState(), kPlaying);
  EXPECT_EQ(p.object("objectA").x, startX + 20 * 5) << "5 pixels a frame";
  ASSERT_TRUE(game.stepUntilPlayState(kResults, 1000));
  p = game.probe();
  EXPECT_EQ(p.number("gathered"), 15);
  EXPECT_FALSE(p.object("objectA").dead);
  EXPECT_FALSE(p.object("objectB").dead);

  // The rows come one by one; a tap shows the rest at once.
  ASSERT_TRUE(game.step(15));
  p = game.probe();
  ASSERT_EQ(p.playState(), kResults);
  ASSERT_GT(p.subStep(), 0);
  ASSERT_LT(p.subStep(), 11) << "still in the rows";
  // The frame that sees the tap asks for the skip, the next one shows the
  // rest.
  ASSERT_TRUE(game.tap(120, 160));
  ASSERT_TRUE(game.step(2));
  EXPECT_LT(game.probe().subStep(), 11);
  ASSERT_TRUE(game.step(1));
  EXPECT_EQ(game.probe().subStep(), kFinalWait);
  EXPECT_EQ(game.record(2), before[2]) << "nothing recorded before the wait ends";
  // The final wait: 3 seconds.
  ASSERT_TRUE(game.step(70));
  EXPECT_EQ(game.probe().subStep(), kFinalWait);
  std::vector<int32_t> shown;
  ASSERT_TRUE(game.finishTally(&shown));
  EXPECT_TRUE(shown.empty());
  p = game.probe();
  EXPECT_EQ(p.playState(), kMenu);
  EXPECT_EQ(p.itemIds(), std::vector<int32_t>({kNextLevel, kPlayAgain}));

  Bytes unlocks = before[0], progress = before[1], best = before[2];
  unlocks[6] = 1;
  progress[0] = progress[125] = 1;
  best[3] = 3;
  EXPECT_EQ(game.record(0), unlocks);
  EXPECT_EQ(game.record(1), progress);
  EXPECT_EQ(game.record(2), best);
  EXPECT_EQ(p.text("best").substr(0, 2), "30");
  EXPECT_EQ(p.text("unlocks").substr(5, 2), "11");

  ASSERT_TRUE(game.tapItem(kNextLevel));
  ASSERT_TRUE(game.stepUntilPlayState(kPlaying, 100));
  p = game.probe();
  EXPECT_EQ(p.scene(), kPlayScene);
  EXPECT_EQ(p.number("stage"), 1);
  EXPECT_EQ(p.number("gathered"), 0);
  closeGame();
}

// Stage 1 (gaps over deadly zones) at tier 4, one life each, without a
// tap: a runner dies, the failed menu (restart, continue) opens; continue
// shows the panel until a tap, the closing plays and the stage page comes.
// Nothing is recorded.
TEST_F(PlayFlow, ALevelFailedGoesBackToTheStagePage) {
  Bytes unlocks = gameplay::everythingUnlocked();
  game.seedRecord(0, unlocks);
  startAndPlay(4, 0, 1);
  const Bytes before[3] = {game.record(0), game.record(1), game.record(2)};
  ASSERT_TRUE(game.stepUntilPlayState(kLevelEnd, 1000));
  Probe p = game.probe();
  EXPECT_TRUE(p.object("objectA").dead || p.object("objectB").dead);
  ASSERT_TRUE(game.stepUntilPlayState(kMenu, 10));
  ASSERT_TRUE(game.step(2));
  p = game.probe();
  EXPECT_TRUE(p.menuShown());
  EXPECT_EQ(p.itemIds(), std::vector<int32_t>({kRestart, kContinue}));
  ASSERT_TRUE(game.tapItem(kContinue));
  ASSERT_TRUE(game.stepUntilPlayState(kLevelEnd, 10));
  for (int i = 0; i < 200 && game.probe().subStep() != kFailedPanelWaits; ++i) ASSERT_TRUE(game.step(1));
  ASSERT_EQ(game.probe().subStep(), kFailedPanelWaits);
  ASSERT_TRUE(game.step(20));
  EXPECT_EQ(game.probe().subStep(), kFailedPanelWaits) << "the panel waits for a tap";
  ASSERT_TRUE(game.tap(120, 160));
  ASSERT_TRUE(game.stepUntilPage(5));
  p = game.probe();
  EXPECT_EQ(p.scene(), 5);
  EXPECT_EQ(p.number("menuGroup"), 0);
  for (int32_t store = 0; store < 3; ++store) EXPECT_EQ(game.record(store), before[store]) << store;
  closeGame();
}

// The pause button opens the pause list (resume, restart, quit); resume
// goes on where the runners were; restart asks first: cancel keeps the
// level going, confirm starts it again from the start; quit asks and
// confirmed goes to the stage page.
TEST_F(PlayFlow, PauseWithResumeRestartAndQuit) {
  startAndPlay(0, 0, 0);
  const int32_t startX = game.probe().object("objectA").x;
  ASSERT_TRUE(game.step(10));
  tapRegion(PlayRegion::kPause);
  Probe p = game.probe();
  ASSERT_EQ(p.playState(), kMenu);
  EXPECT_TRUE(p.menuShown());
  EXPECT_EQ(p.itemIds(), std::vector<int32_t>({kResume, kRestart, kQuit}));
  const int32_t pausedX = p.object("objectA").x;
  ASSERT_TRUE(game.step(10));
  EXPECT_EQ(game.probe().object("objectA").x, pausedX) << "nothing moves while paused";

  ASSERT_TRUE(game.tapItem(kResume));
  ASSERT_TRUE(game.stepUntilPlayState(kPlaying, 10));
  p = game.probe();
  EXPECT_FALSE(p.menuShown());
  ASSERT_TRUE(game.step(4));
  EXPECT_EQ(game.probe().object("objectA").x, p.object("objectA").x + 20);

  // Restart, cancelled: the pause list again, the level as it was.
  tapRegion(PlayRegion::kPause);
  ASSERT_TRUE(game.tapItem(kRestart));
  ASSERT_TRUE(game.step(2));
  p = game.probe();
  ASSERT_EQ(p.itemIds(), std::vector<int32_t>({kCancel, kConfirm}));
  const int32_t askedX = p.object("objectA").x;
  ASSERT_TRUE(game.tapItem(kCancel));
  ASSERT_TRUE(game.step(2));
  p = game.probe();
  EXPECT_EQ(p.playState(), kMenu);
  EXPECT_EQ(p.itemIds(), std::vector<int32_t>({kResume, kRestart, kQuit}));
  EXPECT_EQ(p.object("objectA").x, askedX);
  EXPECT_GT(askedX, startX);

  // Restart, confirmed: loading again, then play from the start point.
  ASSERT_TRUE(game.tapItem(kRestart));
  ASSERT_TRUE(game.step(2));
  ASSERT_TRUE(game.tapItem(kConfirm));
  ASSERT_TRUE(game.stepUntilPlayState(kLoading, 10));
  ASSERT_TRUE(game.stepUntilPlayState(kPlaying, 100));
  p = game.probe();
  EXPECT_EQ(p.object("objectA").x, startX);
  EXPECT_EQ(p.number("gathered"), 0);
  EXPECT_FALSE(p.menuShown());

  // Quit, confirmed: the stage page.
  ASSERT_TRUE(game.step(5));
  tapRegion(PlayRegion::kPause);
  ASSERT_TRUE(game.tapItem(kQuit));
  ASSERT_TRUE(game.step(2));
  ASSERT_EQ(game.probe().itemIds(), std::vector<int32_t>({kCancel, kConfirm}));
  ASSERT_TRUE(game.tapItem(kConfirm));
  ASSERT_TRUE(game.stepUntilPage(5));
  closeGame();
}

// The platform's pause during play pauses the game; the resume brings it
// back with the play scene's pause menu open, and resume goes on.
TEST_F(PlayFlow, ThePlatformsPauseAndResumeOpenThePauseMenu) {
  startAndPlay(0, 0, 0);
  ASSERT_TRUE(game.step(10));
  const int32_t x = game.probe().object("objectA").x;
  ASSERT_EQ(game.send("pause"), "ok");
  ASSERT_TRUE(game.step(3));
  Probe p = game.probe();
  EXPECT_EQ(p.number("paused"), 1);
  ASSERT_EQ(game.send("resume"), "ok");
  ASSERT_TRUE(game.step(25));
  p = game.probe();
  EXPECT_EQ(p.number("paused"), 0);
  EXPECT_EQ(p.playState(), kMenu);
  EXPECT_TRUE(p.menuShown());
  EXPECT_EQ(p.itemIds(), std::vector<int32_t>({kResume, kRestart, kQuit}));
  EXPECT_LE(p.object("objectA").x, x + 5);
  ASSERT_TRUE(game.tapItem(kResume));
  ASSERT_TRUE(game.stepUntilPlayState(kPlaying, 10));
  closeGame();
}

// Seeded progress: every level of tier 0 done and perfect but stage 0 of
// group 0, and every other tier done and perfect. Finishing that level
// with all fifteen items earns tier 0 done (code 0), tier 0 perfect (6),
// all tiers done (5) and all perfect (11); the tally shows them last
// first, each until a tap, and the progress store holds the new flags.
TEST_F(PlayFlow, AwardsFromSeededStoresAreShownLastFirst) {
  Bytes progress(524);
  for (int i = 1; i < 25; ++i) progress[static_cast<size_t>(i)] = progress[static_cast<size_t>(125 + i)] = 1;
  for (int t = 1; t < 5; ++t) progress[static_cast<size_t>(250 + t)] = progress[static_cast<size_t>(256 + t)] = 1;
  game.seedRecord(1, progress);
  startAndPlay(0, 0, 0);
  ASSERT_TRUE(game.stepUntilPlayState(kResults, 1000));
  std::vector<int32_t> shown;
  ASSERT_TRUE(game.finishTally(&shown));
  EXPECT_EQ(shown, std::vector<int32_t>({0, 6, 5, 11}));
  Bytes expected = progress;
  for (size_t i : {0, 125, 250, 255, 256, 261}) expected[i] = 1;
  EXPECT_EQ(game.record(1), expected);
  EXPECT_EQ(game.probe().itemIds(), std::vector<int32_t>({kNextLevel, kPlayAgain}));
  closeGame();
}

}  // namespace
