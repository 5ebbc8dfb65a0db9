// VM start-up stages, results, the exit event and shutdown.
#include <gtest/gtest.h>

#include <chrono>

#include "HALCallbacks.h"
#include "HALEvents.h"
#include "HALGlobalLock.h"
#include "HALThread.h"
#include "VMClassKit.h"
#include "VMContext.h"
#include "VMExitException.h"
#include "VMThread.h"
#include "VMThrow.h"
#include "java_lang_IllegalStateException.h"
#include "java_lang_InterruptedException.h"
#include "java_lang_Runnable.h"
#include "java_lang_String.h"
#include "java_lang_Thread.h"

using namespace java::lang;

namespace test {

// Boot classes: each records what it saw and how it ends.
struct Seen {
  static inline int stageAtClinit = 0;
  static inline int stageAtEntry = 0;
  static inline intptr_t argument = 0;
  static inline bool systemThreadNamed = false;
};

class Boot : public virtual Object {
  VM_CLASS(Boot, Object)

 public:
  static void _VM_clinit() { Seen::stageAtClinit = _VM_vm->stage; }
  static void main(intptr_t argument) {
    Seen::stageAtEntry = _VM_vm->stage;
    Seen::argument = argument;
    VMPtr<Thread> current = Thread::currentThread();
    Seen::systemThreadNamed = current && current->getName()->_VM_equals("System");
  }
};

class BootThrows : public virtual Object {
  VM_CLASS(BootThrows, Object)

 public:
  static void main(intptr_t) { _VM_throwNew<IllegalStateException>("boot failed"); }
};

class BootExits : public virtual Object {
  VM_CLASS(BootExits, Object)

 public:
  static void main(intptr_t) { _VM_throw(VMExitException::_VM_new(0)); }
};

// A thread body that ignores the stop request (it has none) but ends when
// interrupted, or one that ignores everything.
class Sleeper : public virtual Object, public virtual Runnable {
  VM_CLASS(Sleeper, Object)

 public:
  VMPtr<Sleeper> _VM_init(bool endOnInterrupt) {
    Object::_VM_init();
    this->endOnInterrupt = endOnInterrupt;
    return VMPtr<Sleeper>(this);
  }
  void run() override {
    for (;;) {
      try {
        Thread::sleep(10000);
      } catch (InterruptedException* e) {
        VMPtr<InterruptedException> interrupted(e);
        if (endOnInterrupt) return;
      }
    }
  }
  bool endOnInterrupt;
};

}  // namespace test

VM_REGISTER_CLASS(test::Boot, "test.Boot", "java.lang.Object", VM_HAS_CLINIT);
VM_REGISTER_ENTRY_POINT(test::Boot, test::Boot::main);
VM_REGISTER_CLASS(test::BootThrows, "test.BootThrows", "java.lang.Object", 0);
VM_REGISTER_ENTRY_POINT(test::BootThrows, test::BootThrows::main);
VM_REGISTER_CLASS(test::BootExits, "test.BootExits", "java.lang.Object", 0);
VM_REGISTER_ENTRY_POINT(test::BootExits, test::BootExits::main);
VM_REGISTER_CLASS(test::Sleeper, "test.Sleeper", "java.lang.Object", 0);
VM_IMPLEMENTS(test::Sleeper, "java.lang.Runnable");

