#include "VMContext.h"

#include "HALCallbacks.h"
#include "HALClock.h"
#include "HALEvents.h"
#include "HALLimits.h"
#include "VMClassRegistry.h"
#include "VMCollector.h"
#include "VMExitException.h"
#include "VMFinalizer.h"
#include "VMHeap.h"
#include "VMServices.h"
#include "VMThread.h"
#include "VMThrow.h"
#include "java_lang_NoClassDefFoundError.h"
#include "java_lang_String.h"
#include "java_lang_Throwable.h"

VMContext* _VM_vm = nullptr;

namespace {

VMSpecialValues specialValues;

// Core classes initialised at start-up, in this order.
const char* const kPreloadedClasses[] = {
    "java.lang.Object",     "java.lang.Class",
    "java.lang.String",     "java.lang.Thread",
    "java.lang.Throwable",  "java.lang.Exception",
    "java.lang.Error",      "java.lang.ExceptionInInitializerError",
    "java.lang.NoClassDefFoundError", "java.lang.VirtualMachineError",
    "java.lang.OutOfMemoryError",     "java.lang.RuntimeException",
    "java.lang.NullPointerException", "java.lang.System",
};

constexpr int64_t kStopWait = 250;
constexpr int64_t kCancelWait = 100;
constexpr uint32_t kWaitStep = 20;

void fillSpecialValues() {
  uint32_t* f = specialValues.floatBits;
  HAL_getFloatLimits(&f[0], &f[1], &f[2], &f[3], &f[4]);
  auto& d = specialValues.doubleBits;
  HAL_getDoubleLimits(d[0], d[1], d[2], d[3], d[4]);
  specialValues.ready = 1;
}

// Runs `step` for every record but the caller's.
template <class F>
void forOtherThreads(VMContext* vm, VMThread* self, F step) {
  for (HALListNode* n = vm->threads.getFirst(); n != nullptr; n = vm->threads.getNext(n)) {
    auto* t = static_cast<VMThread*>(vm->threads.getValue(n));
    if (t != self) step(t);
  }
}

int initializeCallback(uint64_t heapMinimum, uint64_t heapMaximum, HALThread* mainThread, const char* bootClassName,
                       int /*reserved*/) {
  _VM_vm = new VMContext();
  return _VM_vm->init(heapMinimum, heapMaximum, mainThread, bootClassName, 0);
}

void collectCallback() { _VM_collect(); }

void destroyCallback() {
  if (_VM_vm == nullptr) return;
  _VM_vm->shutdown();
  delete _VM_vm;
  _VM_vm = nullptr;
}

}  // namespace

VMSpecialValues& _VM_specialValues() { return specialValues; }

void _VM_onSystemEvent(int type, int /*count*/, const intptr_t* /*payload*/) {
  if (type == HAL_EVENT_EXIT && _VM_vm != nullptr) _VM_vm->exitRequested = 1;
}

const VMCallbacks* _VM_getCallbacks() {
  VMThread::installServices();  // re-attach, detach and the allocator's yield and sleep
  VMCallbacks table = *HAL_getVMCallbacks();
  table.initialize = initializeCallback;
  table.broadcastEvent = HAL_broadcastEvent;
  table.collectGarbage = collectCallback;
  table.destroy = destroyCallback;
  HAL_setVMCallbacks(&table);
  return HAL_getVMCallbacks();
}

