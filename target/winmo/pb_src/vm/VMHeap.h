#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "VMServices.h"

// The runtime allocator. Every block carries a 16-byte header in front of
// the address handed out (so objects, int64_t and double stay aligned); the
// first 32-bit word of the header is the size word:
//   bits 0-29  block size, header included
//   bit 30     taken with the platform's start-up reserve released
//   bit 31     taken while the heap was disabled (never counted)
constexpr size_t VM_HEAP_HEADER_SIZE = 16;
constexpr uint32_t VM_HEAP_SIZE_MASK = 0x3FFFFFFFu;
constexpr uint32_t VM_HEAP_RESERVE_BIT = 0x40000000u;
constexpr uint32_t VM_HEAP_DISABLED_BIT = 0x80000000u;

// Heap accounting. All counts are bytes, headers included.
struct VMHeapState {
  std::atomic<bool> enabled{false};
  std::atomic<uint64_t> allocated{0};
  uint64_t minimum = 0;
  uint64_t limit = 0;
  uint64_t maximum = 0;
};

VMHeapState& _VM_heapState();

// Enables accounting: nothing allocated, limit = minimum.
void _VM_initHeap(uint64_t minimum, uint64_t maximum);
// Stops accounting (at shutdown): later blocks are taken uncounted.
void _VM_disableHeap();

// Returns `size` uninitialised bytes; never null. When the heap is full it
// collects and retries; then it throws OutOfMemoryError when `mayThrow` is
// set and a current thread exists, and otherwise ends the process.
void* _VM_alloc(size_t size, bool mayThrow);
// _VM_operatorNew(size) is _VM_alloc(size, true); _VM_free frees a block of
// _VM_alloc (null is ignored). Both are declared with the platform's view
// of the runtime.
// Size of a block of _VM_alloc, header included.
uint32_t _VM_blockSize(const void* block);

// maximum - platform buffers - allocated, clamped at 0.
int64_t _VM_getFreeMemory();
// maximum.
int64_t _VM_getTotalMemory();
