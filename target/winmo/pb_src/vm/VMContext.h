#pragma once

#include <cstdint>

#include "HALList.h"
#include "VMFinalizer.h"
#include "VMRef.h"
#include "java_lang_Thread.h"

class VMThread;
struct HALThread;
struct VMCallbacks;

// The one VM: its start-up stages, the collector's bookkeeping, the thread
// records and the two system threads. A global pointer designates it.
class VMContext {
 public:
  // The start-up stages, in the order init runs them; `stage` holds the
  // last one begun. The numbers are the stages' names, not their order:
  // the main thread's record (9) is made between the events (2) and the
  // class tables (3), and 5 and 13 are not used.
  enum Stage : int {
    kStageHeap = 1,            // the runtime heap
    kStageEvents = 2,          // the event registry and the exit listener
    kStageMainThread = 9,      // the main thread's record
    kStageClassTables = 3,     // the class registry and the intern table
    kStageClasses = 4,         // the class objects
    kStageInterfaces = 6,      // interface records and the registration check
    kStageEntryPoints = 7,     // boot entry points
    kStageResolved = 8,        // classes marked resolved
    kStagePreload = 10,        // static initialisation of the core classes
    kStageSystemThreads = 11,  // the "System" thread and the finalizer
    kStageFirstCollection = 12,
    kStageRunning = 14,        // the boot class's entry runs
  };
  // Collections are allowed from this start-up stage on.
  static constexpr int kCollectionStage = kStageFirstCollection;

  // Results of init.
  static constexpr int kBootReturned = 0;   // the boot class's entry returned
  static constexpr int kNoBootClass = 1;    // started without a boot class
  static constexpr int kUncaught = 2;       // a Java exception (or exit) left the start-up

  VMContext() = default;
  ~VMContext();
  VMContext(const VMContext&) = delete;
  VMContext& operator=(const VMContext&) = delete;

  // Runs the start-up stages on the calling (main) thread, which holds the
  // global lock: heap, events, the main thread's record, classes, static
  // initialisation of the core classes, the "System" thread and the
  // finalizer, a first collection, then the boot class's entry function.
  int init(uint64_t heapMinimum, uint64_t heapMaximum, HALThread* mainThread, const char* bootClassName,
           intptr_t bootArgument);
  // Stops the other Java threads (a stop request, then an interrupt, then a
  // cancel, each followed by a bounded wait) and the runtime. Main thread,
  // global lock held.
  void shutdown();

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
  VMNative<com::ravelstone::brume::vm::Finalizer> finalizer;

 private:
  int runBootClass(const char* bootClassName, intptr_t bootArgument);
  // Sleeps in 20 ms steps while more than one thread is alive, up to
  // `milliseconds`; true when only the calling thread is left.
  bool waitForThreads(int64_t milliseconds);
};

// The VM, or null when none exists.
extern VMContext* _VM_vm;

// The VM's listener for platform events: the exit event sets exitRequested.
void _VM_onSystemEvent(int type, int count, const intptr_t* payload);

// The VM's callbacks for the platform layer: initialise (slot 0; creates
// the VM and runs init), re-attach and detach (slots 3 and 2), collect
// (slot 4) and destroy (slot 5; shutdown, then the VM is deleted). Slot 1
// (broadcast) is the platform's own HAL_broadcastEvent.
const VMCallbacks* _VM_getCallbacks();

// The float and double special values (maximum, minimum, NaN, negative and
// positive infinity), filled from the platform's bit patterns at start-up.
struct VMSpecialValues {
  uint8_t ready = 0;
  uint32_t floatBits[5] = {};
  uint32_t doubleBits[5][2] = {};
};
VMSpecialValues& _VM_specialValues();
