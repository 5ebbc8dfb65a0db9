// Every level is played to its end by the solution beside its source, by
// the game's own objects, at the tiers with the most and the fewest lives,
// without a runner being hit, held back or knocked out.
//
// With JME_PLAN_SOLUTIONS=1 the test first plans each solution again and
// writes it beside the level (tools/content/game/README.md, "Levels").

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "LevelPlay.h"
#include "PlayTables.h"

namespace gamecontenttest {
namespace {

const std::filesystem::path kGame = std::filesystem::path(JME_SOURCE_DIR) / "tools/content/game";
constexpr int kLevels = playtables::kGroups * playtables::kStages;

LevelPlay& sharedPlay() { return LevelPlay::shared(); }

void planSolutions() {
  for (int n = 0; n < kLevels; ++n) {
    bool ok = false;
    const std::vector<gamecontent::Tap> taps = sharedPlay().plan(n, ok);
    ASSERT_TRUE(ok) << "no solution found for level " << n << ": " << sharedPlay().planFailure();
    std::ofstream(gamecontent::solutionPath(kGame, n)) << gamecontent::writeSolution(
        taps, "# level " + std::to_string(n) +
                  ": the taps that play it to its end, one a line: the playing frame\n"
                  "# (1 the first) and the region tapped. Planned by LevelSolutionTest.\n");
  }
}

TEST(LevelSolutions, PlayEveryLevelToItsEndAtTiersZeroAndFour) {
  if (std::getenv("JME_PLAN_SOLUTIONS")) planSolutions();
  for (int n = 0; n < kLevels; ++n) {
    const std::vector<gamecontent::Tap> taps = gamecontent::readSolution(gamecontent::solutionPath(kGame, n));
    for (int tier : {0, 4}) {
      SCOPED_TRACE("level " + std::to_string(n) + ", tier " + std::to_string(tier));
      const PlayRun run = sharedPlay().play(n, tier, taps);
      EXPECT_TRUE(run.completed) << "stopped after " << run.frames << " frames";
      for (int r = 0; r < 2; ++r) {
        EXPECT_EQ(run.trouble[r], 0) << "runner "
                                     << "AB"[r] << ": " << run.what[r] << " in frame " << run.trouble[r];
        EXPECT_EQ(run.livesLeft[r], 5 - tier);
      }
    }
  }
}

// A tap that reaches the play scene a frame early or late still plays
// every level to its end: each jump lies inside the frames that clear its
// hazard, not at their edge.
TEST(LevelSolutions, HoldWithEveryTapAFrameEarlyOrLate) {
  for (int shift : {-1, 1}) {
    for (int n = 0; n < kLevels; ++n) {
      std::vector<gamecontent::Tap> taps = gamecontent::readSolution(gamecontent::solutionPath(kGame, n));
      for (gamecontent::Tap& t : taps) t.frame += shift;
      const PlayRun run = sharedPlay().play(n, 4, taps);
      EXPECT_TRUE(run.completed && run.firstTrouble() == 0)
          << "level " << n << ", taps moved by " << shift << ": runner "
          << (run.trouble[0] ? "A " + run.what[0] : "B " + run.what[1]);
    }
  }
}

// Without its taps a level with gaps, blocks or walkers is not played to
// its end: the solutions are what carries the runners through.
TEST(LevelSolutions, TheHazardsStopRunnersThatDoNotJump) {
  for (int n : {1, 2, 3, 9, 24}) {
    const PlayRun run = sharedPlay().play(n, 0, {});
    EXPECT_NE(run.firstTrouble(), 0) << "level " << n;
  }
}

}  // namespace
}  // namespace gamecontenttest
