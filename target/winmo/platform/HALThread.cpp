#include "HALThreadRecord.h"

#include <chrono>
#include <new>
#include <system_error>

#include "HALCallbacks.h"
#include "HALGlobalLock.h"
#include "VMServices.h"

namespace {

constexpr uint32_t kSleepWithoutEnd = 0xFFFFFFFFu;

// The calling thread's record.
thread_local HALThread* currentThread = nullptr;

// What every platform-made thread runs: its entry function under the global
// lock.
void runThread(HALThread* thread) {
  currentThread = thread;
  thread->running.store(1);
  if (thread->entry) {
    try {
      HAL_enterGlobalLock();
      HAL_getVMCallbacks()->reattach();
      thread->entry(thread->data);
    } catch (...) {
      _VM_fatalError("Unexpected exception in a platform thread!\n");
    }
    // All levels: a thread that ends holding the lock would stop every other.
    HAL_suspendGlobalLock();
  }
  thread->running.store(0);
  thread->finished.store(1);
}

}  // namespace

void HALThread::armSleep() {
  std::lock_guard<std::mutex> guard(wakeMutex);
  sleeping = true;
}

void HALThread::sleepArmed(uint32_t milliseconds) {
  std::unique_lock<std::mutex> guard(wakeMutex);
  const auto woken = [this] { return !sleeping; };
  if (milliseconds == kSleepWithoutEnd) {
    wakeCondition.wait(guard, woken);
  } else {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    wakeCondition.wait_until(guard, deadline, woken);
  }
  sleeping = false;
}

void HALThread::wake() {
  // Notified under the mutex: the sleeper cannot return (and its record be
  // freed) before the notification is done.
  std::lock_guard<std::mutex> guard(wakeMutex);
  if (!sleeping) return;
  sleeping = false;
  wakeCondition.notify_all();
}

HALStatus HAL_createThread(HALThread** out, HALThreadEntry entry, uintptr_t data) {
  if (!out) return HAL_ILLEGAL_ARGUMENT_ERR;
  *out = new (std::nothrow) HALThread(entry, data);
  return *out ? HAL_OK : HAL_OUT_OF_MEMORY_ERR;
}

HALStatus HAL_startThread(HALThread* thread) {
  if (!thread || thread->attached) return HAL_OK;
  if (thread->started.exchange(1)) return HAL_OK;
  try {
    thread->handle = std::thread(runThread, thread);
  } catch (const std::system_error&) {
    thread->started.store(0);
    return HAL_OUT_OF_MEMORY_ERR;
  }
  return HAL_OK;
}

int HAL_attachMainThread() {
  if (currentThread) return 1;
  HALThread* thread = new (std::nothrow) HALThread(nullptr, 0);
  if (!thread) return 0;
  thread->attached = true;
  currentThread = thread;
  return 1;
}

HALThread* HAL_getCurrentThread() { return currentThread; }

uintptr_t HAL_getCurrentThreadData() { return currentThread ? currentThread->data : 0; }

void HAL_setCurrentThreadData(HALThread* thread, uintptr_t data) {
  if (thread) thread->data = data;
}

bool HAL_hasThreadStarted(const HALThread* thread) { return thread != nullptr && thread->started.load() != 0; }

bool HAL_hasThreadFinished(const HALThread* thread) { return thread != nullptr && thread->finished.load() != 0; }

void HAL_cancelThread(HALThread* thread) {
  if (thread) thread->cancelled.store(1);
}

void HAL_deleteThread(HALThread* thread) {
  if (!thread) return;
  if (thread->started.load() && !thread->finished.load()) {
    _VM_fatalError("HAL_deleteThread() called on thread that has not finished\n");
  }
  if (thread->handle.joinable()) thread->handle.join();
  if (thread == currentThread) currentThread = nullptr;
  delete thread;
}

void HAL_wakeThread(HALThread* thread) {
  if (thread) thread->wake();
}

void HAL_sleep(uint32_t milliseconds) {
  if (milliseconds == 0) {
    HAL_yieldGlobalLock();
    return;
  }
  HALThread* self = currentThread;
  if (!self) _VM_fatalError("HAL_sleep() called on a thread without a platform record\n");
  // Armed before the global lock goes, so a wake from a thread that takes the
  // lock next is not lost.
  self->armSleep();
  const int levels = HAL_suspendGlobalLock();
  self->sleepArmed(milliseconds);
  HAL_resumeGlobalLock(levels);
}

void HAL_yieldThread() { HAL_yieldGlobalLock(); }
