// Random play of the whole game on the built rsc/: from fixed seeds, taps
// on the page's items and anywhere (off the screen too), runs of frames,
// and the platform's pause and resume, with fresh stores or with every
// level unlocked. Whatever the order, the game answers every command and
// ends with 0 when its window is closed; the sanitizer builds check each
// step on the way (a fault there ends the program with another code).
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "GameDriver.h"

using gameplay::GameDriver;
using gameplay::Probe;
using gameplay::Rect;

namespace {

// The exit question's page and its "yes": taken, the game would end.
constexpr int64_t kExitPage = 9;
constexpr int32_t kConfirm = 37;

struct RandomRun {
  uint32_t seed;
  bool unlocked;
  int32_t rounds;
};

void PrintTo(const RandomRun& run, std::ostream* out) {
  *out << "seed " << run.seed << (run.unlocked ? ", unlocked, " : ", fresh, ") << run.rounds << " rounds";
}

class RandomPlay : public testing::TestWithParam<RandomRun> {};

// One random command from the state the probe shows.
std::string nextCommand(std::mt19937& random, const Probe& probe) {
  const auto roll = [&](uint32_t n) { return static_cast<int32_t>(random() % n); };
  std::vector<Rect> targets;
  for (const auto& [id, rect] : probe.items()) {
    if (!(probe.page() == kExitPage && id == kConfirm)) targets.push_back(rect);
  }
  const int32_t kind = roll(100);
  if (!targets.empty() && (kind < 60 || probe.page() == kExitPage)) {
    const Rect& r = targets[static_cast<size_t>(roll(static_cast<uint32_t>(targets.size())))];
    return "tap " + std::to_string(r.centreX()) + " " + std::to_string(r.centreY());
  }
  if (kind < 85) return "tap " + std::to_string(roll(260) - 10) + " " + std::to_string(roll(340) - 10);
  if (kind < 97) return "step " + std::to_string(1 + roll(60));
  return kind < 99 ? "pause" : "resume";
}

TEST_P(RandomPlay, TheGameAnswersEveryCommandAndEndsWithZero) {
  const std::string reason = gameplay::cannotPlay(gameplay::Content::kBuiltRsc);
  if (!reason.empty()) GTEST_SKIP() << reason;
  const RandomRun run = GetParam();
  GameDriver game;
  game.useBuiltRsc();
  if (run.unlocked) game.seedRecord(0, gameplay::everythingUnlocked());
  ASSERT_TRUE(game.start());
  std::mt19937 random(run.seed);
  std::vector<std::string> recent;
  for (int32_t round = 0; round < run.rounds; ++round) {
    const Probe probe = game.probe();
    ASSERT_TRUE(probe.has("scene")) << "round " << round << ", after " << testing::PrintToString(recent);
    const std::string command = nextCommand(random, probe);
    recent.push_back(command);
    if (recent.size() > 6) recent.erase(recent.begin());
    ASSERT_EQ(game.send(command), "ok") << "round " << round << ", after " << testing::PrintToString(recent);
    ASSERT_TRUE(game.step(1 + static_cast<int32_t>(random() % 7))) << "round " << round;
  }
  // Closed while in the foreground: a close while paused ends with 1.
  ASSERT_EQ(game.send("resume"), "ok");
  ASSERT_TRUE(game.close());
  EXPECT_EQ(game.wait(), 0);
}

std::string runName(const testing::TestParamInfo<RandomRun>& info) {
  return "Seed" + std::to_string(info.param.seed) + (info.param.unlocked ? "Unlocked" : "Fresh");
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomPlay,
                         testing::Values(RandomRun{1, false, 1500}, RandomRun{2, true, 1500},
                                         RandomRun{3, true, 1500}, RandomRun{4, false, 1500}),
                         runName);

}  // namespace
