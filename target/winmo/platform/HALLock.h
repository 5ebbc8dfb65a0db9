#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "HALStatus.h"

struct HALThread;

// A lock with wait and notify: the platform side of an inflated monitor and of
// a thread's sleep. The lock itself is recursive and owned by one thread at a
// time. Threads waiting on it queue first come, first served; a notify wakes
// the first of them.
//
// Lock order: a thread never blocks for a HALLock while it holds the global
// lock. HAL_acquireLock and HAL_waitLock suspend the global lock while they
// block and resume it (with the re-attach callback) afterwards, so the order
// is always HALLock, then global lock.
struct HALLock {
  // One waiting thread. It lives on the waiting thread's stack for the length
  // of its wait and is out of the queue before the wait returns.
  struct Waiter {
    HALThread* thread;
    Waiter* next = nullptr;
    bool queued = false;
  };

  HALLock() = default;
  HALLock(const HALLock&) = delete;
  HALLock& operator=(const HALLock&) = delete;

  // Guards every field below. It is held only for short bookkeeping, never
  // while its holder blocks for anything but the lock itself becoming free,
  // so it may be taken with the global lock held.
  std::mutex mutex;
  // Signalled when the lock becomes free.
  std::condition_variable freed;
  // The owning thread (no thread when free) and how many levels it holds.
  std::thread::id owner;
  int levels = 0;
  // The queue of waiters, oldest first.
  Waiter* first = nullptr;
  Waiter* last = nullptr;
};

// Makes a lock; when `enterNow` is non-zero the calling thread owns it at
// once. HAL_OK and the lock in *out, or HAL_ILLEGAL_ARGUMENT_ERR (null `out`)
// or HAL_OUT_OF_MEMORY_ERR with *out null.
HALStatus HAL_createLock(HALLock** out, int enterNow);
// Takes the lock (one more level when the caller owns it already). Blocks
// with the global lock suspended, then resumes it and calls the re-attach
// callback.
void HAL_acquireLock(HALLock* lock);
// Gives up one level of the lock. Releasing a lock the calling thread does
// not own is a fatal error.
void HAL_releaseLock(HALLock* lock);
// Waits to be notified or woken (HAL_wakeThread), or until `timeout` ms have
// passed: 0 or negative waits without end, larger values are capped at
// 0xFFFFFFFE ms. The caller owns the lock: the wait releases every level of
// it and of the global lock, and takes them all back, lock first, before it
// returns, then calls the re-attach callback. A wait that ends without a
// notify leaves no entry in the queue.
void HAL_waitLock(HALLock* lock, int64_t timeout);
// Wakes the longest-waiting waiter; nothing when none waits.
void HAL_notifyLock(HALLock* lock);
// Wakes every waiter.
void HAL_notifyAllLock(HALLock* lock);
// Frees the lock. No thread may wait on it or block for it any more.
void HAL_deleteLock(HALLock* lock);

// The wait of HAL_waitLock in milliseconds for a timeout argument (0xFFFFFFFF:
// without end).
uint32_t HAL_waitLockMilliseconds(int64_t timeout);
