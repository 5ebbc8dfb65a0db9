// The resource cache: shared entries, release and reload, growth, reset,
// and acquires of nothing.

#include <gtest/gtest.h>

#include "GameEnv.h"
#include "ui_ResManager.h"

using gametest::GameEnv;
using gametest::kAnimSetId;
using gametest::kFirstCacheSetId;
using ui::ResManager;

namespace {

VMPtr<ResManager> makeCache() {
  VMPtr<ResManager> cache = ResManager::_VM_new();
  return cache->_VM_init();
}

TEST(ResManager, SameIdSharesOneEntryUntilTheLastRelease) {
  GameEnv env;
  makeCache();
  ResManager::acquire(kFirstCacheSetId, kAnimSetId);
  EXPECT_EQ(ResManager::getGobIndex(), 0);
  EXPECT_EQ(ResManager::getAnimSetIndex(), 0);
  VMPtr<VMArray<tq::Gob>> first = ResManager::gobSets->get(0);
  ResManager::acquire(kFirstCacheSetId, kAnimSetId);
  EXPECT_EQ(ResManager::getGobIndex(), 0);
  EXPECT_EQ(ResManager::gobRefCounts->at(0), 2);
  EXPECT_EQ(ResManager::animSetRefCounts->at(0), 2);
  EXPECT_EQ(ResManager::gobSets->get(0).get(), first.get());  // a new set object would mean a new load
  EXPECT_EQ(ResManager::count, 1);
  ResManager::release(0, 0);
  EXPECT_TRUE(ResManager::gobSets->get(0));
  ResManager::release(0, 0);
  EXPECT_FALSE(ResManager::gobSets->get(0));
  EXPECT_FALSE(ResManager::animSets->get(0));
  EXPECT_EQ(ResManager::ids->get(0)->at(0), -1);
  EXPECT_EQ(ResManager::ids->get(1)->at(0), -1);
  // A released slot is not handed out again: the id loads anew into slot 1.
  ResManager::acquire(kFirstCacheSetId, -1);
  EXPECT_EQ(ResManager::getGobIndex(), 1);
  EXPECT_EQ(ResManager::getAnimSetIndex(), -1);
  EXPECT_NE(ResManager::gobSets->get(1).get(), first.get());
}

TEST(ResManager, GrowsKeepingSlotsAndResets) {
  GameEnv env;
  makeCache();
  std::vector<VMArray<tq::Gob>*> loaded;
  const std::vector<std::pair<int32_t, int32_t>> growth = {{5, 10}, {10, 15}, {15, 22}, {22, 33}, {33, 48}, {48, 63}};
  size_t next = 0;
  for (int32_t i = 0; i < 50; ++i) {
    const int32_t before = ResManager::capacity;
    ResManager::acquire(kFirstCacheSetId + i, -1);
    ASSERT_EQ(ResManager::getGobIndex(), i);
    loaded.push_back(ResManager::gobSets->get(i).get());
    if (ResManager::capacity != before) {
      ASSERT_LT(next, growth.size());
      EXPECT_EQ(before, growth[next].first);
      EXPECT_EQ(ResManager::capacity, growth[next].second);
      ++next;
    }
    EXPECT_LT(ResManager::count, ResManager::capacity);
  }
  EXPECT_EQ(next, 6u);  // 5, 10, 15, 22, 33, 48 -> 63 (15 more from 33 on)
  EXPECT_EQ(ResManager::growStep, 15);
  for (int32_t i = 0; i < 50; ++i) {
    EXPECT_EQ(ResManager::gobSets->get(i).get(), loaded[i]) << i;
    EXPECT_EQ(ResManager::ids->get(0)->at(i), kFirstCacheSetId + i) << i;
  }
  VMPtr<VMArray<tq::Gob>> seventh = ResManager::gobSets->get(7);  // kept: its address is not reused
  ResManager::reset();
  EXPECT_EQ(ResManager::capacity, 63);
  EXPECT_EQ(ResManager::count, 0);
  ResManager::acquire(kFirstCacheSetId + 7, -1);
  EXPECT_EQ(ResManager::getGobIndex(), 0);
  EXPECT_NE(ResManager::gobSets->get(0).get(), seventh.get());
  ResManager::freeAll();
  EXPECT_FALSE(ResManager::gobSets);
  EXPECT_EQ(ResManager::capacity, 5);
  ResManager::freeAll();  // freed tables: nothing
  ResManager::reset();
}

TEST(ResManager, AcquiresOfNothingAndFailedLoads) {
  GameEnv env;
  makeCache();
  ResManager::acquire(-1, -1);
  EXPECT_EQ(ResManager::getGobIndex(), -1);
  EXPECT_EQ(ResManager::getAnimSetIndex(), -1);
  EXPECT_EQ(ResManager::count, 0);
  // An animation set asked for without sprites binds none.
  ResManager::acquire(-1, kAnimSetId);
  EXPECT_EQ(ResManager::getAnimSetIndex(), 0);
  EXPECT_EQ(ResManager::count, 1);
  // A missing resource throws and counts nothing; the next acquire retries.
  EXPECT_ANY_THROW(ResManager::acquire(0x7000, -1));
  EXPECT_EQ(ResManager::count, 1);
  ResManager::acquire(kFirstCacheSetId, -1);
  EXPECT_EQ(ResManager::getGobIndex(), 1);
}

}  // namespace