int VMContext::init(uint64_t heapMinimum, uint64_t heapMaximum, HALThread* mainPlatformThread,
                    const char* bootClassName, intptr_t bootArgument) {
  _VM_vm = this;
  stage = kStageHeap;
  _VM_initHeap(heapMinimum, heapMaximum);

  stage = kStageEvents;
  HAL_createEventRegistry();
  HAL_addEventListener(_VM_onSystemEvent, 1u << HAL_EVENT_EXIT, 0);
  fillSpecialValues();

  stage = kStageMainThread;
  mainThread = new VMThread(mainPlatformThread);

  try {
    stage = kStageClassTables;
    _VM_getClassRegistry();
    _VM_getInternTable();
    stage = kStageClasses;
    _VM_createClasses();
    stage = kStageInterfaces;
    _VM_registerInterfaces();
    _VM_checkClassRegistrations();
    stage = kStageEntryPoints;
    _VM_registerEntryPoints();
    stage = kStageResolved;
    _VM_setClassesResolved();

    stage = kStagePreload;
    for (const char* name : kPreloadedClasses) {
      if (java::lang::Class* c = _VM_findClass(name)) _VM_ensureInitialized(c);
    }

    stage = kStageSystemThreads;
    VMPtr<java::lang::Thread> system = java::lang::Thread::_VM_new();
    system->_VM_initMain(mainThread, _VM_intern("System"));
    systemThread = system;
    VMPtr<com::ravelstone::brume::vm::Finalizer> made = com::ravelstone::brume::vm::Finalizer::_VM_new();
    made->_VM_init();
    finalizer = made;

    stage = kStageFirstCollection;
    finalizerStartPending = 1;
    _VM_collect(this);

    stage = kStageRunning;
    if (bootClassName == nullptr) return kNoBootClass;
    return runBootClass(bootClassName, bootArgument);
  } catch (java::lang::Throwable* t) {
    VMPtr<java::lang::Throwable> uncaught(t);
    return kUncaught;
  } catch (VMExitException* e) {
    VMPtr<VMExitException> exit(e);
    exitRequested = 1;
    return kUncaught;
  }
}

int VMContext::runBootClass(const char* bootClassName, intptr_t bootArgument) {
  java::lang::Class* boot = _VM_findClass(bootClassName);
  if (boot == nullptr || boot->_VM_entryPoint == nullptr) _VM_throwNew<java::lang::NoClassDefFoundError>();
  _VM_ensureInitialized(boot);
  boot->_VM_entryPoint(bootArgument);
  return kBootReturned;
}

bool VMContext::waitForThreads(int64_t milliseconds) {
  const int64_t start = HAL_getCurrentTimeMillis();
  while (VMThread::countAlive() > 1) {
    if (HAL_getCurrentTimeMillis() - start >= milliseconds) return false;
    VMThread::sleepUninterruptibly(kWaitStep);
  }
  return true;
}

void VMContext::shutdown() {
  VMThread* self = VMThread::current();
  {
    VMPtr<com::ravelstone::brume::vm::Finalizer> f(finalizer);
    if (f && f->isAlive()) f->requestStop();
  }
  if (!waitForThreads(kStopWait)) {
    _VM_debugLog("Threads failed to stop within 250 milliseconds...\n");
    _VM_debugLog("Sending an interrupt to all threads.\n");
    forOtherThreads(this, self, [](VMThread* t) { t->interrupt(); });
    if (!waitForThreads(kStopWait)) {
      _VM_debugLog("Threads failed to respond to interrupt within 250 milliseconds...\n");
      forOtherThreads(this, self, [](VMThread* t) { t->cancel(); });
      if (!waitForThreads(kCancelWait)) _VM_debugLog("Threads failed to respond to cancel within 100 milliseconds...\n");
    }
  }
  // From here on no other thread gets the global lock back from us.
  _VM_enterNoYieldWindowForGood();
  if (VMThread::countAlive() > 1) _VM_debugLog("Terminating with outstanding threads.\n");
  specialValues.ready = 0;
  HAL_deleteEventRegistry();
  _VM_disableHeap();
  finalizer = nullptr;
  systemThread = nullptr;
}

VMContext::~VMContext() {
  finalizer = nullptr;
  systemThread = nullptr;
  // Records of threads that have ended go (deleting one joins its platform
  // thread), also of threads that ended while shutdown ran and are only
  // finishing their platform part now; a record whose thread may still run
  // stays where it is, so that thread never finds its record freed. The
  // main thread's record stays with the main thread, which goes on running
  // the platform.
  HALListNode* n = threads.getFirst();
  while (n != nullptr) {
    HALListNode* next = threads.getNext(n);
    auto* t = static_cast<VMThread*>(threads.getValue(n));
    if (t->hasEnded() || (t->hasLeftTheVM() && t->waitUntilFinished(1000))) delete t;
    n = next;
  }
  threads.clear();
  if (_VM_vm == this) _VM_vm = nullptr;
  VMThread::markVMDestroyed();
}
