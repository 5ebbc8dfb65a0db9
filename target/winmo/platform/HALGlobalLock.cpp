#include "HALGlobalLock.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "HALCallbacks.h"
#include "VMServices.h"

namespace {

// A ticket lock: every thread that asks for the lock draws the next ticket and
// waits until that ticket is served, so the lock goes out first come, first
// served. Recursion is counted per thread in `levelsHeld`.
struct TicketLock {
  std::mutex mutex;
  std::condition_variable turn;
  uint64_t nextTicket = 0;  // guarded by mutex
  uint64_t serving = 0;     // guarded by mutex
  bool held = false;        // guarded by mutex

  // Draws a ticket and waits for it. Called with `guard` holding `mutex`.
  void waitForTurn(std::unique_lock<std::mutex>& guard) {
    const uint64_t ticket = nextTicket++;
    turn.wait(guard, [&] { return serving == ticket; });
    held = true;
  }

  // Serves the next ticket. Called with `mutex` held.
  void handOn() {
    held = false;
    ++serving;
    if (serving != nextTicket) turn.notify_all();
  }
};

// Never destroyed: threads may still use it while the process exits.
TicketLock& globalLock() {
  static TicketLock* lock = new TicketLock;
  return *lock;
}

// How many levels of the global lock the calling thread holds.
thread_local int levelsHeld = 0;

}  // namespace

void HAL_enterGlobalLock() {
  if (levelsHeld > 0) {
    ++levelsHeld;
    return;
  }
  TicketLock& lock = globalLock();
  std::unique_lock<std::mutex> guard(lock.mutex);
  lock.waitForTurn(guard);
  levelsHeld = 1;
}

void HAL_leaveGlobalLock() {
  if (levelsHeld <= 0) _VM_fatalError("HAL_leaveGlobalLock() called by a thread that does not hold the lock\n");
  if (--levelsHeld > 0) return;
  TicketLock& lock = globalLock();
  std::lock_guard<std::mutex> guard(lock.mutex);
  lock.handOn();
}

void HAL_yieldGlobalLock() {
  if (levelsHeld <= 0) return;
  {
    TicketLock& lock = globalLock();
    std::unique_lock<std::mutex> guard(lock.mutex);
    // Giving the lock up and queueing again is one step, so every thread that
    // was already waiting is served before this one.
    lock.handOn();
    lock.waitForTurn(guard);
  }
  HAL_getVMCallbacks()->reattach();
}

int HAL_suspendGlobalLock() {
  const int levels = levelsHeld;
  if (levels <= 0) return 0;
  levelsHeld = 0;
  TicketLock& lock = globalLock();
  std::lock_guard<std::mutex> guard(lock.mutex);
  lock.handOn();
  return levels;
}

void HAL_resumeGlobalLock(int levels) {
  if (levels <= 0) return;
  HAL_enterGlobalLock();
  levelsHeld += levels - 1;
  HAL_getVMCallbacks()->reattach();
}

int HAL_countGlobalLockWaiters() {
  TicketLock& lock = globalLock();
  std::lock_guard<std::mutex> guard(lock.mutex);
  return static_cast<int>(lock.nextTicket - lock.serving) - (lock.held ? 1 : 0);
}

bool HAL_holdsGlobalLock() { return levelsHeld > 0; }
