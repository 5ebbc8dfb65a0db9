#pragma once

#include <cstddef>
#include <cstdint>

struct HALThread;

// The six functions through which the platform layer calls up into the VM.
// Empty slots are filled with defaults by HAL_setVMCallbacks: a function
// returning 0 for the first two, a function doing nothing for the others.
struct VMCallbacks {
  // Creates the VM and runs its start-up; 0 ok, 1 failed, 2 uncaught exception.
  int (*initialize)(uint64_t heapMinimum, uint64_t heapMaximum, HALThread* mainThread,
                    const char* bootClassName, int reserved);
  // Delivers one platform event to the VM's listeners.
  int (*broadcastEvent)(int type, int count, const intptr_t* payload);
  // Lets the calling thread step out of the VM for a moment.
  void (*detach)();
  // Tells the VM which thread holds the global lock; called after every entry of it.
  void (*reattach)();
  // Runs a garbage collection.
  void (*collectGarbage)();
  // Stops and destroys the VM.
  void (*destroy)();
};

// Copies the table (null keeps the current one) and fills its empty slots.
void HAL_setVMCallbacks(const VMCallbacks* table);
// The current table; never null and never with an empty slot.
const VMCallbacks* HAL_getVMCallbacks();
