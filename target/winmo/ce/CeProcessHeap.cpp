#include "CeProcessHeap.h"

#include <atomic>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <malloc.h>

namespace {

std::atomic<int64_t> allocationsLeft{CeProcessHeap::kUnlimited};
std::atomic<int64_t> blocks{0};

// Takes one allocation from the budget; false when it is used up.
bool takeAllocation() {
  int64_t left = allocationsLeft.load();
  while (left >= 0) {
    if (left == 0) return false;
    if (allocationsLeft.compare_exchange_weak(left, left - 1)) return true;
  }
  return true;
}

}  // namespace

void* CeProcessHeap::allocate(size_t size) {
  if (!takeAllocation()) return nullptr;
  void* block = std::malloc(size);
  if (block) blocks.fetch_add(1);
  return block;
}

void* CeProcessHeap::shrink(void* block, size_t size) {
  void* smaller = std::realloc(block, size);
  return smaller != nullptr ? smaller : block;
}

void CeProcessHeap::release(void* block) {
  if (!block) return;
  std::free(block);
  blocks.fetch_sub(1);
}

void CeProcessHeap::compact() {
  // Giving free pages back to the system walks the whole heap, which costs
  // far more than a collection of a small heap; after frequent collections
  // it is done at most once a second.
  static std::atomic<int64_t> lastTrim{INT64_MIN / 2};
  const int64_t now = std::chrono::duration_cast<std::chrono::milliseconds>(
                          std::chrono::steady_clock::now().time_since_epoch())
                          .count();
  int64_t last = lastTrim.load();
  if (now - last < 1000 || !lastTrim.compare_exchange_strong(last, now)) return;
  malloc_trim(0);
}

int64_t CeProcessHeap::blocksInUse() { return blocks.load(); }

void CeProcessHeap::setAllocationsLeft(int64_t count) {
  allocationsLeft.store(count < 0 ? kUnlimited : count);
}
