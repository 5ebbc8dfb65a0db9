#include "VMMonitor.h"

#include <cstdint>

#include "HALLock.h"
#include "VMObject.h"
#include "VMServices.h"
#include "VMThread.h"
#include "VMThrow.h"
#include "java_lang_IllegalArgumentException.h"
#include "java_lang_IllegalMonitorStateException.h"

using java::lang::Object;

namespace {

uintptr_t currentWord() { return reinterpret_cast<uintptr_t>(_VM_currentThread); }

// Threads that found a thin monitor owned by another thread wait here until
// some thin monitor is freed or inflated, then look again. They are counted
// in _VM_monitorContenders, so that freeing a monitor costs one compare when
// nobody contends. Both are used only under the global lock.
HALLock* contention = nullptr;

HALLock* contentionLock() {
  if (contention == nullptr && (HAL_createLock(&contention, 0) != HAL_OK || contention == nullptr)) {
    _VM_fatalError("HAL_createLock() failed in _VM_lock().");
  }
  return contention;
}

void wakeContenders() {
  if (_VM_monitorContenders > 0) HAL_notifyAllLock(contention);
}

// Blocks, without the global lock, until the thin monitor of `o` is free or
// inflated. The check and the wait's arming happen under the global lock, and
// every owner frees or inflates the monitor under it, so no wake is lost.
void waitForThinOwner(Object* o) {
  HALLock* lock = contentionLock();
  ++_VM_monitorContenders;
  HAL_acquireLock(lock);
  while (o->_VM_monitorLock == nullptr && o->_VM_monitorCount != 0) HAL_waitLock(lock, 0);
  HAL_releaseLock(lock);
  --_VM_monitorContenders;
}

bool ownedByCurrent(const Object* o) { return o->_VM_monitorCount > 0 && o->_VM_monitorOwner == currentWord(); }

}  // namespace

int _VM_monitorContenders = 0;

void _VM_lockSlow(Object* o) {
  const uintptr_t self = currentWord();
  if (_VM_tryLockThin(o, self)) return;
  if (o->_VM_monitorLock == nullptr) {
    // Contended: once the owner lets go, the monitor gets its platform lock,
    // so that later contenders block in it.
    waitForThinOwner(o);
    _VM_inflateMonitor(o);
  }
  if (o->_VM_monitorCount > 0 && o->_VM_monitorOwner == self) {
    ++o->_VM_monitorCount;
    return;
  }
  HAL_acquireLock(o->_VM_monitorLock);  // blocks without the global lock
  o->_VM_monitorOwner = self;
  o->_VM_monitorCount = 1;
}

void _VM_unlockSlow(Object* o) {
  if (!ownedByCurrent(o)) _VM_fatalError("Monitor state is invalid in _VM_unlock()!");
  if (--o->_VM_monitorCount > 0) return;
  o->_VM_monitorOwner = 0;
  if (o->_VM_monitorLock == nullptr) {
    wakeContenders();
    return;
  }
  // The notifies made while it was held wake their waiters now, and no one
  // else: a waiter ends its wait on a notify, an interrupt or its time-out,
  // never because another thread entered and left the monitor.
  _VM_deliverNotifies(o);
  HAL_releaseLock(o->_VM_monitorLock);
  VMThread::yield();
}

void _VM_inflateMonitor(Object* o) {
  if (o->_VM_monitorLock != nullptr) return;
  const bool owned = o->_VM_monitorCount > 0;
  if (owned && o->_VM_monitorOwner != currentWord()) {
    _VM_fatalError("Attempt to inflate a lock that we do not own in _VM_inflateMonitor().");
  }
  HALLock* lock = nullptr;
  if (HAL_createLock(&lock, owned ? 1 : 0) != HAL_OK || lock == nullptr) {
    _VM_fatalError("HAL_createLock() failed in _VM_inflateMonitor().");
  }
  o->_VM_monitorLock = lock;
}

void _VM_waitUninterruptibly(Object* o) {
  if (!ownedByCurrent(o)) _VM_fatalError("Monitor state is invalid in _VM_waitUninterruptibly()!");
  VMThread* self = VMThread::current();
  if (self == nullptr) return;
  _VM_inflateMonitor(o);
  wakeContenders();
  self->waitUninterruptibly(o);
}

void _VM_wait(Object* o, int64_t timeout) {
  if (timeout < 0) _VM_throwNew<java::lang::IllegalArgumentException>();
  if (!ownedByCurrent(o)) _VM_throwNew<java::lang::IllegalMonitorStateException>();
  VMThread* self = VMThread::current();
  if (self == nullptr) return;
  _VM_inflateMonitor(o);
  // Threads that wait for this monitor while it was thin may take it now.
  wakeContenders();
  self->wait(o, timeout);
}

// A notified thread cannot go on before the notifier lets the monitor go, so
// the notifies of an inflated monitor's owner are delivered then (by
// _VM_deliverNotifies): the woken thread finds the monitor free instead of
// waking only to block on it again. A thin monitor has no waiters.
void _VM_notify(Object* o) {
  if (!ownedByCurrent(o)) _VM_throwNew<java::lang::IllegalMonitorStateException>();
  // Saturating: more notifies than waiters wake nobody more.
  if (o->_VM_monitorLock != nullptr && o->_VM_monitorNotifies >= 0 && o->_VM_monitorNotifies < INT32_MAX) {
    ++o->_VM_monitorNotifies;
  }
}

void _VM_notifyAll(Object* o) {
  if (!ownedByCurrent(o)) _VM_throwNew<java::lang::IllegalMonitorStateException>();
  if (o->_VM_monitorLock != nullptr) o->_VM_monitorNotifies = -1;
}

void _VM_deliverNotifies(Object* o) {
  const int32_t notifies = o->_VM_monitorNotifies;
  if (notifies == 0) return;
  o->_VM_monitorNotifies = 0;
  if (notifies < 0) {
    HAL_notifyAllLock(o->_VM_monitorLock);
  } else {
    for (int32_t i = 0; i < notifies; ++i) HAL_notifyLock(o->_VM_monitorLock);
  }
}
