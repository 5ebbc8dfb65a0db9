#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "CeProcessHeap.h"
#include "CeShell.h"
#include "HALCallbacks.h"
#include "HALGlobalLock.h"
#include "HALMemory.h"
#include "HALThread.h"

namespace {

// What the VM callbacks and the shell saw during one test.
struct Trace {
  std::vector<std::string> calls;  // "reattach", "collect", "shell"
  std::vector<size_t> shellSizes;
  bool lockHeldDuringCollect = false;
  bool collectFreesHeap = false;  // the collection makes the heap work again
  bool shellFreesHeap = false;    // a shell request makes the heap work again
};
Trace* trace = nullptr;

void recordReattach() { trace->calls.push_back("reattach"); }

void recordCollect() {
  trace->calls.push_back("collect");
  trace->lockHeldDuringCollect = HAL_holdsGlobalLock();
  if (trace->collectFreesHeap) CeProcessHeap::setAllocationsLeft(CeProcessHeap::kUnlimited);
}

class HALMemoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    trace = &trace_;
    VMCallbacks callbacks{};
    callbacks.reattach = recordReattach;
    callbacks.collectGarbage = recordCollect;
    HAL_setVMCallbacks(&callbacks);
    CeShell::setFreeMemoryHandler([](size_t size) {
      trace->calls.push_back("shell");
      trace->shellSizes.push_back(size);
      if (trace->shellFreesHeap) CeProcessHeap::setAllocationsLeft(CeProcessHeap::kUnlimited);
      return trace->shellFreesHeap;
    });
  }

  void TearDown() override {
    CeProcessHeap::setAllocationsLeft(CeProcessHeap::kUnlimited);
    CeShell::setFreeMemoryHandler(nullptr);
    HAL_releaseMemoryReserve();
    HAL_deleteThread(HAL_getCurrentThread());
    trace = nullptr;
  }

  // Makes the calling thread one that runs Java code, so allocations may
  // collect on it.
  static void becomeJavaThread() {
    ASSERT_EQ(1, HAL_attachMainThread());
    HAL_setCurrentThreadData(HAL_getCurrentThread(), 1);
  }

  Trace trace_;
};

uint32_t sizeWord(const void* block) {
  uint32_t word;
  std::memcpy(&word, block, sizeof word);
  return word;
}

TEST_F(HALMemoryTest, BufferIsCountedWithItsHeaderUntilFreed) {
  const uint64_t before = HAL_getAllocatedMemory();
  const uint64_t imageBefore = HAL_getAllocatedImageMemory();
  auto* p = static_cast<unsigned char*>(HAL_allocateBuffer(100));
  ASSERT_NE(nullptr, p);
  EXPECT_EQ(0u, reinterpret_cast<uintptr_t>(p) % 16);
  std::memset(p, 0xAB, 100);
  EXPECT_EQ(116u, sizeWord(p - 16));
  EXPECT_EQ(before + 116, HAL_getAllocatedMemory());
  EXPECT_EQ(before + 116, HAL_getMemoryInUse());
  EXPECT_EQ(imageBefore, HAL_getAllocatedImageMemory());

  HAL_freeBuffer(nullptr);
  EXPECT_EQ(before + 116, HAL_getAllocatedMemory());
  HAL_freeBuffer(p);
  EXPECT_EQ(before, HAL_getAllocatedMemory());
}

TEST_F(HALMemoryTest, ImageBufferIsCountedInBothCounts) {
  const uint64_t before = HAL_getAllocatedMemory();
  const uint64_t imageBefore = HAL_getAllocatedImageMemory();
  void* plain = HAL_allocateBuffer(10);
  void* image = HAL_allocateImageBuffer(1000);
  ASSERT_NE(nullptr, plain);
  ASSERT_NE(nullptr, image);
  EXPECT_EQ(before + 26 + 1016, HAL_getAllocatedMemory());
  EXPECT_EQ(imageBefore + 1016, HAL_getAllocatedImageMemory());

  HAL_freeImageBuffer(nullptr);
  HAL_freeImageBuffer(image);
  EXPECT_EQ(before + 26, HAL_getAllocatedMemory());
  EXPECT_EQ(imageBefore, HAL_getAllocatedImageMemory());
  HAL_freeBuffer(plain);
  EXPECT_EQ(before, HAL_getAllocatedMemory());
}

