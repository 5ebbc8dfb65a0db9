#include "VMHeap.h"

#include <algorithm>
#include <cstring>

#include "HALMemory.h"
#include "VMCollector.h"
#include "VMHeapServices.h"
#include "VMServices.h"
#include "VMSmallBlocks.h"
#include "VMThread.h"
#include "VMThrow.h"
#include "java_lang_OutOfMemoryError.h"

namespace {

VMHeapState heap;
VMHeapServices services;

// The most a caller may ask for: the size word must hold it with the header.
constexpr uint64_t kMaxRequest = VM_HEAP_SIZE_MASK - VM_HEAP_HEADER_SIZE;

void* finish(void* block, uint32_t sizeWord) {
  *static_cast<uint32_t*>(block) = sizeWord;
  return static_cast<char*>(block) + VM_HEAP_HEADER_SIZE;
}

uint64_t inUse(uint64_t n) {
  return HAL_getMemoryInUse() + heap.allocated.load(std::memory_order_relaxed) + n;
}

[[noreturn]] void outOfMemory(bool mayThrow) {
  VMThread* thread = _VM_currentThread;
  if (mayThrow && thread != nullptr) {
    // The error is built on the platform's reserve; once it exists the
    // thread's allocations keep to the heap's limit again, so a caught
    // error never leaves the thread allocating past it.
    struct Reporting {
      VMThread* thread;
      explicit Reporting(VMThread* t) : thread(t) { thread->reportingOutOfMemory = 1; }
      ~Reporting() { thread->reportingOutOfMemory = 0; }
    };
    VMPtr<java::lang::OutOfMemoryError> error;
    {
      Reporting reporting(thread);
      error = java::lang::OutOfMemoryError::_VM_new();
      error->_VM_init();
    }
    _VM_throw(error);
  }
  _VM_fatalError("Ran out of memory while exceptions are forbidden!");
}

}  // namespace

VMHeapState& _VM_heapState() { return heap; }
VMHeapServices& _VM_heapServices() { return services; }

void _VM_initHeap(uint64_t minimum, uint64_t maximum) {
  if (minimum > maximum) _VM_fatalError("The initial heap size is larger than the maximum heap size.");
  heap.allocated = 0;
  heap.minimum = minimum;
  heap.limit = minimum;
  heap.maximum = maximum;
  heap.enabled = true;
}

void _VM_disableHeap() { heap.enabled = false; }

void* _VM_alloc(size_t size, bool mayThrow) {
  if (!heap.enabled.load(std::memory_order_relaxed)) {
    // Early start-up and shutdown: blocks are taken without accounting.
    void* block = size <= kMaxRequest ? HAL_allocateMemory(size + VM_HEAP_HEADER_SIZE, 0) : nullptr;
    if (block == nullptr) _VM_fatalError("Ran out of memory during VM initialization!");
    return finish(block, static_cast<uint32_t>(size + VM_HEAP_HEADER_SIZE) | VM_HEAP_DISABLED_BIT);
  }
  VMThread* thread = _VM_currentThread;
  const bool reporting = thread != nullptr && thread->reportingOutOfMemory;
  // A request that the size word cannot hold, or that is larger than the
  // whole heap, can never succeed: no collection is tried for it.
  if (size > kMaxRequest || (size + VM_HEAP_HEADER_SIZE > heap.maximum && !reporting)) outOfMemory(mayThrow);

  const uint64_t n = size + VM_HEAP_HEADER_SIZE;
  // Stress mode: a collection at every allocation, except while an
  // out-of-memory report is built (that road never collects).
  if (_VM_gcStressMode() && !reporting) _VM_collect();
  for (int tries = 0;; ++tries) {
    void* block = nullptr;
    if (inUse(n) <= heap.limit) {
      block = VMSmallBlocks::serves(n) ? VMSmallBlocks::take(n) : HAL_allocateMemory(n, 0);
    }
    if (block != nullptr) {
      heap.allocated.fetch_add(n, std::memory_order_relaxed);
      return finish(block, static_cast<uint32_t>(n));
    }
    if (thread != nullptr && thread->reportingOutOfMemory) {
      // Building an OutOfMemoryError: take the platform's reserve.
      block = HAL_allocateMemory(n, 1);
      if (block == nullptr) {
        _VM_fatalError("Ran out of memory while trying to report an out of memory condition!");
      }
      heap.allocated.fetch_add(n, std::memory_order_relaxed);
      return finish(block, static_cast<uint32_t>(n) | VM_HEAP_RESERVE_BIT);
    }
    if (tries >= 3) break;
    _VM_collect();
    heap.limit = std::clamp(2 * inUse(n), heap.minimum, heap.maximum);
    if (thread != nullptr) {
      if (tries == 1 && services.yield) services.yield();
      if (tries == 2 && services.sleep) services.sleep(10);
    }
  }
  outOfMemory(mayThrow);
}

void* _VM_operatorNew(size_t size) { return _VM_alloc(size, true); }

void _VM_free(void* p) {
  if (p == nullptr) return;
  void* block = static_cast<char*>(p) - VM_HEAP_HEADER_SIZE;
  const uint32_t word = *static_cast<uint32_t*>(block);
  const bool uncounted = (word & VM_HEAP_DISABLED_BIT) && !(word & VM_HEAP_RESERVE_BIT);
  const uint32_t size = word & VM_HEAP_SIZE_MASK;
  if (!uncounted) heap.allocated.fetch_sub(size, std::memory_order_relaxed);
  // Blocks of the normal road (neither bit set) that are small came from
  // the size classes.
  if ((word & (VM_HEAP_DISABLED_BIT | VM_HEAP_RESERVE_BIT)) == 0 && VMSmallBlocks::serves(size)) {
    VMSmallBlocks::give(block, size);
  } else {
    HAL_freeMemory(block);
  }
}

uint32_t _VM_blockSize(const void* p) {
  const void* block = static_cast<const char*>(p) - VM_HEAP_HEADER_SIZE;
  return *static_cast<const uint32_t*>(block) & VM_HEAP_SIZE_MASK;
}

int64_t _VM_getFreeMemory() {
  const int64_t free = static_cast<int64_t>(heap.maximum) - static_cast<int64_t>(HAL_getMemoryInUse()) -
                       static_cast<int64_t>(heap.allocated.load(std::memory_order_relaxed));
  return free > 0 ? free : 0;
}

int64_t _VM_getTotalMemory() { return static_cast<int64_t>(heap.maximum); }
