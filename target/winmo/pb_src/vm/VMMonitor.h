#pragma once

// Monitors of Java objects.
//
// Every object can be locked. Java threads run only while they hold the global
// VM lock and change hands only where they give it up, so an uncontended
// monitor is just the owner and recursion count in the object's header (a
// thin monitor). The first time a second thread contends for it, or somebody
// waits on it, the monitor gets a platform lock (HALLock) and stays inflated
// for the rest of the object's life; the owner of an inflated monitor holds
// that lock, one level, for as long as it owns the monitor.
//
// The owner word is the current-thread word (the owner's VMThread record).

#include <cstdint>

#include "VMObject.h"
#include "VMThread.h"

// Monitor enter: takes the monitor of `o` (one more level when the current
// thread owns it already). A thread that must wait for another owner gives up
// the global lock while it waits.
inline void _VM_lock(java::lang::Object* o);
// Monitor exit: gives up one level. Leaving a monitor the current thread does
// not own is a fatal error.
inline void _VM_unlock(java::lang::Object* o);
// Gives the monitor its platform lock (nothing when it has one). A monitor
// owned by another thread cannot be inflated (fatal error).
void _VM_inflateMonitor(java::lang::Object* o);
// The waiting of class initialisation: waits on the monitor of `o`, which the
// current thread owns, until it is notified. An interrupt does not end it
// with InterruptedException; it stays pending for the next wait or sleep.
void _VM_waitUninterruptibly(java::lang::Object* o);

// Object.wait(timeout) (ms; 0 = no limit): IllegalArgumentException for a
// negative timeout, IllegalMonitorStateException unless the current thread
// owns the monitor; then the monitor is inflated and the thread waits
// (VMThread::wait) and comes back owning it as before.
void _VM_wait(java::lang::Object* o, int64_t timeout);
// Object.notify / notifyAll: IllegalMonitorStateException unless the current
// thread owns the monitor; wake the longest-waiting / every waiter (a thin
// monitor has none) once the owner lets the monitor go.
void _VM_notify(java::lang::Object* o);
void _VM_notifyAll(java::lang::Object* o);
// Delivers the notifies of the owner of `o` before it lets the monitor go.
void _VM_deliverNotifies(java::lang::Object* o);

// The uncommon roads of _VM_lock and _VM_unlock (contention, inflated
// monitors, errors); they handle every case.
void _VM_lockSlow(java::lang::Object* o);
void _VM_unlockSlow(java::lang::Object* o);
// Threads waiting for a thin monitor owned by another thread (used only
// under the global lock).
extern int _VM_monitorContenders;

// The thin roads inline: a synchronized block on an uncontended object costs
// a few loads and stores.
// Takes a thin monitor that is free or already the caller's; false when it
// is inflated or another thread owns it.
inline bool _VM_tryLockThin(java::lang::Object* o, uintptr_t self) {
  if (o->_VM_monitorLock != nullptr) return false;
  if (o->_VM_monitorCount == 0) {
    o->_VM_monitorOwner = self;
    o->_VM_monitorCount = 1;
    return true;
  }
  if (o->_VM_monitorOwner == self) {
    ++o->_VM_monitorCount;
    return true;
  }
  return false;
}

inline void _VM_lock(java::lang::Object* o) {
  if (!_VM_tryLockThin(o, reinterpret_cast<uintptr_t>(_VM_currentThread))) _VM_lockSlow(o);
}

inline void _VM_unlock(java::lang::Object* o) {
  if (o->_VM_monitorLock == nullptr && o->_VM_monitorCount > 0 && _VM_monitorContenders == 0 &&
      o->_VM_monitorOwner == reinterpret_cast<uintptr_t>(_VM_currentThread)) {
    if (--o->_VM_monitorCount == 0) o->_VM_monitorOwner = 0;
    return;
  }
  _VM_unlockSlow(o);
}