TEST_F(HALMemoryTest, SizesThatDoNotFitTheSizeWordGiveNull) {
  becomeJavaThread();
  const uint64_t before = HAL_getAllocatedMemory();
  const uint64_t imageBefore = HAL_getAllocatedImageMemory();
  const size_t kMax32 = std::numeric_limits<uint32_t>::max();
  const size_t kMax = std::numeric_limits<size_t>::max();
  for (size_t size : {kMax, kMax - 15, kMax - 16, kMax32 + 1, kMax32, kMax32 - 15}) {
    SCOPED_TRACE(size);
    EXPECT_EQ(nullptr, HAL_allocateBuffer(size));
    EXPECT_EQ(nullptr, HAL_allocateImageBuffer(size));
  }
  for (size_t size : {kMax, kMax32 + 1}) {
    SCOPED_TRACE(size);
    EXPECT_EQ(nullptr, HAL_allocateWithCollect(size, 1, 1));
  }
  EXPECT_EQ(before, HAL_getAllocatedMemory());
  EXPECT_EQ(imageBefore, HAL_getAllocatedImageMemory());
  // Refused before the heap was asked: no collection, no shell request.
  EXPECT_TRUE(trace_.calls.empty());
}

TEST_F(HALMemoryTest, AllocateWithCollectStoresTheSizeInTheFirstWord) {
  for (size_t size : {size_t{0}, size_t{1}, size_t{4}, size_t{64}}) {
    SCOPED_TRACE(size);
    void* block = HAL_allocateWithCollect(size, 0, 0);
    ASSERT_NE(nullptr, block);
    EXPECT_EQ(size, sizeWord(block));
    HAL_freeHeap(block);
  }
}

TEST_F(HALMemoryTest, ReserveIsTakenOnceAndReleasedByTheFirstHeapAllocationThatAsks) {
  const int64_t blocks = CeProcessHeap::blocksInUse();
  HAL_createMemoryReserve();
  HAL_createMemoryReserve();
  EXPECT_EQ(blocks + 1, CeProcessHeap::blocksInUse());

  void* normal = HAL_allocateHeap(32, 0);  // leaves the reserve alone
  ASSERT_NE(nullptr, normal);
  EXPECT_EQ(blocks + 2, CeProcessHeap::blocksInUse());

  void* first = HAL_allocateMemory(32, 1);  // reserve freed, block taken
  ASSERT_NE(nullptr, first);
  EXPECT_EQ(blocks + 2, CeProcessHeap::blocksInUse());

  void* second = HAL_allocateHeap(32, 1);  // nothing left to free
  ASSERT_NE(nullptr, second);
  EXPECT_EQ(blocks + 3, CeProcessHeap::blocksInUse());

  HAL_releaseMemoryReserve();
  EXPECT_EQ(blocks + 3, CeProcessHeap::blocksInUse());
  HAL_freeHeap(normal);
  HAL_freeMemory(first);
  HAL_freeHeap(second);
  HAL_freeHeap(nullptr);
  EXPECT_EQ(blocks, CeProcessHeap::blocksInUse());
}

TEST_F(HALMemoryTest, ReserveIsReleasedEvenWhenTheHeapStaysExhausted) {
  const int64_t blocks = CeProcessHeap::blocksInUse();
  HAL_createMemoryReserve();
  CeProcessHeap::setAllocationsLeft(0);
  EXPECT_EQ(nullptr, HAL_allocateHeap(32, 0));
  EXPECT_EQ(blocks + 1, CeProcessHeap::blocksInUse());
  EXPECT_EQ(nullptr, HAL_allocateHeap(32, 1));
  EXPECT_EQ(blocks, CeProcessHeap::blocksInUse());
}

TEST_F(HALMemoryTest, ExhaustedHeapAndRefusingShellGiveNullWithOneCollectionEach) {
  becomeJavaThread();
  const uint64_t before = HAL_getAllocatedMemory();
  const uint64_t imageBefore = HAL_getAllocatedImageMemory();
  CeProcessHeap::setAllocationsLeft(0);

  EXPECT_EQ(nullptr, HAL_allocateHeap(100, 0));
  EXPECT_EQ((std::vector<std::string>{"shell"}), trace_.calls);

  trace_.calls.clear();
  EXPECT_EQ(nullptr, HAL_allocateWithCollect(100, 1, 1));
  EXPECT_EQ((std::vector<std::string>{"reattach", "collect", "shell"}), trace_.calls);
  EXPECT_TRUE(trace_.lockHeldDuringCollect);
  EXPECT_FALSE(HAL_holdsGlobalLock());

  trace_.calls.clear();
  EXPECT_EQ(nullptr, HAL_allocateBuffer(100));
  EXPECT_EQ(nullptr, HAL_allocateImageBuffer(100));
  EXPECT_EQ((std::vector<std::string>{"reattach", "collect", "shell", "reattach", "collect",
                                      "shell"}),
            trace_.calls);
  // The shell is asked for the block with its header.
  EXPECT_EQ((std::vector<size_t>{100, 100, 116, 116}), trace_.shellSizes);
  EXPECT_EQ(before, HAL_getAllocatedMemory());
  EXPECT_EQ(imageBefore, HAL_getAllocatedImageMemory());
}

