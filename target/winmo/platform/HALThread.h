#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "HALStatus.h"

// The function a platform thread runs; it receives the thread's data word.
using HALThreadEntry = void (*)(uintptr_t data);

// The platform's record of one operating-system thread. Each thread finds its
// own record through a thread-local slot (HAL_getCurrentThread).
//
// The operating-system thread is created only when the record is started, so
// a thread that is never started costs nothing. Its entry function runs while
// the thread holds the global lock.
struct HALThread {
  HALThread(HALThreadEntry entry, uintptr_t data) : entry(entry), data(data) {}
  HALThread(const HALThread&) = delete;
  HALThread& operator=(const HALThread&) = delete;

  // Marks the calling thread, which owns this record, as about to sleep. From
  // now on a wake() is not lost: it ends the following sleepArmed() at once.
  void armSleep();
  // Blocks the calling thread until wake() is called or `milliseconds` have
  // passed (0xFFFFFFFF: without end; 0: not at all). Clears `sleeping`.
  void sleepArmed(uint32_t milliseconds);
  // Ends the armed sleep or wait of this record's thread at once; does
  // nothing when the thread is not sleeping.
  void wake();

  // The operating-system thread; empty until started, and for the record of
  // an attached thread.
  std::thread handle;
  // 1 once HAL_startThread has made the operating-system thread.
  std::atomic<uint8_t> started{0};
  // 1 while the entry function runs.
  std::atomic<uint8_t> running{0};
  // Set by HAL_cancelThread; the platform layer takes no further action on it.
  std::atomic<uint8_t> cancelled{0};
  // Set when the entry function has returned.
  std::atomic<uint8_t> finished{0};
  // The record of a thread the platform did not create (HAL_attachMainThread).
  bool attached = false;
  // The function the thread runs (may be null: the thread then ends at once).
  HALThreadEntry entry;
  // The argument of `entry`, and the thread's user-data word (the runtime
  // keeps its thread record there).
  uintptr_t data;

 private:
  std::mutex wakeMutex;
  std::condition_variable wakeCondition;
  bool sleeping = false;  // guarded by wakeMutex
};

// Makes a record that will run `entry(data)`; no operating-system thread is
// made yet. HAL_OK and the record in *out, or HAL_ILLEGAL_ARGUMENT_ERR (null
// `out`) or HAL_OUT_OF_MEMORY_ERR with *out null.
HALStatus HAL_createThread(HALThread** out, HALThreadEntry entry, uintptr_t data);
// Creates and runs the operating-system thread; a second call does nothing.
// HAL_OUT_OF_MEMORY_ERR when the system could not make the thread (the record
// then stays unstarted).
HALStatus HAL_startThread(HALThread* thread);
// Gives the calling thread (the application's main thread) its record, with
// no entry and no data; a thread that has one keeps it. 1 on success, 0 when
// the record could not be made.
int HAL_attachMainThread();
// The calling thread's record, or null when it has none.
HALThread* HAL_getCurrentThread();
// The data word of the calling thread's record (0 when it has none).
uintptr_t HAL_getCurrentThreadData();
// Stores `data` as the data word of `thread` (the calling thread's record).
void HAL_setCurrentThreadData(HALThread* thread, uintptr_t data);
// Sets the record's `cancelled` flag.
void HAL_cancelThread(HALThread* thread);
// Frees a record. A started thread must have finished (otherwise a fatal
// error); its operating-system thread is joined. A record never started is
// freed without running. An attached record is freed as well.
void HAL_deleteThread(HALThread* thread);
// Ends the armed sleep or wait of `thread` at once (null: nothing).
void HAL_wakeThread(HALThread* thread);
// Sleeps `milliseconds` (0xFFFFFFFF: until woken) without the global lock,
// then takes it back and calls the re-attach callback. 0 only lets the global
// lock go to waiting threads and takes it back.
void HAL_sleep(uint32_t milliseconds);
// Lets the threads waiting for the global lock run (HAL_yieldGlobalLock).
void HAL_yieldThread();
