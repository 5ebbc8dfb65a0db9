#include "ThreadTestSupport.h"

#include <cstdlib>
#include <new>
#include <stdexcept>

// The next non-throwing allocation of this program fails when this is set.
static std::atomic<bool> failNextNothrowNew{false};

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  if (failNextNothrowNew.exchange(false)) return nullptr;
  try {
    return ::operator new(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

namespace threads_test {
namespace {

using PlatformThread = PlatformThreads;
using std::chrono::milliseconds;
using std::chrono::steady_clock;

std::atomic<int> entryRuns{0};
void countRun(uintptr_t) { ++entryRuns; }

TEST_F(PlatformThread, StartedTwiceRunsOnce) {
  entryRuns = 0;
  HALThread* thread = nullptr;
  ASSERT_EQ(HAL_createThread(&thread, countRun, 0), HAL_OK);
  ASSERT_NE(thread, nullptr);
  EXPECT_EQ(thread->started.load(), 0);
  EXPECT_EQ(HAL_startThread(thread), HAL_OK);
  EXPECT_EQ(HAL_startThread(thread), HAL_OK);
  EXPECT_EQ(thread->started.load(), 1);
  ASSERT_TRUE(waitUntil([thread] { return thread->finished.load() != 0; }));
  EXPECT_EQ(thread->running.load(), 0);
  EXPECT_EQ(HAL_startThread(thread), HAL_OK);
  HAL_deleteThread(thread);
  EXPECT_EQ(entryRuns, 1);
}

TEST_F(PlatformThread, RecordNeverStartedIsDeletedWithoutRunning) {
  entryRuns = 0;
  HALThread* thread = nullptr;
  ASSERT_EQ(HAL_createThread(&thread, countRun, 0), HAL_OK);
  HAL_deleteThread(thread);
  std::this_thread::sleep_for(milliseconds(20));
  EXPECT_EQ(entryRuns, 0);
}

TEST_F(PlatformThread, RecordKnowsItsThreadAndDataWord) {
  HALThread* main = HAL_getCurrentThread();
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(main->attached);
  EXPECT_EQ(HAL_attachMainThread(), 1);
  EXPECT_EQ(HAL_getCurrentThread(), main) << "attaching again keeps the record";
  EXPECT_EQ(HAL_getCurrentThreadData(), 0u);
  const uintptr_t pointerWord = reinterpret_cast<uintptr_t>(&main);  // 64 bits wide
  HAL_setCurrentThreadData(main, pointerWord);
  EXPECT_EQ(HAL_getCurrentThreadData(), pointerWord);

  HALThread* seenRecord = nullptr;
  uintptr_t seenData = 0;
  uintptr_t seenAfterSet = 0;
  Worker worker([&] {
    seenRecord = HAL_getCurrentThread();
    seenData = HAL_getCurrentThreadData();
    HAL_setCurrentThreadData(seenRecord, 42);
    seenAfterSet = HAL_getCurrentThreadData();
  });
  HAL_cancelThread(worker.record());
  EXPECT_EQ(worker.record()->cancelled.load(), 1);
  HALThread* record = worker.record();
  worker.start();
  ASSERT_TRUE(worker.finish());
  EXPECT_EQ(seenRecord, record);
  EXPECT_EQ(seenData, reinterpret_cast<uintptr_t>(&worker));
  EXPECT_EQ(seenAfterSet, 42u);
  EXPECT_EQ(HAL_getCurrentThreadData(), pointerWord);
}

TEST_F(PlatformThread, CreationReportsAFailedAllocation) {
  HALThread* thread = reinterpret_cast<HALThread*>(1);
  failNextNothrowNew = true;
  EXPECT_EQ(HAL_createThread(&thread, countRun, 0), HAL_OUT_OF_MEMORY_ERR);
  EXPECT_EQ(thread, nullptr);

  HALLock* lock = reinterpret_cast<HALLock*>(1);
  failNextNothrowNew = true;
  EXPECT_EQ(HAL_createLock(&lock, 1), HAL_OUT_OF_MEMORY_ERR);
  EXPECT_EQ(lock, nullptr);
}

TEST_F(PlatformThread, NullArgumentsAreRefusedOrIgnored) {
  EXPECT_EQ(HAL_createThread(nullptr, countRun, 0), HAL_ILLEGAL_ARGUMENT_ERR);
  EXPECT_EQ(HAL_createLock(nullptr, 0), HAL_ILLEGAL_ARGUMENT_ERR);
  EXPECT_EQ(HAL_startThread(nullptr), HAL_OK);
  HAL_cancelThread(nullptr);
  HAL_wakeThread(nullptr);
  HAL_deleteThread(nullptr);
  HAL_setCurrentThreadData(nullptr, 1);
  HAL_acquireLock(nullptr);
  HAL_releaseLock(nullptr);
  HAL_waitLock(nullptr, 1);
  HAL_notifyLock(nullptr);
  HAL_notifyAllLock(nullptr);
  HAL_deleteLock(nullptr);
  EXPECT_EQ(HAL_getCurrentThreadData(), 0u);
}

TEST_F(PlatformThread, SleepReleasesEveryLevelOfTheGlobalLockAndAWakeEndsIt) {
  HALThread* main = HAL_getCurrentThread();
  HAL_enterGlobalLock();
  HAL_enterGlobalLock();
  HAL_enterGlobalLock();
  // The worker can only run while main sleeps without any level of the lock.
  Worker worker([main] {
    events.push_back("worker ran");
    HAL_wakeThread(main);
  });
  worker.start();

  HAL_sleep(0xFFFFFFFFu);

  EXPECT_TRUE(happened("worker ran"));
  EXPECT_EQ(reattachCalls, 1);
  HAL_leaveGlobalLock();
  HAL_leaveGlobalLock();
  EXPECT_TRUE(HAL_holdsGlobalLock());
  HAL_leaveGlobalLock();
  EXPECT_FALSE(HAL_holdsGlobalLock());
  EXPECT_TRUE(worker.finish());
}

TEST_F(PlatformThread, WakeEndsALongSleepAtOnce) {
  HAL_enterGlobalLock();
  Worker sleeper([] {
    HAL_sleep(10000);
    events.push_back("woke");
  });
  sleeper.start();
  ASSERT_TRUE(waitForGlobalLockWaiters(1));
  // The sleeper runs until it has armed its sleep and let the lock go.
  HAL_yieldGlobalLock();
  EXPECT_FALSE(happened("woke"));

  const auto wokenAt = steady_clock::now();
  HAL_wakeThread(sleeper.record());
  ASSERT_TRUE(sleeper.finish());
  EXPECT_LT(steady_clock::now() - wokenAt, std::chrono::seconds(5));
  EXPECT_TRUE(happened("woke"));
}

TEST_F(PlatformThread, TimedSleepEndsByItselfAndAnEarlierWakeIsNotKept) {
  HAL_enterGlobalLock();
  HAL_wakeThread(HAL_getCurrentThread());  // not sleeping: nothing to end
  const auto start = steady_clock::now();
  HAL_sleep(30);
  EXPECT_GE(steady_clock::now() - start, milliseconds(30));
  EXPECT_TRUE(HAL_holdsGlobalLock());
  EXPECT_EQ(reattachCalls, 1);
  HAL_leaveGlobalLock();

  // Without the global lock a sleep only sleeps.
  HAL_sleep(5);
  EXPECT_FALSE(HAL_holdsGlobalLock());
  EXPECT_EQ(reattachCalls, 1);
}

TEST_F(PlatformThread, DeletingAThreadThatHasNotFinishedIsFatal) {
  EXPECT_EXIT(
      {
        Worker sleeper([] { HAL_sleep(0xFFFFFFFFu); });
        sleeper.start();
        waitUntil([&] { return sleeper.record()->running.load() != 0; });
        HAL_deleteThread(sleeper.record());
        std::_Exit(0);
      },
      ::testing::ExitedWithCode(1), "");
}

void throwFromEntry(uintptr_t) { throw std::runtime_error("escaped"); }

TEST_F(PlatformThread, ExceptionEscapingTheEntryIsFatal) {
  EXPECT_EXIT(
      {
        HALThread* thread = nullptr;
        HAL_createThread(&thread, throwFromEntry, 0);
        HAL_startThread(thread);
        std::this_thread::sleep_for(std::chrono::seconds(30));
        std::_Exit(0);
      },
      ::testing::ExitedWithCode(1), "");
}

}  // namespace
}  // namespace threads_test