TEST_F(HALMemoryTest, FlagsTurnOffTheCollectionAndTheShellRequest) {
  becomeJavaThread();
  CeProcessHeap::setAllocationsLeft(0);
  EXPECT_EQ(nullptr, HAL_allocateWithCollect(50, 0, 0));
  EXPECT_TRUE(trace_.calls.empty());
  EXPECT_EQ(nullptr, HAL_allocateWithCollect(50, 1, 0));
  EXPECT_EQ((std::vector<std::string>{"reattach", "collect"}), trace_.calls);
  trace_.calls.clear();
  EXPECT_EQ(nullptr, HAL_allocateWithCollect(50, 0, 1));
  EXPECT_EQ((std::vector<std::string>{"shell"}), trace_.calls);
}

TEST_F(HALMemoryTest, NoCollectionOnAThreadWithoutAVmThreadRecord) {
  CeProcessHeap::setAllocationsLeft(0);
  // No platform thread record at all.
  ASSERT_EQ(nullptr, HAL_getCurrentThread());
  EXPECT_EQ(nullptr, HAL_allocateWithCollect(50, 1, 1));
  EXPECT_EQ((std::vector<std::string>{"shell"}), trace_.calls);

  // A platform thread record without a VM thread.
  trace_.calls.clear();
  ASSERT_EQ(1, HAL_attachMainThread());
  EXPECT_EQ(nullptr, HAL_allocateBuffer(50));
  EXPECT_EQ((std::vector<std::string>{"shell"}), trace_.calls);
}

TEST_F(HALMemoryTest, CollectionThatFreesMemoryLetsTheAllocationSucceed) {
  becomeJavaThread();
  const uint64_t before = HAL_getAllocatedMemory();
  trace_.collectFreesHeap = true;
  CeProcessHeap::setAllocationsLeft(0);
  void* p = HAL_allocateBuffer(40);
  ASSERT_NE(nullptr, p);
  EXPECT_EQ((std::vector<std::string>{"reattach", "collect"}), trace_.calls);
  EXPECT_EQ(before + 56, HAL_getAllocatedMemory());
  HAL_freeBuffer(p);
}

TEST_F(HALMemoryTest, ShellThatFreesMemoryLetsTheAllocationSucceed) {
  trace_.shellFreesHeap = true;

  CeProcessHeap::setAllocationsLeft(0);
  void* heap = HAL_allocateHeap(200, 0);
  ASSERT_NE(nullptr, heap);
  EXPECT_EQ((std::vector<size_t>{200}), trace_.shellSizes);

  CeProcessHeap::setAllocationsLeft(0);
  void* block = HAL_allocateWithCollect(300, 0, 1);
  ASSERT_NE(nullptr, block);
  EXPECT_EQ(300u, sizeWord(block));
  EXPECT_EQ((std::vector<size_t>{200, 300}), trace_.shellSizes);

  HAL_freeHeap(heap);
  HAL_freeHeap(block);
}

TEST_F(HALMemoryTest, CallerThatHoldsTheGlobalLockStillHoldsItAfterACollection) {
  becomeJavaThread();
  CeProcessHeap::setAllocationsLeft(0);
  HAL_enterGlobalLock();
  EXPECT_EQ(nullptr, HAL_allocateWithCollect(50, 1, 0));
  EXPECT_EQ((std::vector<std::string>{"reattach", "collect"}), trace_.calls);
  EXPECT_TRUE(HAL_holdsGlobalLock());
  HAL_leaveGlobalLock();
  EXPECT_FALSE(HAL_holdsGlobalLock());
}

TEST_F(HALMemoryTest, ProcessHeapFailsAfterItsAllowance) {
  CeProcessHeap::setAllocationsLeft(2);
  void* a = CeProcessHeap::allocate(8);
  void* b = CeProcessHeap::allocate(8);
  EXPECT_NE(nullptr, a);
  EXPECT_NE(nullptr, b);
  EXPECT_EQ(nullptr, CeProcessHeap::allocate(8));
  EXPECT_EQ(nullptr, CeProcessHeap::allocate(8));
  CeProcessHeap::setAllocationsLeft(CeProcessHeap::kUnlimited);
  void* c = CeProcessHeap::allocate(8);
  EXPECT_NE(nullptr, c);
  for (void* p : {a, b, c}) CeProcessHeap::release(p);
  HAL_compactMemory();
}

}  // namespace
