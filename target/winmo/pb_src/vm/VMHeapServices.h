#pragma once

// What the allocator needs of the thread code: letting other Java threads
// run between its tries. The thread code installs these when it starts; an
// empty slot is skipped, so the allocator works on its own in early start-up
// and in tests.
struct VMHeapServices {
  void (*yield)() = nullptr;                       // let other Java threads run
  void (*sleep)(unsigned milliseconds) = nullptr;  // back-off; never throws
};

VMHeapServices& _VM_heapServices();
