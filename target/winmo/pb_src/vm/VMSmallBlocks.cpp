#include "VMSmallBlocks.h"

#include <cstdint>

#include "HALMemory.h"

namespace {

constexpr size_t kGranule = 16;
constexpr size_t kClasses = VMSmallBlocks::kMaxBlock / kGranule;

struct FreeBlock {
  FreeBlock* next;
};

// Free blocks of each size class (class c holds blocks of (c + 1) * 16 bytes).
FreeBlock* freeLists[kClasses];

size_t classOf(size_t size) { return size == 0 ? 0 : (size - 1) / kGranule; }

// Carves a new chunk into blocks of class c; false when the platform heap
// has no chunk to give.
bool refill(size_t c) {
  void* chunk = HAL_allocateMemory(VMSmallBlocks::kChunkSize, 0);
  if (chunk == nullptr) return false;
  const size_t blockSize = (c + 1) * kGranule;
  const size_t count = VMSmallBlocks::kChunkSize / blockSize;
  char* base = static_cast<char*>(chunk);
  // Linked back to front, so blocks are handed out in address order.
  for (size_t i = count; i-- > 0;) {
    auto* block = reinterpret_cast<FreeBlock*>(base + i * blockSize);
    block->next = freeLists[c];
    freeLists[c] = block;
  }
  return true;
}

}  // namespace

void* VMSmallBlocks::take(size_t size) {
  const size_t c = classOf(size);
  if (freeLists[c] == nullptr && !refill(c)) return nullptr;
  FreeBlock* block = freeLists[c];
  freeLists[c] = block->next;
  return block;
}

void VMSmallBlocks::give(void* block, size_t size) {
  auto* freed = static_cast<FreeBlock*>(block);
  const size_t c = classOf(size);
  freed->next = freeLists[c];
  freeLists[c] = freed;
}
