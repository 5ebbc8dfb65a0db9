#pragma once

#include <cstddef>
#include <cstdint>

// The process heap of the phone system: plain malloc and free, with a seam
// through which tests make allocations fail.
class CeProcessHeap {
 public:
  CeProcessHeap() = delete;

  // `size` bytes aligned for any type, or null when the heap refuses.
  static void* allocate(size_t size);
  // Gives back the end of a block of allocate(), keeping its first `size`
  // bytes (at most the block's size); returns the block's address, which
  // may have moved. Never fails: a heap that cannot shrink the block in
  // place leaves it whole.
  static void* shrink(void* block, size_t size);
  // Returns a block of allocate(); null is ignored.
  static void release(void* block);
  // Gives unused memory at the top of the heap back to the system.
  static void compact();

  // Number of blocks taken from this heap and not yet released.
  static int64_t blocksInUse();

  // Test seam: the number of allocations that still succeed; every
  // allocation after them fails. 0 makes every allocation fail,
  // kUnlimited (the default) lets every allocation through.
  static constexpr int64_t kUnlimited = -1;
  static void setAllocationsLeft(int64_t count);
};
