#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "HALCallbacks.h"
#include "HALGlobalLock.h"
#include "HALLock.h"
#include "HALThreadRecord.h"

namespace threads_test {

// Re-attach calls made by the calling thread, and whether any came while the
// caller did not hold the global lock.
inline thread_local int reattachCalls = 0;
inline std::atomic<bool> reattachedWithoutLock{false};

inline void countReattach() {
  ++reattachCalls;
  if (!HAL_holdsGlobalLock()) reattachedWithoutLock = true;
}

// What the threads of a test did, in order. Written and read only by threads
// that hold the global lock.
inline std::vector<std::string> events;

inline bool happened(const std::string& event) {
  return std::find(events.begin(), events.end(), event) != events.end();
}

// Waits until `done()` holds, at most `limit`. A caller that holds the global
// lock lets it go between looks (HAL_sleep(1)), so other threads can run.
inline bool waitUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds limit = std::chrono::seconds(10)) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    if (HAL_holdsGlobalLock()) {
      HAL_sleep(1);
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
  return true;
}

// Waits, keeping the global lock if the caller holds it, until `count`
// threads wait for the global lock; at most 10 s.
inline bool waitForGlobalLockWaiters(int count) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (HAL_countGlobalLockWaiters() != count) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

// A platform thread that runs `body` (under the global lock, like every
// platform thread's entry).
class Worker {
 public:
  explicit Worker(std::function<void()> body) : body_(std::move(body)) {
    EXPECT_EQ(HAL_createThread(&record_, &Worker::run, reinterpret_cast<uintptr_t>(this)), HAL_OK);
  }
  Worker(const Worker&) = delete;
  Worker& operator=(const Worker&) = delete;

  void start() { EXPECT_EQ(HAL_startThread(record_), HAL_OK); }
  HALThread* record() const { return record_; }

  // Waits for the thread to end and deletes its record. False (and the record
  // is left alone) when it has not ended within 10 s.
  bool finish() {
    if (!waitUntil([this] { return record_->finished.load() != 0; })) return false;
    HAL_deleteThread(record_);
    record_ = nullptr;
    return true;
  }

 private:
  static void run(uintptr_t data) { reinterpret_cast<Worker*>(data)->body_(); }

  std::function<void()> body_;
  HALThread* record_ = nullptr;
};

// Every test: a counting re-attach callback, a record for the main thread, and
// death tests that re-run the program (the process has threads).
class PlatformThreads : public ::testing::Test {
 protected:
  void SetUp() override {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    VMCallbacks table{};
    table.reattach = countReattach;
    HAL_setVMCallbacks(&table);
    ASSERT_EQ(HAL_attachMainThread(), 1);
    events.clear();
    reattachCalls = 0;
    reattachedWithoutLock = false;
  }

  void TearDown() override {
    HAL_suspendGlobalLock();
    HAL_deleteThread(HAL_getCurrentThread());
    EXPECT_FALSE(reattachedWithoutLock) << "the re-attach callback ran without the global lock";
  }
};

}  // namespace threads_test
