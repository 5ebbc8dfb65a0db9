#pragma once

// What the allocator needs of the collector and the thread code. Each part
// of the runtime installs its function when it starts; an empty slot is
// skipped, so the allocator works on its own in early start-up and in tests.
struct VMHeapServices {
  void (*collect)() = nullptr;                  // one full collection
  void (*yield)() = nullptr;                    // let other Java threads run
  void (*sleep)(unsigned milliseconds) = nullptr;  // back-off; never throws
  void (*throwOutOfMemoryError)() = nullptr;  // builds and throws the error; must not return
};

VMHeapServices& _VM_heapServices();