namespace {

constexpr uint64_t kHeap = 32ull << 20;

// Starts a VM the way the platform does: callbacks installed, the main
// thread attached and holding the global lock, then the initialise slot.
int startVM(const char* bootClass) {
  const VMCallbacks* callbacks = _VM_getCallbacks();
  if (!HAL_attachMainThread()) return -1;
  HAL_enterGlobalLock();
  return callbacks->initialize(kHeap, kHeap, HAL_getCurrentThread(), bootClass, 0);
}

int64_t millisSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

TEST(VMStartup, WithoutABootClassTheStagesRunAndInitReturnsOne) {
  ASSERT_EQ(startVM(nullptr), VMContext::kNoBootClass);
  EXPECT_EQ(_VM_vm->stage, 14);
  EXPECT_GE(_VM_vm->collectionCount, 1u) << "stage 12 collects once";
  EXPECT_EQ(_VM_vm->finalizerStartPending, 1) << "nothing was finalizable, so the finalizer never started";
  EXPECT_FALSE(_VM_vm->finalizer->isAlive());
  EXPECT_TRUE(_VM_vm->systemThread->getName()->_VM_equals("System"));
  for (const char* name : {"java.lang.Object", "java.lang.String", "java.lang.Thread", "java.lang.Throwable",
                           "java.lang.NullPointerException", "java.lang.System"}) {
    EXPECT_EQ(_VM_findClass(name)->_VM_state, Class::kReady) << name;
  }
  EXPECT_EQ(test::Boot::_VM_class->_VM_state, Class::kPending) << "the boot class was not touched";
  EXPECT_NE(HAL_getEventRegistry(), nullptr);
  EXPECT_EQ(_VM_specialValues().ready, 1);
  EXPECT_EQ(_VM_specialValues().floatBits[2], 0x7FC00000u);
}

TEST(VMStartup, TheBootEntryRunsLastOnTheSystemThread) {
  ASSERT_EQ(startVM("test.Boot"), VMContext::kBootReturned);
  EXPECT_EQ(test::Seen::stageAtClinit, 14);
  EXPECT_EQ(test::Seen::stageAtEntry, 14);
  EXPECT_TRUE(test::Seen::systemThreadNamed);
}

TEST(VMStartup, BootFailuresReturnTwo) {
  struct Case {
    const char* boot;
    bool exitRequested;
  };
  // One VM per process: each case runs in a child process.
  for (const Case& c : {Case{"test.Missing", false}, Case{"test.Sleeper", false}, Case{"test.BootThrows", false},
                        Case{"test.BootExits", true}}) {
    EXPECT_EXIT(
        {
          const int result = startVM(c.boot);
          std::exit(result == VMContext::kUncaught && _VM_vm->exitRequested == c.exitRequested ? 0 : 1);
        },
        testing::ExitedWithCode(0), "")
        << c.boot;
  }
}

TEST(VMStartup, TheExitEventSetsExitRequested) {
  ASSERT_EQ(startVM(nullptr), VMContext::kNoBootClass);
  EXPECT_EQ(_VM_vm->exitRequested, 0);
  HAL_broadcastEvent(HAL_EVENT_PAUSE, 0, nullptr);
  EXPECT_EQ(_VM_vm->exitRequested, 0);
  HAL_broadcastEvent(HAL_EVENT_EXIT, 0, nullptr);
  EXPECT_EQ(_VM_vm->exitRequested, 1);
}

TEST(VMShutdown, WithOnlyTheMainThreadItIsQuick) {
  ASSERT_EQ(startVM(nullptr), VMContext::kNoBootClass);
  const auto start = std::chrono::steady_clock::now();
  HAL_getVMCallbacks()->destroy();
  EXPECT_LT(millisSince(start), 100);
  EXPECT_EQ(_VM_vm, nullptr);
  EXPECT_EQ(HAL_getEventRegistry(), nullptr);
}

VMPtr<Thread> startSleeper(bool endOnInterrupt) {
  VMPtr<test::Sleeper> body = test::Sleeper::_VM_new();
  body->_VM_init(endOnInterrupt);
  VMPtr<Thread> t = Thread::_VM_new();
  t->_VM_init(VMPtr<Runnable>(body));
  t->start();
  Thread::sleep(20);  // let it reach its sleep
  return t;
}

TEST(VMShutdown, AThreadThatEndsOnInterruptIsGoneAfterTheSecondWait) {
  ASSERT_EQ(startVM(nullptr), VMContext::kNoBootClass);
  VMNative<Thread> sleeper(startSleeper(true));
  const auto start = std::chrono::steady_clock::now();
  HAL_getVMCallbacks()->destroy();
  const int64_t took = millisSince(start);
  EXPECT_GE(took, 240);
  EXPECT_LT(took, 2000);
  EXPECT_FALSE(sleeper->isAlive());
}

TEST(VMShutdown, AThreadThatIgnoresEverythingIsLeftBehindAfterAboutSixHundredMilliseconds) {
  ASSERT_EQ(startVM(nullptr), VMContext::kNoBootClass);
  VMNative<Thread> stubborn(startSleeper(false));
  const auto start = std::chrono::steady_clock::now();
  HAL_getVMCallbacks()->destroy();
  const int64_t took = millisSince(start);
  EXPECT_GE(took, 590);
  EXPECT_LT(took, 3000);
  // The thread wakes later to a destroyed VM and parks; the process ends
  // normally.
}

}  // namespace
