// Java threads: the hand-over of the global lock, names, priorities, start,
// sleep and interrupt, the end of a thread and its uncaught exceptions.
#include <chrono>

#include "HALGlobalLock.h"
#include "JavaThreadTestSupport.h"
#include "VMExitException.h"
#include "VMThrow.h"
#include "java_lang_IllegalThreadStateException.h"
#include "java_lang_InterruptedException.h"
#include "java_lang_NullPointerException.h"
#include "java_lang_RuntimeException.h"

namespace jthreads_test {
namespace {

using java::lang::InterruptedException;
using java::lang::Object;
using java::lang::String;
using java::lang::Thread;
using JavaThread = JavaThreads;
using std::chrono::milliseconds;
using std::chrono::steady_clock;

// The global lock is handed over first come, first served: a yield lets the
// thread already waiting for it run before the yielding thread comes back.
TEST_F(JavaThread, YieldRunsTheWaitingThreadFirst) {
  VMPtr<Thread> t = startThread([] {
    events.push_back("a");
    VMThread::yield();
    events.push_back("b");
  });
  ASSERT_TRUE(threads_test::waitForGlobalLockWaiters(1)) << "the new thread waits for the global lock";
  EXPECT_TRUE(events.empty());
  VMThread::yield();
  EXPECT_EQ(events, std::vector<std::string>{"a"}) << "the thread ran up to its own yield";
  VMThread::yield();
  EXPECT_EQ(events, (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(VMThread::current(), VMTestEnv::mainThread());
  EXPECT_EQ(_VM_currentStackList, &VMTestEnv::mainThread()->stackList);
}

// Sleeping and waiting give up every level of the global lock and take them
// all back.
TEST_F(JavaThread, SleepAndWaitReleaseEveryLevelOfTheGlobalLock) {
  const struct {
    const char* how;
    std::function<void()> block;
  } cases[] = {
      {"yield", [] { VMThread::yield(); }},
      {"sleep", [] { Thread::sleep(2); }},
      {"wait", [] {
         VMPtr<Object> o = Object::_VM_new();
         VMSynchronized guard(o);
         o->wait(2);
       }},
  };
  for (const auto& c : cases) {
    events.clear();
    HAL_enterGlobalLock();
    HAL_enterGlobalLock();  // three levels
    VMPtr<Thread> t = startThread([] { events.push_back("ran"); });
    const auto deadline = steady_clock::now() + std::chrono::seconds(10);
    while (!happened("ran") && steady_clock::now() < deadline) c.block();
    EXPECT_TRUE(happened("ran")) << c.how;
    const int levels = HAL_suspendGlobalLock();
    EXPECT_EQ(levels, 3) << c.how;
    HAL_resumeGlobalLock(levels);
    HAL_leaveGlobalLock();
    HAL_leaveGlobalLock();
    EXPECT_EQ(VMThread::current(), VMTestEnv::mainThread()) << c.how;
    ASSERT_TRUE(waitForEnd(t));
  }
}

TEST_F(JavaThread, ThreadAndRunnableAreRegistered) {
  java::lang::Class* thread = _VM_findClass("java.lang.Thread");
  java::lang::Class* runnable = _VM_findClass("java.lang.Runnable");
  ASSERT_EQ(thread, Thread::_VM_class);
  ASSERT_EQ(runnable, java::lang::Runnable::_VM_class);
  EXPECT_TRUE(runnable->isInterface());
  EXPECT_TRUE(_VM_isAssignableFrom(thread, runnable));
  EXPECT_EQ(_VM_getSuperclass(thread), _VM_getObjectClass());
  VMPtr<Object> made = thread->newInstance();
  EXPECT_TRUE(_VM_instanceOf(made.get(), runnable));
}

TEST_F(JavaThread, NamesPrioritiesAndText) {
  VMPtr<Thread> first = Thread::_VM_new();
  first->_VM_init();
  VMPtr<Thread> named = Thread::_VM_new();
  named->_VM_init(String::_VM_fromUTF8("worker"));
  VMPtr<Thread> second = Thread::_VM_new();
  second->_VM_init(VMPtr<java::lang::Runnable>());
  EXPECT_TRUE(first->getName()->_VM_equals("Thread-1"));
  EXPECT_TRUE(named->getName()->_VM_equals("worker"));
  EXPECT_TRUE(second->getName()->_VM_equals("Thread-2")) << "a named thread does not advance the counter";
  EXPECT_EQ(named->priority, 5) << "the main thread has no Thread object";
  EXPECT_TRUE(named->toString()->_VM_equals("Thread[worker,5]"));
  EXPECT_FALSE(first->isAlive());
  EXPECT_TRUE(Thread::currentThread().isNull());

  // A thread made by a Java thread takes its maker's priority.
  first->priority = 7;
  int childPriority = 0;
  VMPtr<Thread> self;
  first->target = Task::_VM_new()->_VM_init([&] {
    self = Thread::currentThread();
    VMPtr<Thread> child = Thread::_VM_new();
    child->_VM_init();
    childPriority = child->priority;
  });
  first->start();
  ASSERT_TRUE(waitForEnd(first));
  EXPECT_EQ(self, first);
  EXPECT_EQ(childPriority, 7);
}

TEST_F(JavaThread, TheVMsThreadObjectAdoptsTheMainRecord) {
  VMPtr<Thread> system = Thread::_VM_new();
  system->_VM_initMain(VMTestEnv::mainThread(), _VM_intern("System"));
  EXPECT_EQ(Thread::currentThread(), system);
  EXPECT_EQ(VMTestEnv::mainThread()->thread, system.get());
  EXPECT_TRUE(system->isAlive());
  EXPECT_TRUE(system->toString()->_VM_equals("Thread[System,5]"));
  testing::internal::CaptureStdout();
  VMPtr<java::lang::NullPointerException> e = java::lang::NullPointerException::_VM_new();
  e->_VM_init();
  e->printStackTrace();
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Exception in thread \"System\" java.lang.NullPointerException\n    at <unknown>\n");
}

TEST_F(JavaThread, StartingTwiceThrowsIllegalThreadStateException) {
  int runs = 0;
  VMPtr<Thread> t = newThread([&runs] { ++runs; });
  EXPECT_FALSE(t->_VM_record->isStarted());
  t->start();
  EXPECT_TRUE(t->_VM_record->isStarted());
  EXPECT_THROW(t->start(), java::lang::IllegalThreadStateException*);
  ASSERT_TRUE(waitForEnd(t));
  EXPECT_THROW(t->start(), java::lang::IllegalThreadStateException*);
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(t->_VM_monitorCount, 0) << "start leaves the thread's monitor";
}

TEST_F(JavaThread, InterruptEndsALongSleepAtOnce) {
  bool interrupted = false;
  bool flagCleared = false;
  milliseconds slept{0};
  VMPtr<Thread> t = startThread([&] {
    const auto start = steady_clock::now();
    try {
      Thread::sleep(10000);
    } catch (InterruptedException* e) {
      VMPtr<InterruptedException> caught(e);
      interrupted = true;
      flagCleared = VMThread::current()->interrupted == 0;
    }
    slept = std::chrono::duration_cast<milliseconds>(steady_clock::now() - start);
  });
  ASSERT_TRUE(waitUntilWaiting(t));
  t->interrupt();
  ASSERT_TRUE(waitForEnd(t));
  EXPECT_TRUE(interrupted);
  EXPECT_TRUE(flagCleared);
  EXPECT_LT(slept.count(), 5000);
}

// A wait ended by an interrupt takes the monitor back before it throws.
TEST_F(JavaThread, InterruptEndsAWaitOwningTheMonitorAgain) {
  VMPtr<Object> o = Object::_VM_new();
  bool ownedWhenThrown = false;
  VMPtr<Thread> t = startThread([&, o = o.get()] {
    VMSynchronized outer(o);
    VMSynchronized inner(o);
    try {
      o->wait();
    } catch (InterruptedException* e) {
      VMPtr<InterruptedException> caught(e);
      ownedWhenThrown = o->_VM_monitorCount == 2 &&
                        o->_VM_monitorOwner == reinterpret_cast<uintptr_t>(VMThread::current());
    }
  });
  ASSERT_TRUE(waitUntilWaiting(t));
  t->interrupt();
  ASSERT_TRUE(waitForEnd(t));
  EXPECT_TRUE(ownedWhenThrown);
}

TEST_F(JavaThread, PendingInterruptIsThrownByTheNextSleepOrWaitOnly) {
  // Interrupting a thread that has not started does nothing.
  bool slept = false;
  VMPtr<Thread> quiet = newThread([&] {
    Thread::sleep(1);
    slept = true;
  });
  quiet->interrupt();
  quiet->start();
  ASSERT_TRUE(waitForEnd(quiet));
  EXPECT_TRUE(slept);

  // A pending interrupt fails the next sleep (even a zero sleep) or wait,
  // before it blocks, and only that one.
  bool go = false;
  std::vector<std::string> thrown;
  VMPtr<Thread> t = startThread([&] {
    while (!go) VMThread::yield();
    VMPtr<Object> o = Object::_VM_new();
    VMSynchronized guard(o);
    auto attempt = [&thrown](const char* what, const std::function<void()>& block) {
      try {
        block();
      } catch (InterruptedException* e) {
        VMPtr<InterruptedException> caught(e);
        thrown.push_back(what);
      }
    };
    attempt("sleep(0)", [] { Thread::sleep(0); });
    attempt("sleep(0) again", [] { Thread::sleep(0); });
    VMThread::current()->interrupt();
    attempt("wait(1)", [&o] { o->wait(1); });
    attempt("sleep(1)", [] { Thread::sleep(1); });
  });
  t->interrupt();
  go = true;
  ASSERT_TRUE(waitForEnd(t));
  EXPECT_EQ(thrown, (std::vector<std::string>{"sleep(0)", "wait(1)"}));
}

TEST_F(JavaThread, JoinStyleWaitOnTheThreadObjectEndsWithTheThread) {
  VMPtr<Thread> t = startThread([] { Thread::sleep(20); });
  {
    VMSynchronized guard(t);
    while (t->isAlive()) t->wait();
  }
  EXPECT_EQ(t->_VM_record->state, VMThread::kTerminated);
}

TEST_F(JavaThread, UncaughtExceptionIsReportedAndEndsOnlyItsThread) {
  testing::internal::CaptureStdout();
  VMPtr<Thread> t = startThread([] { _VM_throwNew<java::lang::RuntimeException>("msg"); });
  ASSERT_TRUE(waitForEnd(t));
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Exception in thread \"Thread-1\" java.lang.RuntimeException: msg\n    at <unknown>\n");
  EXPECT_FALSE(t->isAlive());
  EXPECT_EQ(VMThread::countAlive(), 1);
  EXPECT_EQ(t->_VM_record->exceptionInFlight, nullptr);
  EXPECT_EQ(_VM_vm->exitRequested, 0);
}

TEST_F(JavaThread, ExitCarrierEndsTheThreadQuietlyAndRequestsExit) {
  VMPtr<Object> o = Object::_VM_new();
  testing::internal::CaptureStdout();
  VMPtr<Thread> t = startThread([o = o.get()] {
    VMSynchronized guard(o);
    _VM_throw(VMExitException::_VM_new(3));
  });
  ASSERT_TRUE(waitForEnd(t));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(_VM_vm->exitRequested, 1);
  EXPECT_FALSE(t->isAlive());
  EXPECT_EQ(o->_VM_monitorCount, 0) << "the synchronized block was left on the way out";
}

}  // namespace
}  // namespace jthreads_test
