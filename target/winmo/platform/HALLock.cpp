#include "HALLock.h"

#include <new>

#include "HALGlobalLock.h"
#include "HALThreadRecord.h"
#include "VMServices.h"

namespace {

constexpr uint32_t kWaitWithoutEnd = 0xFFFFFFFFu;
constexpr uint32_t kLongestTimedWait = 0xFFFFFFFEu;

// Takes `levels` levels of the lock for the calling thread, blocking while
// another thread owns it. `guard` holds lock->mutex.
void take(HALLock* lock, std::unique_lock<std::mutex>& guard, int levels) {
  const std::thread::id self = std::this_thread::get_id();
  if (lock->owner != self) {
    lock->freed.wait(guard, [lock] { return lock->levels == 0; });
    lock->owner = self;
  }
  lock->levels += levels;
}

bool ownedByCaller(const HALLock* lock) {
  return lock->levels > 0 && lock->owner == std::this_thread::get_id();
}

void append(HALLock* lock, HALLock::Waiter* waiter) {
  if (lock->last) {
    lock->last->next = waiter;
  } else {
    lock->first = waiter;
  }
  lock->last = waiter;
  waiter->queued = true;
}

void remove(HALLock* lock, HALLock::Waiter* waiter) {
  HALLock::Waiter* before = nullptr;
  for (HALLock::Waiter* w = lock->first; w; before = w, w = w->next) {
    if (w != waiter) continue;
    (before ? before->next : lock->first) = w->next;
    if (lock->last == w) lock->last = before;
    w->next = nullptr;
    w->queued = false;
    return;
  }
}

// Takes the first waiter out of the queue and wakes its thread. lock->mutex
// is held, so the waiter (on its thread's stack) is still there.
bool notifyFirst(HALLock* lock) {
  HALLock::Waiter* waiter = lock->first;
  if (!waiter) return false;
  remove(lock, waiter);
  waiter->thread->wake();
  return true;
}

}  // namespace

HALStatus HAL_createLock(HALLock** out, int enterNow) {
  if (!out) return HAL_ILLEGAL_ARGUMENT_ERR;
  HALLock* lock = new (std::nothrow) HALLock;
  *out = lock;
  if (!lock) return HAL_OUT_OF_MEMORY_ERR;
  if (enterNow) {
    lock->owner = std::this_thread::get_id();
    lock->levels = 1;
  }
  return HAL_OK;
}

void HAL_acquireLock(HALLock* lock) {
  if (!lock) return;
  const int globalLevels = HAL_suspendGlobalLock();
  {
    std::unique_lock<std::mutex> guard(lock->mutex);
    take(lock, guard, 1);
  }
  HAL_resumeGlobalLock(globalLevels);
}

void HAL_releaseLock(HALLock* lock) {
  if (!lock) return;
  std::lock_guard<std::mutex> guard(lock->mutex);
  if (!ownedByCaller(lock)) _VM_fatalError("HAL_releaseLock() called by a thread that does not own the lock\n");
  if (--lock->levels > 0) return;
  lock->owner = std::thread::id();
  lock->freed.notify_one();
}

uint32_t HAL_waitLockMilliseconds(int64_t timeout) {
  if (timeout <= 0) return kWaitWithoutEnd;
  if (static_cast<uint64_t>(timeout) > kLongestTimedWait) return kLongestTimedWait;
  return static_cast<uint32_t>(timeout);
}

void HAL_waitLock(HALLock* lock, int64_t timeout) {
  if (!lock) return;
  HALThread* self = HAL_getCurrentThread();
  if (!self) _VM_fatalError("HAL_waitLock() called on a thread without a platform record\n");
  const uint32_t milliseconds = HAL_waitLockMilliseconds(timeout);

  HALLock::Waiter waiter{self};
  int levels = 0;
  {
    std::lock_guard<std::mutex> guard(lock->mutex);
    if (!ownedByCaller(lock)) _VM_fatalError("HAL_waitLock() called by a thread that does not own the lock\n");
    // Queued and armed in one step: a notify either comes before (and is not
    // for this waiter) or finds it queued and ready to be woken.
    append(lock, &waiter);
    self->armSleep();
    levels = lock->levels;
    lock->levels = 0;
    lock->owner = std::thread::id();
    lock->freed.notify_one();
  }
  const int globalLevels = HAL_suspendGlobalLock();
  self->sleepArmed(milliseconds);
  {
    std::unique_lock<std::mutex> guard(lock->mutex);
    // Timed out or woken without a notify: the entry goes, so a later notify
    // reaches a thread that still waits.
    if (waiter.queued) remove(lock, &waiter);
    take(lock, guard, levels);
  }
  HAL_resumeGlobalLock(globalLevels);
}

void HAL_notifyLock(HALLock* lock) {
  if (!lock) return;
  std::lock_guard<std::mutex> guard(lock->mutex);
  notifyFirst(lock);
}

void HAL_notifyAllLock(HALLock* lock) {
  if (!lock) return;
  std::lock_guard<std::mutex> guard(lock->mutex);
  while (notifyFirst(lock)) {
  }
}

void HAL_deleteLock(HALLock* lock) { delete lock; }
