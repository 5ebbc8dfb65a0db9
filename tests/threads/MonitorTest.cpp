// Monitors: thin and inflated locking, synchronized guards, wait and notify
// with their errors, and contention between Java threads.
#include "JavaThreadTestSupport.h"
#include "VMMonitor.h"
#include "VMThrow.h"
#include "java_lang_IllegalArgumentException.h"
#include "java_lang_IllegalMonitorStateException.h"
#include "java_lang_NullPointerException.h"
#include "java_lang_RuntimeException.h"

namespace jthreads_test {
namespace {

using java::lang::Object;
using java::lang::Thread;
using Monitor = JavaThreads;
using MonitorDeathTest = JavaThreads;

TEST_F(Monitor, EnteredThreeTimesAndLeftThreeTimesIsFreeAndThin) {
  VMPtr<Object> o = Object::_VM_new();
  for (int i = 1; i <= 3; ++i) {
    _VM_lock(o.get());
    EXPECT_EQ(o->_VM_monitorOwner, mainWord());
    EXPECT_EQ(o->_VM_monitorCount, i);
  }
  for (int i = 2; i >= 0; --i) {
    _VM_unlock(o.get());
    EXPECT_EQ(o->_VM_monitorCount, i);
  }
  EXPECT_EQ(o->_VM_monitorOwner, 0u);
  EXPECT_EQ(o->_VM_monitorLock, nullptr) << "an uncontended monitor needs no platform lock";
}

TEST_F(MonitorDeathTest, LeavingAMonitorNotOwnedIsFatal) {
  EXPECT_EXIT(
      {
        VMPtr<Object> o = Object::_VM_new();
        for (int i = 0; i < 3; ++i) _VM_lock(o.get());
        for (int i = 0; i < 3; ++i) _VM_unlock(o.get());
        _VM_unlock(o.get());
      },
      testing::ExitedWithCode(1), "");
}

TEST_F(Monitor, SynchronizedReleasesOnEveryWayOut) {
  VMPtr<Object> o = Object::_VM_new();
  {
    VMSynchronized outer(o);
    VMSynchronized inner(o);
    EXPECT_EQ(o->_VM_monitorCount, 2);
  }
  EXPECT_EQ(o->_VM_monitorCount, 0);
  try {
    VMSynchronized guard(o);
    _VM_throwNew<java::lang::RuntimeException>("leaves the block");
  } catch (java::lang::RuntimeException* e) {
    VMPtr<java::lang::RuntimeException> caught(e);
  }
  EXPECT_EQ(o->_VM_monitorCount, 0);
  EXPECT_EQ(o->_VM_monitorOwner, 0u);
  EXPECT_THROW({ VMSynchronized guard{VMPtr<Object>()}; }, java::lang::NullPointerException*);
}

TEST_F(Monitor, MisuseThrowsTheJavaExceptions) {
  VMPtr<Object> o = Object::_VM_new();
  const struct {
    const char* call;
    std::function<void()> run;
  } notOwned[] = {
      {"wait()", [&o] { o->wait(); }},
      {"wait(10)", [&o] { o->wait(10); }},
      {"notify()", [&o] { o->notify(); }},
      {"notifyAll()", [&o] { o->notifyAll(); }},
  };
  for (const auto& c : notOwned) {
    EXPECT_THROW(c.run(), java::lang::IllegalMonitorStateException*) << c.call;
  }
  VMSynchronized guard(o);
  EXPECT_THROW(o->wait(-1), java::lang::IllegalArgumentException*);
  EXPECT_EQ(o->_VM_monitorCount, 1);
  // Owned and never inflated: no waiters, nothing happens.
  o->notify();
  o->notifyAll();
  EXPECT_EQ(o->_VM_monitorLock, nullptr);
}

TEST_F(Monitor, TimedWaitComesBackOwningWithTheSameCountAndStaysInflated) {
  VMPtr<Object> o = Object::_VM_new();
  VMSynchronized outer(o);
  VMSynchronized inner(o);
  o->wait(20);
  EXPECT_EQ(o->_VM_monitorOwner, mainWord());
  EXPECT_EQ(o->_VM_monitorCount, 2);
  EXPECT_NE(o->_VM_monitorLock, nullptr);
  EXPECT_EQ(VMThread::current(), VMTestEnv::mainThread());
  EXPECT_EQ(VMTestEnv::mainThread()->state, VMThread::kRunning);
}

TEST_F(Monitor, InflatedMonitorKeepsCountingAndStaysInflatedWhenFree) {
  VMPtr<Object> o = Object::_VM_new();
  {
    VMSynchronized guard(o);
    o->wait(1);
  }
  HALLock* lock = o->_VM_monitorLock;
  ASSERT_NE(lock, nullptr);
  EXPECT_EQ(o->_VM_monitorCount, 0);
  for (int i = 0; i < 3; ++i) _VM_lock(o.get());
  EXPECT_EQ(o->_VM_monitorCount, 3);
  for (int i = 0; i < 3; ++i) _VM_unlock(o.get());
  EXPECT_EQ(o->_VM_monitorOwner, 0u);
  EXPECT_EQ(o->_VM_monitorLock, lock);
}

// A waiter gives the monitor up while it waits: another thread takes it,
// notifies, and the waiter comes back only once the notifier has left.
TEST_F(Monitor, NotifyWakesTheWaiterAfterTheNotifierLeaves) {
  VMPtr<Object> o = Object::_VM_new();
  VMPtr<Thread> waiter = startThread([o = o.get()] {
    VMSynchronized guard(o);
    events.push_back("waiting");
    o->wait();
    events.push_back("woken");
  });
  ASSERT_TRUE(waitUntilWaiting(waiter));
  {
    VMSynchronized guard(o);
    o->notify();
    events.push_back("notified");
    Thread::sleep(20);  // the waiter is woken but cannot take the monitor yet
    events.push_back("notifier leaves");
  }
  ASSERT_TRUE(waitForEnd(waiter));
  EXPECT_EQ(events, (std::vector<std::string>{"waiting", "notified", "notifier leaves", "woken"}));
}

// Three threads wait on one monitor: a notify wakes exactly one of them,
// entering and leaving the monitor wakes none, notifyAll wakes the rest.
TEST_F(Monitor, NotifyWakesOneWaiterAndNotifyAllTheRest) {
  VMPtr<Object> o = Object::_VM_new();
  int woken = 0;
  std::vector<VMPtr<Thread>> waiters;
  for (int i = 0; i < 3; ++i) {
    waiters.push_back(startThread([o = o.get(), &woken] {
      VMSynchronized guard(o);
      o->wait();
      ++woken;
    }));
  }
  for (const VMPtr<Thread>& t : waiters) ASSERT_TRUE(waitUntilWaiting(t));
  {
    VMSynchronized guard(o);
    o->notify();
  }
  ASSERT_TRUE(waitUntil([&woken] { return woken == 1; }));
  for (int i = 0; i < 5; ++i) {
    VMSynchronized guard(o);
    Thread::sleep(2);
  }
  Thread::sleep(20);
  EXPECT_EQ(woken, 1);
  {
    VMSynchronized guard(o);
    o->notifyAll();
  }
  for (const VMPtr<Thread>& t : waiters) ASSERT_TRUE(waitForEnd(t));
  EXPECT_EQ(woken, 3);
}

// A timed wait is not ended by other threads taking and freeing the
// monitor: only the notify after them ends it.
TEST_F(Monitor, ATimedWaitEndsOnItsNotifyNotOnOthersUsingTheMonitor) {
  VMPtr<Object> o = Object::_VM_new();
  VMPtr<Thread> waiter = startThread([o = o.get()] {
    VMSynchronized guard(o);
    o->wait(5000);
    events.push_back("woken");
  });
  ASSERT_TRUE(waitUntilWaiting(waiter));
  for (int i = 0; i < 5; ++i) {
    VMSynchronized guard(o);
    Thread::sleep(2);
  }
  Thread::sleep(20);
  {
    VMSynchronized guard(o);
    events.push_back("notified");
    o->notify();
  }
  ASSERT_TRUE(waitForEnd(waiter));
  EXPECT_EQ(events, (std::vector<std::string>{"notified", "woken"}));
}

// A thread that finds a thin monitor owned by a sleeping thread waits for it
// (without the global lock), then inflates it; the owner's exit lets it in.
TEST_F(Monitor, ContendedThinMonitorIsInflatedAndExcludes) {
  VMPtr<Object> o = Object::_VM_new();
  VMPtr<Thread> owner = startThread([o = o.get()] {
    VMSynchronized guard(o);
    events.push_back("owner in");
    // Holds the monitor until the contender blocks for it.
    for (int i = 0; i < 10000 && _VM_monitorContenders == 0; ++i) Thread::sleep(1);
    events.push_back("owner out");
  });
  ASSERT_TRUE(waitUntil([] { return happened("owner in"); }));
  EXPECT_EQ(o->_VM_monitorLock, nullptr);
  VMPtr<Thread> contender = startThread([o = o.get()] {
    VMSynchronized guard(o);
    events.push_back("contender in");
  });
  ASSERT_TRUE(waitForEnd(owner));
  ASSERT_TRUE(waitForEnd(contender));
  EXPECT_EQ(events, (std::vector<std::string>{"owner in", "owner out", "contender in"}));
  EXPECT_NE(o->_VM_monitorLock, nullptr);
  EXPECT_EQ(o->_VM_monitorCount, 0);
}

// Several threads increment a counter inside one monitor and give the global
// lock away inside it: the monitor alone keeps them apart.
TEST_F(Monitor, ContendingThreadsExcludeEachOther) {
  constexpr int kThreads = 4;
  constexpr int kRounds = 300;
  VMPtr<Object> o = Object::_VM_new();
  int counter = 0;  // guarded by the monitor of o
  bool overlap = false;
  bool inside = false;
  std::vector<VMPtr<Thread>> threads;
  threads.reserve(kThreads);
  for (int i = 0; i < kThreads; ++i) {
    threads.push_back(startThread([&, o = o.get(), i] {
      for (int round = 0; round < kRounds; ++round) {
        VMSynchronized guard(o);
        if (inside) overlap = true;
        inside = true;
        const int seen = counter;
        if ((round + i) % 3 == 0) {
          Thread::sleep(0);  // a yield inside the monitor
        } else if ((round + i) % 7 == 0) {
          Thread::sleep(1);
        }
        counter = seen + 1;
        inside = false;
      }
    }));
  }
  for (auto& t : threads) ASSERT_TRUE(waitForEnd(t));
  EXPECT_EQ(counter, kThreads * kRounds);
  EXPECT_FALSE(overlap);
  EXPECT_EQ(o->_VM_monitorCount, 0);
}

}  // namespace
}  // namespace jthreads_test
