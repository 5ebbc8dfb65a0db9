// Saved progress over the canvas's numbered records: fresh stores, flags
// normalised to 1, short and long records, the index rules.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "GameCanvas.h"
#include "PackFixtures.h"
#include "VMTestEnv.h"
#include "main_Game.h"

using namespace pack_fixtures;
using gametest::BareCanvas;
using main::Game;

namespace {

struct Stores {
  ProgramFolder folder;
  bool vmStarted = VMTestEnv::start() != nullptr;
  VMPtr<BareCanvas> canvas = BareCanvas::make();
  ~Stores() { BareCanvas::stop(); }

  void put(int32_t n, const Bytes& b) { ASSERT_TRUE(canvas->writeRecord(n, javaBytes(b))); }
  Bytes get(int32_t n) { return nativeBytes(canvas->readRecord(n)); }
  VMPtr<Game> load() {
    VMPtr<Game> game = Game::_VM_new();
    game->_VM_init(canvas);
    return game;
  }
};

Bytes freshUnlocks() {
  Bytes b(110);
  b[0] = 1;
  b[5] = 1;
  return b;
}

std::vector<int32_t> ints(const Bytes& b) {
  std::vector<int32_t> out;
  for (size_t i = 0; i + 4 <= b.size(); i += 4) {
    out.push_back(static_cast<int32_t>(uint32_t(b[i]) << 24 | uint32_t(b[i + 1]) << 16 | uint32_t(b[i + 2]) << 8 |
                                       b[i + 3]));
  }
  return out;
}

TEST(SavedProgress, NoStoresGiveFreshStoresWrittenAtOnce) {
  Stores s;
  VMPtr<Game> game = s.load();
  EXPECT_EQ(s.get(0), freshUnlocks());
  EXPECT_EQ(s.get(1), Bytes(524));
  EXPECT_EQ(s.get(2), Bytes(1000));
  EXPECT_EQ(Game::unlockFlags->length, 55);
  EXPECT_EQ(Game::progressFlags->length, 262);
  EXPECT_EQ(Game::bestGrades->length, 250);
  EXPECT_EQ(nativeBytes(Game::unlockBytes), freshUnlocks());  // the bytes last written
  EXPECT_EQ(Game::tier, 0);
  EXPECT_EQ(Game::group, -1);
  EXPECT_EQ(Game::stage, 0);
}

TEST(SavedProgress, StoredFlagsLoadAsOneAndSaveBackAsOne) {
  Stores s;
  Bytes unlocks = freshUnlocks();
  unlocks[7] = 9;
  unlocks[54] = static_cast<uint8_t>(-1);
  unlocks[60] = 5;  // past the flags: not read, not kept
  Bytes progress(524);
  progress[261] = 2;
  Bytes best(1000);
  best[3] = 3;                        // int 0 = 3
  best[996] = 0x80;                   // int 249 = INT_MIN
  s.put(0, unlocks);
  s.put(1, progress);
  s.put(2, best);
  VMPtr<Game> game = s.load();
  EXPECT_EQ(Game::unlockFlags->at(7), 1);
  EXPECT_EQ(Game::unlockFlags->at(54), 1);
  EXPECT_EQ(Game::progressFlags->at(261), 1);
  EXPECT_EQ(Game::bestGrades->at(0), 3);
  EXPECT_EQ(Game::bestGrades->at(249), INT32_MIN);
  // Complete records are not written back by the load.
  EXPECT_EQ(s.get(0), unlocks);
  game->saveUnlocks();
  game->saveProgress();
  game->save();
  Bytes expected = freshUnlocks();
  expected[7] = 1;
  expected[54] = 1;
  EXPECT_EQ(s.get(0), expected);
  EXPECT_EQ(s.get(1)[261], 1);
  EXPECT_EQ(s.get(2), best);
}

// A record shorter than its elements gives what it holds whole; the rest
// is fresh and the record is written back complete.
TEST(SavedProgress, ShortRecordsKeepWhatTheyHoldAndAreCompleted) {
  struct Case {
    size_t unlocks, progress, best;
  };
  for (const Case& k : {Case{0, 0, 0}, Case{3, 100, 7}, Case{54, 261, 999}, Case{6, 1, 4}}) {
    SCOPED_TRACE(k.unlocks);
    Stores s;
    Bytes unlocks(k.unlocks, 1);
    Bytes progress(k.progress, 1);
    Bytes best(k.best, 0);
    for (size_t i = 3; i < k.best; i += 4) best[i] = 2;
    s.put(0, unlocks);
    s.put(1, progress);
    s.put(2, best);
    VMPtr<Game> game = s.load();
    Bytes wantUnlocks = freshUnlocks();
    for (size_t i = 0; i < k.unlocks; ++i) wantUnlocks[i] = 1;
    Bytes wantProgress(524);
    for (size_t i = 0; i < k.progress; ++i) wantProgress[i] = 1;
    EXPECT_EQ(s.get(0), wantUnlocks);
    EXPECT_EQ(s.get(1), wantProgress);
    const std::vector<int32_t> grades = ints(s.get(2));
    ASSERT_EQ(grades.size(), 250u);
    for (size_t i = 0; i < 250; ++i) EXPECT_EQ(grades[i], i < k.best / 4 ? 2 : 0) << i;
  }
}

TEST(SavedProgress, IndexRules) {
  struct Case {
    int32_t t, g, s, unlock, progress, best;
  };
  for (const Case& k : {Case{0, 0, 0, 5, 0, 0}, Case{4, 4, 4, 49, 124, 244}, Case{2, 1, 3, 18, 58, 113}}) {
    EXPECT_EQ(Game::unlockIndex(k.g, k.s), k.unlock);
    EXPECT_EQ(Game::progressIndex(k.t, k.g, k.s), k.progress);
    EXPECT_EQ(Game::bestIndex(k.t, k.g, k.s), k.best);
  }
}

}  // namespace
