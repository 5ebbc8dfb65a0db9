#pragma once

#include <cstdint>

#include "HALList.h"
#include "VMRef.h"
#include "java_lang_Thread.h"

class VMThread;

// The one VM: its start-up stage, the collector's bookkeeping and the list
// of thread records. Start-up and shutdown are added to it as the runtime
// grows; a global pointer designates the instance.
class VMContext {
 public:
  // Collections are allowed from this start-up stage on.
  static constexpr int kCollectionStage = 12;

  VMContext() = default;
  VMContext(const VMContext&) = delete;
  VMContext& operator=(const VMContext&) = delete;

  int stage = 0;
  uint8_t exitRequested = 0;
  uint8_t finalizerStartPending = 0;
  uint8_t finalizableFound = 0;
  uint64_t collectionCount = 0;
  // Every VMThread record, newest first.
  HALList threads;
  // The Thread named "System" that stands for the main thread.
  VMNative<java::lang::Thread> systemThread;
  // The record of the main platform thread.
  VMThread* mainThread = nullptr;
};

// The VM, or null when none exists.
extern VMContext* _VM_vm;
