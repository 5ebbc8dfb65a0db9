#include "VMThread.h"

#include <unistd.h>

#include <atomic>
#include <thread>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "HALCallbacks.h"
#include "HALGlobalLock.h"
#include "HALLock.h"
#include "HALThread.h"
#include "VMCollector.h"
#include "VMContext.h"
#include "VMExitException.h"
#include "VMHeap.h"
#include "VMHeapServices.h"
#include "VMMonitor.h"
#include "VMServices.h"
#include "VMSynchronized.h"
#include "VMThrow.h"
#include "java_lang_InterruptedException.h"
#include "java_lang_Thread.h"
#include "java_lang_Throwable.h"

VMThread* _VM_currentThread = nullptr;

void _VM_setCurrentThread(VMThread* thread) {
  _VM_currentThread = thread;
  _VM_currentStackList = thread ? &thread->stackList : nullptr;
}

namespace {

// Set once the VM has been destroyed: a Java thread that takes the global
// lock after that never touches VM state again.
std::atomic<bool> vmDestroyed{false};

// Gives the global lock away for good and blocks the calling thread until
// the process ends. It waits on nothing the process destroys at exit (a
// static condition variable's destructor would wait for this waiter for
// ever and keep the process from ending).
[[noreturn]] void park() {
  HAL_suspendGlobalLock();
  for (;;) ::pause();
}

void reattach() {
  if (vmDestroyed.load()) {
    auto* self = reinterpret_cast<VMThread*>(HAL_getCurrentThreadData());
    if (self != nullptr && self->isJavaThread()) park();
  }
  VMThread::enterVM();
}

void sleepForAllocator(unsigned milliseconds) { VMThread::sleepUninterruptibly(milliseconds); }

}  // namespace

VMThread::VMThread(HALThread* mainThread) : state(kRunning), halThread(mainThread) {
  HAL_setCurrentThreadData(mainThread, reinterpret_cast<uintptr_t>(this));
  _VM_setCurrentThread(this);
  if (_VM_vm != nullptr) _VM_vm->threads.addFirst(this);
}

VMThread::VMThread(java::lang::Thread* thread) : state(kNew), thread(thread), ownsHalThread_(true) {
  // Listed first: adding may throw OutOfMemoryError, and then nothing else
  // has been made.
  if (_VM_vm != nullptr) _VM_vm->threads.addFirst(this);
  if (HAL_createThread(&halThread, &VMThread::entry, reinterpret_cast<uintptr_t>(this)) != HAL_OK) {
    _VM_fatalError("Unable to create thread!");
  }
}

VMThread::~VMThread() {
  if (_VM_vm != nullptr) _VM_vm->threads.remove(this);
  if (thread != nullptr) thread->_VM_record = nullptr;
  if (ownsHalThread_) HAL_deleteThread(halThread);
  if (_VM_currentThread == this) {
    _VM_setCurrentThread(nullptr);
  } else if (_VM_currentStackList == &stackList) {
    _VM_currentStackList = nullptr;
  }
}

void* VMThread::operator new(size_t size) { return _VM_operatorNew(size); }

void VMThread::operator delete(void* block) { _VM_free(block); }

VMThread* VMThread::current() { return _VM_currentThread; }

void VMThread::markVMDestroyed() { vmDestroyed.store(true); }

VMThread* VMThread::enterVM() {
  VMThread* self = reinterpret_cast<VMThread*>(HAL_getCurrentThreadData());
  _VM_setCurrentThread(self);
  return self;
}

void VMThread::yield() {
  if (_VM_inNoYieldWindow() || !HAL_holdsGlobalLock()) return;
  _VM_setCurrentThread(nullptr);
  HAL_yieldGlobalLock();  // re-attaches on return
}

int32_t VMThread::countAlive() {
  if (_VM_vm == nullptr) return 0;
  int32_t alive = 0;
  for (HALListNode* n = _VM_vm->threads.getFirst(); n != nullptr; n = _VM_vm->threads.getNext(n)) {
    if (static_cast<VMThread*>(_VM_vm->threads.getValue(n))->isAlive()) ++alive;
  }
  return alive;
}

void VMThread::sleepUninterruptibly(uint32_t milliseconds) {
  if (HAL_getCurrentThread() == nullptr) return;
  HAL_sleep(milliseconds);
}

void VMThread::installServices() {
  VMCallbacks table = *HAL_getVMCallbacks();
  table.reattach = reattach;
  table.detach = yield;
  HAL_setVMCallbacks(&table);
  _VM_heapServices().yield = yield;
  _VM_heapServices().sleep = sleepForAllocator;
}

