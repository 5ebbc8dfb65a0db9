#pragma once

#include <cstdint>

class VMContext;
class VMThread;

// A small VM for tests: the heap, the calling thread attached as the main
// thread (with its platform record, holding the global VM lock, the runtime's
// callbacks installed), every class created and the collector enabled. The
// main thread has no Thread object. One per process (the class registry
// cannot be reset); every test case runs in its own process.
struct VMTestEnv {
  static constexpr uint64_t kDefaultHeap = 64ull << 20;

  // Starts the VM once per process; later calls return the same one.
  static VMContext* start(uint64_t heapMinimum = kDefaultHeap, uint64_t heapMaximum = kDefaultHeap);
  // The main thread's record.
  static VMThread* mainThread();
};
