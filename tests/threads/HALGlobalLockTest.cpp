#include "ThreadTestSupport.h"

namespace threads_test {
namespace {

using GlobalLock = PlatformThreads;
using Events = std::vector<std::string>;

TEST_F(GlobalLock, YieldServesEveryWaiterFirstInArrivalOrderAndKeepsAllLevels) {
  HAL_enterGlobalLock();
  HAL_enterGlobalLock();
  HAL_enterGlobalLock();
  Worker first([] { events.push_back("first"); });
  Worker second([] { events.push_back("second"); });
  first.start();
  ASSERT_TRUE(waitForGlobalLockWaiters(1));
  second.start();
  ASSERT_TRUE(waitForGlobalLockWaiters(2));

  HAL_yieldGlobalLock();
  events.push_back("main");

  EXPECT_EQ(events, (Events{"first", "second", "main"}));
  EXPECT_EQ(reattachCalls, 1);
  EXPECT_EQ(HAL_countGlobalLockWaiters(), 0);
  HAL_leaveGlobalLock();
  HAL_leaveGlobalLock();
  EXPECT_TRUE(HAL_holdsGlobalLock());
  HAL_leaveGlobalLock();
  EXPECT_FALSE(HAL_holdsGlobalLock());
  EXPECT_TRUE(first.finish());
  EXPECT_TRUE(second.finish());
}

TEST_F(GlobalLock, YieldWithoutWaitersKeepsTheLockAndWithoutTheLockDoesNothing) {
  HAL_yieldGlobalLock();
  EXPECT_FALSE(HAL_holdsGlobalLock());
  EXPECT_EQ(reattachCalls, 0);

  HAL_enterGlobalLock();
  HAL_yieldGlobalLock();
  EXPECT_TRUE(HAL_holdsGlobalLock());
  EXPECT_EQ(reattachCalls, 1);
  HAL_leaveGlobalLock();
  EXPECT_FALSE(HAL_holdsGlobalLock());
}

TEST_F(GlobalLock, SuspendReleasesEveryLevelAndResumeRestoresThem) {
  HAL_enterGlobalLock();
  HAL_enterGlobalLock();
  HAL_enterGlobalLock();
  Worker worker([] { events.push_back("worker"); });
  worker.start();
  ASSERT_TRUE(waitForGlobalLockWaiters(1));

  const int levels = HAL_suspendGlobalLock();
  EXPECT_EQ(levels, 3);
  EXPECT_FALSE(HAL_holdsGlobalLock());
  ASSERT_TRUE(worker.finish());  // it could take the lock
  EXPECT_EQ(HAL_suspendGlobalLock(), 0);

  HAL_resumeGlobalLock(levels);
  EXPECT_EQ(reattachCalls, 1);
  EXPECT_TRUE(happened("worker"));
  HAL_leaveGlobalLock();
  HAL_leaveGlobalLock();
  EXPECT_TRUE(HAL_holdsGlobalLock());
  HAL_leaveGlobalLock();
  EXPECT_FALSE(HAL_holdsGlobalLock());

  HAL_resumeGlobalLock(0);
  EXPECT_FALSE(HAL_holdsGlobalLock());
  EXPECT_EQ(reattachCalls, 1);
}

TEST_F(GlobalLock, ReattachFollowsEveryReentryAndOnlyThose) {
  HALLock* lock = nullptr;
  ASSERT_EQ(HAL_createLock(&lock, 0), HAL_OK);
  struct Case {
    const char* operation;
    std::function<void()> run;
    int reattachCalls;
  };
  const Case cases[] = {
      {"enter (the caller re-attaches)", [] { HAL_enterGlobalLock(); }, 0},
      {"leave", [] { HAL_leaveGlobalLock(); }, 0},
      {"yield", [] { HAL_yieldGlobalLock(); }, 1},
      {"yieldThread", [] { HAL_yieldThread(); }, 1},
      {"sleep 0", [] { HAL_sleep(0); }, 1},
      {"sleep 5", [] { HAL_sleep(5); }, 1},
      {"acquire", [lock] { HAL_acquireLock(lock); }, 1},
      {"timed wait", [lock] { HAL_waitLock(lock, 5); }, 1},
      {"release", [lock] { HAL_releaseLock(lock); }, 0},
      {"notify", [lock] { HAL_notifyAllLock(lock); }, 0},
  };
  HAL_enterGlobalLock();
  for (const Case& c : cases) {
    const int before = reattachCalls;
    c.run();
    EXPECT_EQ(reattachCalls - before, c.reattachCalls) << c.operation;
  }
  EXPECT_TRUE(HAL_holdsGlobalLock());

  // A platform thread re-attaches once before its entry runs.
  int atEntry = -1;
  Worker worker([&atEntry] { atEntry = reattachCalls; });
  worker.start();
  EXPECT_TRUE(worker.finish());
  EXPECT_EQ(atEntry, 1);
  HAL_deleteLock(lock);
}

TEST_F(GlobalLock, YieldingThreadsExcludeEachOther) {
  constexpr int kThreads = 4;
  constexpr int kRounds = 2000;
  int counter = 0;  // guarded by the global lock
  std::vector<std::unique_ptr<Worker>> workers;
  for (int i = 0; i < kThreads; ++i) {
    workers.push_back(std::make_unique<Worker>([&counter] {
      for (int round = 0; round < kRounds; ++round) {
        const int seen = counter;
        counter = seen + 1;
        HAL_yieldThread();
      }
    }));
  }
  for (auto& worker : workers) worker->start();
  for (auto& worker : workers) ASSERT_TRUE(worker->finish());
  HAL_enterGlobalLock();
  EXPECT_EQ(counter, kThreads * kRounds);
  HAL_leaveGlobalLock();
}

TEST_F(GlobalLock, LeavingTheLockWithoutHoldingItIsFatal) {
  EXPECT_EXIT(HAL_leaveGlobalLock(), ::testing::ExitedWithCode(1), "");
}

}  // namespace
}  // namespace threads_test