void VMThread::start() {
  if (state != kNew) return;
  state = kRunning;
  executionRef = VMPtr<java::lang::Object>(thread);
  if (HAL_startThread(halThread) != HAL_OK) _VM_fatalError("Unable to create thread!");
}

void VMThread::cancel() {
  if (state == kRunning) HAL_cancelThread(halThread);
}

void VMThread::interrupt() {
  if (!isAlive()) return;
  interrupted = 1;
  // A waiting thread armed its wake-up before it gave up the global lock,
  // which the caller holds now: the wake is not lost.
  if (state == kWaiting) HAL_wakeThread(halThread);
}

void VMThread::checkInterrupted() {
  if (!interrupted) return;
  interrupted = 0;
  _VM_throwNew<java::lang::InterruptedException>();
}

void VMThread::blockOnMonitor(java::lang::Object* monitor, int64_t timeout) {
  const int32_t count = monitor->_VM_monitorCount;
  const uintptr_t owner = monitor->_VM_monitorOwner;
  monitor->_VM_monitorCount = 0;
  monitor->_VM_monitorOwner = 0;
  // Notifies made before this wait go to threads that waited before it.
  _VM_deliverNotifies(monitor);
  HALLock* lock = monitor->_VM_monitorLock;
  const int32_t before = state;
  state = kWaiting;
  waitLock = lock;
  // Frees the monitor's lock and the global lock (every level of each) and
  // takes both back, re-attaching this thread.
  HAL_waitLock(lock, timeout);
  state = before;
  waitLock = nullptr;
  monitor->_VM_monitorCount = count;
  monitor->_VM_monitorOwner = owner;
}

void VMThread::wait(java::lang::Object* monitor, int64_t timeout) {
  if (state != kRunning) return;
  checkInterrupted();
  blockOnMonitor(monitor, timeout);
  checkInterrupted();
}

void VMThread::waitUninterruptibly(java::lang::Object* monitor) {
  // Waits in any state: its caller (class initialisation) loops until the
  // condition holds, and must not spin holding the global lock.
  blockOnMonitor(monitor, 0);
}

void VMThread::sleep(int64_t timeout) {
  if (state != kRunning) return;
  checkInterrupted();
  if (timeout > 0) {
    state = kWaiting;
    // Armed before the global lock goes: an interrupt from the thread that
    // takes it next wakes this one at once.
    HAL_sleep(HAL_waitLockMilliseconds(timeout));
    state = kRunning;
  } else {
    yield();
  }
  checkInterrupted();
}

bool VMThread::hasLeftTheVM() const {
  return ownsHalThread_ && state == kTerminated && executionRef.isNull() && halThread != nullptr &&
         HAL_hasThreadStarted(halThread);
}

bool VMThread::waitUntilFinished(int milliseconds) const {
  for (int waited = 0; !HAL_hasThreadFinished(halThread); ++waited) {
    if (waited >= milliseconds) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

bool VMThread::isCollectable() const { return thread == nullptr && hasEnded(); }

bool VMThread::hasEnded() const {
  if (!ownsHalThread_ || isAlive()) return false;
  return halThread == nullptr || !HAL_hasThreadStarted(halThread) || HAL_hasThreadFinished(halThread);
}

void VMThread::entry(uintptr_t record) {
  if (record == 0) return;
  try {
    VMThread_run(reinterpret_cast<VMThread*>(record));
  } catch (...) {
    _VM_fatalError("Unexpected exception in VMThread_run() #1!");
  }
}

void VMThread_run(VMThread* record) {
  _VM_setCurrentThread(record);
  {
    VMPtr<java::lang::Thread> thread(record->thread);
    try {
      thread->run();
    } catch (VMExitException*) {
      if (_VM_vm != nullptr) _VM_vm->exitRequested = 1;
    } catch (java::lang::Throwable* t) {
      VMPtr<java::lang::Throwable> uncaught(t);
      try {
        uncaught->printStackTrace();
      } catch (...) {
        _VM_fatalError("Unexpected exception in VMThread_run() #2!");
      }
    } catch (...) {
      _VM_fatalError("Unexpected exception in VMThread_run() #1!");
    }
    record->exceptionInFlight = nullptr;
    record->state = VMThread::kTerminated;
    // Threads waiting on the Thread object (join-style) learn that it ended.
    VMSynchronized guard(thread);
    thread->notifyAll();
  }
  record->executionRef = nullptr;
}
