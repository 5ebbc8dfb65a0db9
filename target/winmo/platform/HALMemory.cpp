#include "HALMemory.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <limits>

#include "CeProcessHeap.h"
#include "CeShell.h"
#include "HALCallbacks.h"
#include "HALGlobalLock.h"
#include "HALThreadRecord.h"

namespace {

// Bytes held through the buffer allocators, headers included, and the part
// of them held through the image pair.
std::atomic<uint64_t> platformBytes{0};
std::atomic<uint64_t> imageBytes{0};

// The start-up reserve, or null when it is not held.
std::atomic<void*> reserve{nullptr};

constexpr size_t kMaxSizeWord = std::numeric_limits<uint32_t>::max();

// True when the calling thread runs Java code, so that a collection may
// run on it.
bool threadRunsJava() {
  HALThread* thread = HAL_getCurrentThread();
  return thread && thread->data != 0;
}

void collectGarbage() {
  HAL_enterGlobalLock();
  const VMCallbacks* callbacks = HAL_getVMCallbacks();
  callbacks->reattach();
  callbacks->collectGarbage();
  HAL_leaveGlobalLock();
}

// The total size a block of the buffer allocators holds in its first word.
uint32_t blockSize(const void* block) {
  uint32_t total;
  std::memcpy(&total, block, sizeof total);
  return total;
}

void* allocateCounted(size_t size, bool image) {
  if (size > kMaxSizeWord - HAL_BUFFER_HEADER_SIZE) return nullptr;
  const size_t total = size + HAL_BUFFER_HEADER_SIZE;
  void* block = HAL_allocateWithCollect(total, 1, 1);
  if (!block) return nullptr;
  platformBytes.fetch_add(total);
  if (image) imageBytes.fetch_add(total);
  return static_cast<unsigned char*>(block) + HAL_BUFFER_HEADER_SIZE;
}

void freeCounted(void* address, bool image) {
  if (!address) return;
  void* block = static_cast<unsigned char*>(address) - HAL_BUFFER_HEADER_SIZE;
  const uint32_t total = blockSize(block);
  CeProcessHeap::release(block);
  platformBytes.fetch_sub(total);
  if (image) imageBytes.fetch_sub(total);
}

}  // namespace

void* HAL_allocateHeap(size_t size, int releaseReserve) {
  if (releaseReserve == 1) HAL_releaseMemoryReserve();
  void* block = CeProcessHeap::allocate(size);
  if (block) return block;
  if (!CeShell::requestFreeMemory(size)) return nullptr;
  return CeProcessHeap::allocate(size);
}

void HAL_freeHeap(void* block) { CeProcessHeap::release(block); }

void HAL_compactHeap() { CeProcessHeap::compact(); }

void* HAL_allocateWithCollect(size_t size, int mayCollect, int mayAskShell) {
  if (size > kMaxSizeWord) return nullptr;
  // The block holds at least its size word.
  const size_t taken = std::max(size, sizeof(uint32_t));
  void* block = CeProcessHeap::allocate(taken);
  if (!block && mayCollect && threadRunsJava()) {
    collectGarbage();
    block = CeProcessHeap::allocate(taken);
  }
  if (!block) {
    if (!mayAskShell || !CeShell::requestFreeMemory(size)) return nullptr;
    block = CeProcessHeap::allocate(taken);
    if (!block) return nullptr;
  }
  const uint32_t sizeWord = static_cast<uint32_t>(size);
  std::memcpy(block, &sizeWord, sizeof sizeWord);
  return block;
}

void* HAL_allocateBuffer(size_t size) { return allocateCounted(size, false); }

void HAL_freeBuffer(void* address) { freeCounted(address, false); }

void* HAL_allocateImageBuffer(size_t size) { return allocateCounted(size, true); }

void HAL_freeImageBuffer(void* address) { freeCounted(address, true); }

void* HAL_shrinkImageBuffer(void* address, size_t size) {
  void* block = static_cast<unsigned char*>(address) - HAL_BUFFER_HEADER_SIZE;
  const uint32_t total = blockSize(block);
  if (size >= total - HAL_BUFFER_HEADER_SIZE) return address;
  const uint32_t kept = static_cast<uint32_t>(size + HAL_BUFFER_HEADER_SIZE);
  block = CeProcessHeap::shrink(block, kept);
  std::memcpy(block, &kept, sizeof kept);
  platformBytes.fetch_sub(total - kept);
  imageBytes.fetch_sub(total - kept);
  return static_cast<unsigned char*>(block) + HAL_BUFFER_HEADER_SIZE;
}

uint64_t HAL_getAllocatedMemory() { return platformBytes.load(); }

uint64_t HAL_getAllocatedImageMemory() { return imageBytes.load(); }

void HAL_createMemoryReserve() {
  if (reserve.load()) return;
  void* block = CeProcessHeap::allocate(HAL_MEMORY_RESERVE_SIZE);
  void* expected = nullptr;
  if (block && !reserve.compare_exchange_strong(expected, block)) CeProcessHeap::release(block);
}

void HAL_releaseMemoryReserve() { CeProcessHeap::release(reserve.exchange(nullptr)); }

void* HAL_allocateMemory(size_t size, int releaseReserve) {
  return HAL_allocateHeap(size, releaseReserve);
}

void HAL_freeMemory(void* block) { HAL_freeHeap(block); }

uint64_t HAL_getMemoryInUse() { return HAL_getAllocatedMemory(); }

void HAL_compactMemory() { HAL_compactHeap(); }
