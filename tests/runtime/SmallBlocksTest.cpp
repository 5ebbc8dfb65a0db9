// The size classes of small runtime blocks.
#include <gtest/gtest.h>

#include <set>

#include "CeProcessHeap.h"
#include "VMSmallBlocks.h"

namespace {

TEST(SmallBlocks, BlocksAreReusedWithinTheirClassAndHandedOutInAddressOrder) {
  if (!VMSmallBlocks::kEnabled) GTEST_SKIP() << "sanitizer builds use the platform heap for every block";
  EXPECT_FALSE(VMSmallBlocks::serves(VMSmallBlocks::kMaxBlock + 1));
  char* a = static_cast<char*>(VMSmallBlocks::take(100));
  char* b = static_cast<char*>(VMSmallBlocks::take(112));  // same 112-byte class
  EXPECT_EQ(b - a, 112);
  char* other = static_cast<char*>(VMSmallBlocks::take(16));
  EXPECT_TRUE(other < a || other >= a + VMSmallBlocks::kChunkSize) << "each class has chunks of its own";
  VMSmallBlocks::give(a, 100);
  EXPECT_EQ(VMSmallBlocks::take(97), a) << "the freed block is taken again first";
  VMSmallBlocks::give(a, 97);
  VMSmallBlocks::give(b, 112);
  VMSmallBlocks::give(other, 16);
}

TEST(SmallBlocks, AClassWithoutChunksReportsAnEmptyPlatformHeap) {
  if (!VMSmallBlocks::kEnabled) GTEST_SKIP() << "sanitizer builds use the platform heap for every block";
  CeProcessHeap::setAllocationsLeft(0);
  EXPECT_EQ(VMSmallBlocks::take(256), nullptr);
  CeProcessHeap::setAllocationsLeft(CeProcessHeap::kUnlimited);
  std::set<void*> blocks;
  for (int i = 0; i < 1000; ++i) blocks.insert(VMSmallBlocks::take(256));
  EXPECT_EQ(blocks.size(), 1000u);
  EXPECT_EQ(blocks.count(nullptr), 0u);
}

}  // namespace
