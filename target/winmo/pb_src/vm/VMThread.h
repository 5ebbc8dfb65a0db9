#pragma once

#include <cstdint>

#include "VMRef.h"

namespace java::lang {
class Object;
}

// The runtime's record of one thread that runs Java code: its stack list of
// references (a root of the collector) and its per-thread flags.
class VMThread {
 public:
  VMThread() = default;
  VMThread(const VMThread&) = delete;
  VMThread& operator=(const VMThread&) = delete;

  // Head of this thread's stack-scope list.
  VMRefList stackList{nullptr};
  // Set while this thread builds an OutOfMemoryError: its allocations may use
  // the platform's start-up reserve. Cleared by every collection.
  uint8_t reportingOutOfMemory = 0;
  // The exception this thread threw last: a root of the collector, so the
  // object survives between the throw and the handler that binds it.
  java::lang::Object* exceptionInFlight = nullptr;
};

// The record of the thread that holds the global VM lock, or null.
extern VMThread* _VM_currentThread;

// Makes `thread` the current thread: its stack list becomes the current one.
// Called whenever a thread (re)enters the VM.
void _VM_setCurrentThread(VMThread* thread);
