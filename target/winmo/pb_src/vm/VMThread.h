#pragma once

#include <cstddef>
#include <cstdint>

#include "VMRef.h"

struct HALLock;
struct HALThread;

namespace java::lang {
class Object;
class Thread;
}  // namespace java::lang

// The runtime's record of one thread that runs Java code: its life state, its
// platform thread, its stack list of references (a root of the collector),
// its pending interrupt and its per-thread flags. Every record is in the VM's
// thread list (newest first).
//
// A Java thread runs runtime code only while it holds the global VM lock; it
// gives the lock up (every level of it) only to yield, sleep, wait or block
// for a platform lock, and after taking it back the platform layer calls
// enterVM, which makes the thread current again. All members are read and
// written by threads that hold the global lock.
//
// A record is deleted only after its platform thread has finished: by the
// collector once the thread's Thread object is gone, or at VM shutdown.
class VMThread {
 public:
  // Life states. A thread is alive while running or waiting.
  static constexpr int32_t kNew = 1;         // made, not started
  static constexpr int32_t kRunning = 2;
  static constexpr int32_t kWaiting = 4;     // in a wait or a sleep
  static constexpr int32_t kTerminated = 8;  // its run has ended

  // The record of the thread that starts the VM (running at once): it becomes
  // the user data of `mainThread`, which the platform keeps and frees, and
  // the current thread.
  explicit VMThread(HALThread* mainThread);
  // The record of a new Java thread: state new, its platform thread made but
  // not started. A platform failure is fatal ("Unable to create thread!").
  explicit VMThread(java::lang::Thread* thread);
  // Leaves the thread list, joins and frees the platform thread (it must have
  // finished) and unbinds the Thread object.
  virtual ~VMThread();
  VMThread(const VMThread&) = delete;
  VMThread& operator=(const VMThread&) = delete;

  // Records live on the runtime heap.
  static void* operator new(size_t size);
  static void operator delete(void* block);

  // The record of the thread that holds the global lock, or null.
  static VMThread* current();
  // The re-attach callback: after (re)taking the global lock the calling
  // thread's record (its platform user data) becomes the current thread.
  static VMThread* enterVM();
  // Lets every thread waiting for the global lock run first, then comes back.
  // Does nothing during a collection or when the caller holds no global lock.
  static void yield();
  // Number of alive records in the VM's thread list.
  static int32_t countAlive();
  // The allocator's back-off: sleeps without the global lock; never throws
  // and leaves a pending interrupt pending.
  static void sleepUninterruptibly(uint32_t milliseconds);
  // Puts the runtime's functions where the platform and the allocator expect
  // them: the re-attach and detach callbacks, the allocator's yield and sleep.
  static void installServices();
  // After this, a Java thread that takes the global lock again (a thread
  // that outlived the VM's shutdown) parks for good instead of re-attaching.
  static void markVMDestroyed();
  // True for the record of a Java thread (not the main thread's).
  bool isJavaThread() const { return ownsHalThread_; }

  // Starts a new thread (state new -> running); nothing in any other state.
  void start();
  // Marks the platform thread cancelled (running threads only).
  void cancel();
  // Sets the pending interrupt of an alive thread and ends its sleep or wait
  // at once; nothing for a thread that is not alive.
  void interrupt();
  bool isStarted() const { return state != kNew; }
  bool isAlive() const { return state == kRunning || state == kWaiting; }
  // A pending interrupt is cleared and thrown as InterruptedException.
  void checkInterrupted();

  // The blocking half of Object.wait on the inflated monitor `monitor`, owned
  // by this (current) thread: throws a pending interrupt, frees the monitor,
  // waits for a notify, an interrupt or the timeout (ms; 0 = no limit), takes
  // the monitor back with its recursion count and throws an interrupt that
  // came meanwhile. Returns at once unless running.
  void wait(java::lang::Object* monitor, int64_t timeout);
  // The same wait without a limit that ignores interrupts (they stay
  // pending); it waits in any state and restores the state afterwards.
  void waitUninterruptibly(java::lang::Object* monitor);
  // Thread.sleep: throws a pending interrupt; sleeps `timeout` ms without the
  // global lock (0 or less: only yields); an interrupt ends the sleep at once
  // and is thrown. Returns at once unless running.
  void sleep(int64_t timeout);

  // True when the collector may delete the record: its Thread object is gone
  // and its platform thread has finished (or was never started).
  bool isCollectable() const;
  // True for a Java thread's record whose platform thread has finished (or
  // was never started): deleting it does not wait.
  bool hasEnded() const;
  // True for a Java thread's record whose run is over and whose platform
  // thread has given up the global lock for the last time: it finishes
  // without touching the VM again, so waiting for it is short and safe.
  bool hasLeftTheVM() const;
  // Waits (without the global lock's help) until the platform thread of a
  // record that has left the VM has finished; false after `milliseconds`.
  bool waitUntilFinished(int milliseconds) const;

  // The platform start function of every Java thread: runs VMThread_run.
  // An exception that escapes it is a fatal error.
  static void entry(uintptr_t record);

  int32_t state = kNew;
  HALThread* halThread = nullptr;
  // The Java object of this thread; cleared when the object is collected.
  java::lang::Thread* thread = nullptr;
  // Keeps the Thread object alive from start until its run has ended.
  VMNative<java::lang::Object> executionRef;
  // Head of this thread's stack-scope list.
  VMRefList stackList{nullptr};
  // The lock of the monitor this thread waits on (while waiting), else null.
  HALLock* waitLock = nullptr;
  // A pending interrupt.
  uint8_t interrupted = 0;
  // Set while this thread builds an OutOfMemoryError: its allocations may use
  // the platform's start-up reserve. Cleared by every collection.
  uint8_t reportingOutOfMemory = 0;
  // The exception this thread threw last: a root of the collector, so the
  // object survives between the throw and the handler that binds it.
  java::lang::Object* exceptionInFlight = nullptr;

 private:
  // Frees `monitor`, waits on its lock and takes it back.
  void blockOnMonitor(java::lang::Object* monitor, int64_t timeout);

  // False for the main thread's record, whose platform thread the platform
  // layer keeps.
  bool ownsHalThread_ = false;
};

// The body of a Java thread, run on its own platform thread under the global
// lock: runs the Thread's run(). An uncaught Throwable is reported with
// printStackTrace and ends only this thread; the exit carrier records the
// exit request on the VM. Then the thread is terminated, waiters on the
// Thread object are notified and the object is no longer pinned.
void VMThread_run(VMThread* record);

// The record of the thread that holds the global VM lock, or null.
extern VMThread* _VM_currentThread;

// Makes `thread` the current thread: its stack list becomes the current one
// (null: no current thread).
void _VM_setCurrentThread(VMThread* thread);
