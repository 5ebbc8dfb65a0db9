#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "HALThread.h"

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
