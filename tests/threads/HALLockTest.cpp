#include "ThreadTestSupport.h"

#include <cstdint>
#include <limits>

namespace threads_test {
namespace {

using Lock = PlatformThreads;
using std::chrono::milliseconds;
using std::chrono::steady_clock;

int queued(HALLock* lock) {
  std::lock_guard<std::mutex> guard(lock->mutex);
  int count = 0;
  for (HALLock::Waiter* w = lock->first; w; w = w->next) ++count;
  return count;
}

bool ownedBy(HALLock* lock, std::thread::id owner, int levels) {
  std::lock_guard<std::mutex> guard(lock->mutex);
  return lock->owner == owner && lock->levels == levels;
}

// A worker that waits on `lock` once (with `timeout`), logging "<name> waits"
// and then "<name> returned".
std::unique_ptr<Worker> waiter(HALLock* lock, const std::string& name, int64_t timeout) {
  return std::make_unique<Worker>([lock, name, timeout] {
    HAL_acquireLock(lock);
    events.push_back(name + " waits");
    HAL_waitLock(lock, timeout);
    events.push_back(name + " returned");
    HAL_releaseLock(lock);
  });
}

// Starts `w` and returns once it waits on its lock (it logs that and queues
// itself while it holds the global lock, which the caller holds when it looks).
bool startWaiting(Worker& w, const std::string& name) {
  w.start();
  return waitUntil([&] { return happened(name + " waits"); });
}

TEST_F(Lock, NotifyWakesWaitersInArrivalOrder) {
  HALLock* lock = nullptr;
  ASSERT_EQ(HAL_createLock(&lock, 0), HAL_OK);
  HAL_enterGlobalLock();
  auto a = waiter(lock, "a", 0);
  auto b = waiter(lock, "b", 0);
  auto c = waiter(lock, "c", 0);
  ASSERT_TRUE(startWaiting(*a, "a"));
  ASSERT_TRUE(startWaiting(*b, "b"));
  ASSERT_TRUE(startWaiting(*c, "c"));
  EXPECT_EQ(queued(lock), 3);

  HAL_notifyLock(lock);
  EXPECT_EQ(queued(lock), 2);
  ASSERT_TRUE(waitUntil([] { return happened("a returned"); }));
  HAL_notifyLock(lock);
  ASSERT_TRUE(waitUntil([] { return happened("b returned"); }));
  EXPECT_FALSE(happened("c returned"));
  EXPECT_EQ(queued(lock), 1);

  HAL_notifyAllLock(lock);
  EXPECT_EQ(queued(lock), 0);
  ASSERT_TRUE(waitUntil([] { return happened("c returned"); }));
  HAL_notifyLock(lock);  // nobody waits: nothing happens

  EXPECT_TRUE(a->finish());
  EXPECT_TRUE(b->finish());
  EXPECT_TRUE(c->finish());
  HAL_deleteLock(lock);
}

TEST_F(Lock, NotifyAllWakesEveryWaiter) {
  HALLock* lock = nullptr;
  ASSERT_EQ(HAL_createLock(&lock, 0), HAL_OK);
  HAL_enterGlobalLock();
  auto a = waiter(lock, "a", 0);
  auto b = waiter(lock, "b", 0);
  ASSERT_TRUE(startWaiting(*a, "a"));
  ASSERT_TRUE(startWaiting(*b, "b"));
  HAL_notifyAllLock(lock);
  EXPECT_TRUE(a->finish());
  EXPECT_TRUE(b->finish());
  HAL_deleteLock(lock);
}

TEST_F(Lock, WaiterThatTimesOutLeavesTheQueue) {
  HALLock* lock = nullptr;
  ASSERT_EQ(HAL_createLock(&lock, 0), HAL_OK);
  HAL_enterGlobalLock();
  auto early = waiter(lock, "early", 50);
  auto late = waiter(lock, "late", 0);
  ASSERT_TRUE(startWaiting(*early, "early"));
  ASSERT_TRUE(startWaiting(*late, "late"));
  ASSERT_TRUE(early->finish());
  EXPECT_EQ(queued(lock), 1);

  // The notify goes to the thread that still waits, not to a stale entry.
  HAL_notifyLock(lock);
  EXPECT_TRUE(late->finish());
  HAL_deleteLock(lock);
}

TEST_F(Lock, WakeEndsAWaitAndRemovesItsEntry) {
  HALLock* lock = nullptr;
  ASSERT_EQ(HAL_createLock(&lock, 0), HAL_OK);
  HAL_enterGlobalLock();
  auto w = waiter(lock, "w", 0);
  ASSERT_TRUE(startWaiting(*w, "w"));
  HAL_wakeThread(w->record());
  ASSERT_TRUE(w->finish());
  EXPECT_EQ(queued(lock), 0);
  HAL_deleteLock(lock);
}

TEST_F(Lock, WaitReleasesEveryLevelOfBothLocksAndRestoresThem) {
  HALLock* lock = nullptr;
  ASSERT_EQ(HAL_createLock(&lock, 0), HAL_OK);
  HAL_enterGlobalLock();
  bool lockRestored = false;
  bool globalRestored = false;
  Worker worker([&] {
    HAL_enterGlobalLock();  // two levels of the global lock
    HAL_acquireLock(lock);
    HAL_acquireLock(lock);  // two levels of the lock
    events.push_back("w waits");
    HAL_waitLock(lock, 0);
    lockRestored = ownedBy(lock, std::this_thread::get_id(), 2);
    HAL_leaveGlobalLock();
    globalRestored = HAL_holdsGlobalLock();
    HAL_releaseLock(lock);
    HAL_releaseLock(lock);
  });
  // Main sees the event only with the global lock back: the waiter let go of
  // both levels.
  ASSERT_TRUE(startWaiting(worker, "w"));
  ASSERT_TRUE(ownedBy(lock, std::thread::id(), 0));
  HAL_acquireLock(lock);
  HAL_notifyLock(lock);
  HAL_releaseLock(lock);
  ASSERT_TRUE(worker.finish());
  EXPECT_TRUE(lockRestored);
  EXPECT_TRUE(globalRestored);
  HAL_deleteLock(lock);
}

TEST_F(Lock, AcquireWaitsWithoutTheGlobalLockUntilEveryLevelIsReleased) {
  HALLock* lock = nullptr;
  ASSERT_EQ(HAL_createLock(&lock, 1), HAL_OK);
  const std::thread::id self = std::this_thread::get_id();
  ASSERT_TRUE(ownedBy(lock, self, 1));
  HAL_enterGlobalLock();
  HAL_acquireLock(lock);
  EXPECT_TRUE(ownedBy(lock, self, 2));
  Worker worker([lock] {
    events.push_back("acquiring");
    HAL_acquireLock(lock);
    events.push_back("acquired");
    HAL_releaseLock(lock);
  });
  worker.start();
  // Main gets the global lock back while the worker blocks for the lock.
  ASSERT_TRUE(waitUntil([] { return happened("acquiring"); }));
  HAL_releaseLock(lock);
  EXPECT_TRUE(ownedBy(lock, self, 1));
  EXPECT_FALSE(happened("acquired"));
  HAL_releaseLock(lock);
  ASSERT_TRUE(worker.finish());
  EXPECT_TRUE(happened("acquired"));
  EXPECT_TRUE(ownedBy(lock, std::thread::id(), 0));
  HAL_deleteLock(lock);
}

TEST_F(Lock, TimeoutConversion) {
  constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
  constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
  const struct {
    int64_t timeout;
    uint32_t milliseconds;
  } cases[] = {
      {0, 0xFFFFFFFFu},                  // without end
      {-1, 0xFFFFFFFFu},                 // without end
      {kMin, 0xFFFFFFFFu},               // without end
      {1, 1},
      {1000, 1000},
      {0xFFFFFFFE, 0xFFFFFFFEu},
      {0xFFFFFFFF, 0xFFFFFFFEu},         // the without-end value is reserved
      {4294967296, 0xFFFFFFFEu},         // above 32 bits
      {0x1'0000'0005, 0xFFFFFFFEu},      // not cut to its low 32 bits
      {kMax, 0xFFFFFFFEu},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HAL_waitLockMilliseconds(c.timeout), c.milliseconds) << c.timeout;
  }
}

TEST_F(Lock, TimedWaitEndsByItselfHoldingTheLockAgain) {
  HALLock* lock = nullptr;
  ASSERT_EQ(HAL_createLock(&lock, 1), HAL_OK);
  HAL_enterGlobalLock();
  const auto start = steady_clock::now();
  HAL_waitLock(lock, 30);
  EXPECT_GE(steady_clock::now() - start, milliseconds(30));
  EXPECT_TRUE(ownedBy(lock, std::this_thread::get_id(), 1));
  EXPECT_TRUE(HAL_holdsGlobalLock());
  EXPECT_EQ(reattachCalls, 1);
  EXPECT_EQ(queued(lock), 0);
  HAL_releaseLock(lock);
  HAL_deleteLock(lock);
}

TEST_F(Lock, ReleasingOrWaitingOnALockNotOwnedIsFatal) {
  HALLock* lock = nullptr;
  ASSERT_EQ(HAL_createLock(&lock, 0), HAL_OK);
  EXPECT_EXIT(HAL_releaseLock(lock), ::testing::ExitedWithCode(1), "");
  EXPECT_EXIT(HAL_waitLock(lock, 1), ::testing::ExitedWithCode(1), "");
  HAL_deleteLock(lock);
}

// Two threads hand a turn back and forth thousands of times through wait and
// notify; a lost notify or wake-up hangs the exchange.
TEST_F(Lock, ThousandsOfWaitNotifyHandOffs) {
  constexpr int kRounds = 5000;
  HALLock* lock = nullptr;
  ASSERT_EQ(HAL_createLock(&lock, 0), HAL_OK);
  int turn = 0;      // guarded by the lock
  int handOffs = 0;  // guarded by the lock
  auto player = [&](int me) {
    return [&, me] {
      for (int round = 0; round < kRounds; ++round) {
        HAL_acquireLock(lock);
        while (turn != me) HAL_waitLock(lock, 0);
        turn = 1 - me;
        ++handOffs;
        HAL_notifyLock(lock);
        HAL_releaseLock(lock);
      }
    };
  };
  Worker zero(player(0));
  Worker one(player(1));
  zero.start();
  one.start();
  const auto limit = std::chrono::seconds(120);
  ASSERT_TRUE(waitUntil([&] { return zero.record()->finished && one.record()->finished; }, limit));
  EXPECT_TRUE(zero.finish());
  EXPECT_TRUE(one.finish());
  HAL_acquireLock(lock);
  EXPECT_EQ(handOffs, 2 * kRounds);
  HAL_releaseLock(lock);
  HAL_deleteLock(lock);
}

}  // namespace
}  // namespace threads_test
