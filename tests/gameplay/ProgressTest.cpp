// Saved progress across runs of the whole game: seeded stores read back
// after a restart; short stores are written back whole at the start; and a
// SIGKILL at a random moment (during the start-up's writes, or at a random
// frame after them; during or after the saves of a level's end) leaves
// every store old or new, whole, and the game starts again from what is
// there.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <thread>

#include "GameDriver.h"

using gameplay::Bytes;
using gameplay::GameDriver;
using gameplay::Probe;

namespace {

constexpr size_t kSizes[3] = {110, 524, 1000};

// Progress of a player some way in: tier 1 open, group 2's stages 0 and 3
// open, levels finished with grades.
Bytes seededUnlocks() {
  Bytes b(110);
  b[0] = b[1] = 1;
  b[5] = b[25] = b[28] = 1;
  return b;
}
Bytes seededProgress() {
  Bytes b(524);
  b[0] = b[10] = b[125] = 1;
  return b;
}
Bytes seededBest() {
  Bytes b(1000);
  b[3] = 3;    // level 0
  b[43] = 2;   // level 10
  b[203] = 1;  // level 50
  return b;
}

// The probe's digits of a saved array's elements from its stored bytes:
// flags one byte each, grades big-endian ints.
std::string digitsOf(int32_t store, const Bytes& bytes) {
  std::string out;
  if (store == 2) {
    for (size_t i = 0; i + 3 < bytes.size(); i += 4) out += std::to_string(bytes[i + 3]);
  } else {
    const size_t count = store == 0 ? 55 : 262;
    for (size_t i = 0; i < count; ++i) out += bytes[i] ? '1' : '0';
  }
  return out;
}

const char* const kArrays[3] = {"unlocks", "progress", "best"};

// The game started again: its saved arrays are `stores`, which are on disk
// whole (written back when they were short); then it closes.
void startsWithTheStores(GameDriver& game, const Bytes (&stores)[3]) {
  ASSERT_TRUE(game.start());
  const Probe p = game.probe();
  for (int32_t store = 0; store < 3; ++store) {
    EXPECT_EQ(p.text(kArrays[store]), digitsOf(store, stores[store])) << kArrays[store];
    EXPECT_EQ(game.record(store), stores[store]) << kArrays[store];
  }
  ASSERT_TRUE(game.close());
  EXPECT_EQ(game.wait(), 0);
}

TEST(Progress, SeededStoresReadBackAcrossARestart) {
  const Bytes seeded[3] = {seededUnlocks(), seededProgress(), seededBest()};
  GameDriver game;
  game.useFixturePacks();
  for (int32_t store = 0; store < 3; ++store) game.seedRecord(store, seeded[store]);
  for (int run = 0; run < 2; ++run) {
    SCOPED_TRACE(run);
    ASSERT_TRUE(game.start());
    ASSERT_TRUE(game.step(10));
    const Probe p = game.probe();
    for (int32_t store = 0; store < 3; ++store) {
      EXPECT_EQ(p.text(kArrays[store]), digitsOf(store, seeded[store])) << kArrays[store];
      EXPECT_EQ(game.record(store), seeded[store]) << "nothing written for whole stores";
    }
    ASSERT_TRUE(game.close());
    EXPECT_EQ(game.wait(), 0);
  }
}

TEST(Progress, ShortStoresAreWrittenBackWholeAtTheStart) {
  const Bytes whole[3] = {seededUnlocks(), seededProgress(), seededBest()};
  GameDriver game;
  game.useFixturePacks();
  const size_t cut[3] = {30, 100, 40};
  for (int32_t store = 0; store < 3; ++store) {
    game.seedRecord(store, Bytes(whole[store].begin(), whole[store].begin() + static_cast<ptrdiff_t>(cut[store])));
  }
  ASSERT_TRUE(game.start());
  ASSERT_TRUE(game.step(1));
  const Probe p = game.probe();
  for (int32_t store = 0; store < 3; ++store) {
    SCOPED_TRACE(kArrays[store]);
    Bytes expected(whole[store].begin(), whole[store].begin() + static_cast<ptrdiff_t>(cut[store]));
    expected.resize(kSizes[store]);
    EXPECT_EQ(game.record(store), expected);
    EXPECT_EQ(p.text(kArrays[store]), digitsOf(store, expected));
  }
  ASSERT_TRUE(game.close());
  EXPECT_EQ(game.wait(), 0);
}

// How long after its start the program has written the last store when it
// starts without any: the kills aim round that moment.
std::chrono::microseconds timeToTheLastWrite() {
  using Clock = std::chrono::steady_clock;
  GameDriver game;
  game.useFixturePacks();
  const auto start = Clock::now();
  game.process().start();
  const std::filesystem::path last = game.folder() / "database" / "store-2" / "record-1.bin";
  std::error_code error;
  while (Clock::now() - start < std::chrono::seconds(20) && std::filesystem::file_size(last, error) != 1000) {
    std::this_thread::sleep_for(std::chrono::microseconds(100));
  }
  const auto took = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
  kill(game.process().pid(), SIGKILL);
  game.wait();
  return took;
}

// Odd seeds start from short stores (written back at the start), even ones
// from none (made fresh); the kill comes at a random moment round the
// start-up's writes, or at a random frame once the game runs.
TEST(Progress, ASigkillAtARandomMomentLeavesEveryStoreOldOrNew) {
  const int64_t writes = timeToTheLastWrite().count();
  const Bytes whole[3] = {seededUnlocks(), seededProgress(), seededBest()};
  Bytes fresh[3] = {Bytes(110), Bytes(524), Bytes(1000)};
  fresh[0][0] = fresh[0][5] = 1;
  const size_t cut[3] = {30, 100, 40};
  for (uint32_t seed = 1; seed <= 16; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 random(seed);
    GameDriver game;
    game.useFixturePacks();
    const bool seeded = seed % 2 == 1;
    Bytes before[3], after[3];
    for (int32_t store = 0; store < 3; ++store) {
      if (seeded) {
        before[store] = Bytes(whole[store].begin(), whole[store].begin() + static_cast<ptrdiff_t>(cut[store]));
        game.seedRecord(store, before[store]);
        after[store] = before[store];
        after[store].resize(kSizes[store]);
      } else {
        after[store] = fresh[store];
      }
    }
    if (random() % 4 != 0) {
      game.process().start();
      std::this_thread::sleep_for(std::chrono::microseconds(writes / 2 + random() % (writes * 3 / 4 + 1)));
    } else {
      ASSERT_TRUE(game.start());
      game.process().send("step " + std::to_string(random() % 60));
      std::this_thread::sleep_for(std::chrono::microseconds(random() % 3000));
    }
    ASSERT_EQ(kill(game.process().pid(), SIGKILL), 0);
    EXPECT_EQ(game.wait(), -1);
    for (int32_t store = 0; store < 3; ++store) {
      SCOPED_TRACE(kArrays[store]);
      const Bytes now = game.record(store);
      EXPECT_TRUE(now == before[store] || now == after[store]) << now.size() << " bytes";
    }
    // The game starts again from what is there and has the whole stores.
    startsWithTheStores(game, after);
  }
}

// The level end's saves come in the tally's recording frame: from the
// main menu to stage 0 of group 0, played to its results and stepped to the
// gate before that frame; false when it is not reached.
bool toTheLevelEndsSaves(GameDriver& game) {
  constexpr int64_t kResults = 4, kRecord = 28;
  if (!game.start() || !game.toMainMenu() || !game.playLevel(0, 0, 0) || !game.stepUntilPlayState(kResults, 1000)) {
    return false;
  }
  for (int i = 0; i < 400; ++i) {
    const Probe p = game.probe();
    if (p.playState() == kResults && p.subStep() == kRecord) return true;
    if (!game.step(1)) return false;
  }
  return false;
}

// A SIGKILL while the level end writes its grade, its flags and the next
// unlock (the recording frame, killed after a random part of its time), or
// at a random frame after it: each store holds what it held before the
// level or all of what the level end wrote, and the game starts again with
// the whole stores. Odd seeds start from stores of earlier progress, even
// ones from fresh stores.
TEST(Progress, ASigkillDuringOrAfterTheLevelEndsSavesLeavesEveryStoreOldOrNew) {
  const std::string reason = gameplay::cannotPlay(gameplay::Content::kBuiltRsc);
  if (!reason.empty()) GTEST_SKIP() << reason;
  // How long the recording frame takes, the kills spread round it.
  int64_t recording = 0;
  {
    GameDriver game;
    game.useBuiltRsc();
    ASSERT_TRUE(toTheLevelEndsSaves(game));
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(game.step(1));
    recording = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count();
    ASSERT_TRUE(game.close());
    EXPECT_EQ(game.wait(), 0);
  }
  // Earlier progress: group 2 open, levels 10 and 30 done, level 10 with
  // grade 2; nothing of level 0.
  Bytes earlier[3] = {Bytes(110), Bytes(524), Bytes(1000)};
  earlier[0][0] = earlier[0][5] = earlier[0][25] = 1;
  earlier[1][10] = earlier[1][30] = 1;
  earlier[2][43] = 2;
  for (uint32_t seed = 1; seed <= 12; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 random(seed);
    GameDriver game;
    game.useBuiltRsc();
    if (seed % 2 == 1) {
      for (int32_t store = 0; store < 3; ++store) game.seedRecord(store, earlier[store]);
    }
    ASSERT_TRUE(toTheLevelEndsSaves(game));
    Bytes before[3], after[3];
    for (int32_t store = 0; store < 3; ++store) before[store] = after[store] = game.record(store);
    // Stage 0 of group 0 with all fifteen items: grade 3, the level and
    // its perfect flag, stage 1 open.
    after[0][6] = 1;
    after[1][0] = after[1][125] = 1;
    after[2][3] = 3;
    if (random() % 3 != 0) {
      game.process().send("step 1");
      std::this_thread::sleep_for(std::chrono::microseconds(random() % (recording + 1)));
    } else {
      ASSERT_TRUE(game.step(1 + static_cast<int32_t>(random() % 60)));
    }
    ASSERT_EQ(kill(game.process().pid(), SIGKILL), 0);
    EXPECT_EQ(game.wait(), -1);
    Bytes now[3];
    for (int32_t store = 0; store < 3; ++store) {
      SCOPED_TRACE(kArrays[store]);
      now[store] = game.record(store);
      EXPECT_TRUE(now[store] == before[store] || now[store] == after[store]) << now[store].size() << " bytes";
    }
    startsWithTheStores(game, now);
  }
}

}  // namespace
