// Static initialisation across threads: one thread runs the initialiser, the
// others wait for it without being interruptible, and a failure reaches them
// all.
#include "JavaThreadTestSupport.h"
#include "VMThrow.h"
#include "java_lang_ExceptionInInitializerError.h"
#include "java_lang_InterruptedException.h"
#include "java_lang_NoClassDefFoundError.h"
#include "java_lang_RuntimeException.h"

namespace jthreads_test {

// Classes whose initialisers log their start, wait (sleeping) until the test
// opens their gate, log their end and, for the second, fail.
class GatedInit : public virtual java::lang::Object {
  VM_CLASS(GatedInit, java::lang::Object)

 public:
  static void _VM_clinit();
  static inline bool gateOpen = false;
  static inline int runs = 0;
};

class GatedFailingInit : public virtual java::lang::Object {
  VM_CLASS(GatedFailingInit, java::lang::Object)

 public:
  static void _VM_clinit();
  static inline bool gateOpen = false;
};

void GatedInit::_VM_clinit() {
  ++runs;
  events.push_back("init start");
  while (!gateOpen) java::lang::Thread::sleep(1);
  events.push_back("init end");
}

void GatedFailingInit::_VM_clinit() {
  events.push_back("init start");
  while (!gateOpen) java::lang::Thread::sleep(1);
  _VM_throwNew<java::lang::RuntimeException>("initialiser fails");
}

}  // namespace jthreads_test

VM_REGISTER_CLASS(jthreads_test::GatedInit, "jthreads_test.GatedInit", "java.lang.Object", VM_HAS_CLINIT);
VM_REGISTER_CLASS(jthreads_test::GatedFailingInit, "jthreads_test.GatedFailingInit", "java.lang.Object",
                  VM_HAS_CLINIT);

namespace jthreads_test {
namespace {

using java::lang::Class;
using java::lang::InterruptedException;
using java::lang::Thread;
using ClassInit = JavaThreads;

// True once `t` waits on the monitor of class `c`.
bool waitsForClass(const VMPtr<Thread>& t, Class* c) {
  return waitUntil([&] {
    return t->_VM_record->state == VMThread::kWaiting && c->_VM_monitorLock != nullptr &&
           t->_VM_record->waitLock == c->_VM_monitorLock;
  });
}

TEST_F(ClassInit, SecondThreadWaitsForTheFirstAndKeepsItsInterruptPending) {
  VMPtr<Thread> first = startThread([] {
    GatedInit::_VM_clinitCheck();
    events.push_back("first done");
  });
  ASSERT_TRUE(waitUntil([] { return happened("init start"); }));
  bool interruptPending = false;
  bool sleepThrew = false;
  VMPtr<Thread> second = startThread([&] {
    GatedInit::_VM_clinitCheck();
    events.push_back("second done");
    interruptPending = VMThread::current()->interrupted != 0;
    try {
      Thread::sleep(1);
    } catch (InterruptedException* e) {
      VMPtr<InterruptedException> caught(e);
      sleepThrew = true;
    }
  });
  ASSERT_TRUE(waitsForClass(second, GatedInit::_VM_class));
  EXPECT_EQ(GatedInit::_VM_class->_VM_state, Class::kRunning);

  // The interrupt wakes the waiter, which finds the class still running and
  // waits again.
  second->interrupt();
  ASSERT_TRUE(waitsForClass(second, GatedInit::_VM_class));
  Thread::sleep(20);
  EXPECT_FALSE(happened("second done"));
  GatedInit::gateOpen = true;

  ASSERT_TRUE(waitForEnd(first));
  ASSERT_TRUE(waitForEnd(second));
  EXPECT_EQ(GatedInit::runs, 1);
  EXPECT_EQ(GatedInit::_VM_class->_VM_state, Class::kReady);
  EXPECT_LT(positionOf("init end"), positionOf("second done"));
  EXPECT_TRUE(happened("first done"));
  EXPECT_TRUE(interruptPending);
  EXPECT_TRUE(sleepThrew) << "the interrupt stays pending for the next sleep";
}

TEST_F(ClassInit, FailureReachesTheWaitingThread) {
  std::string firstSaw;
  std::string secondSaw;
  auto touch = [](std::string& saw) {
    try {
      GatedFailingInit::_VM_clinitCheck();
      saw = "initialised";
    } catch (java::lang::ExceptionInInitializerError* e) {
      VMPtr<java::lang::ExceptionInInitializerError> caught(e);
      saw = "ExceptionInInitializerError";
    } catch (java::lang::NoClassDefFoundError* e) {
      VMPtr<java::lang::NoClassDefFoundError> caught(e);
      saw = "NoClassDefFoundError";
      if (caught->getMessage()) saw += ": " + std::string(caught->getMessage()->_VM_equals("jthreads_test.GatedFailingInit") ? "class name" : "other");
    }
  };
  VMPtr<Thread> first = startThread([&] { touch(firstSaw); });
  ASSERT_TRUE(waitUntil([] { return happened("init start"); }));
  VMPtr<Thread> second = startThread([&] { touch(secondSaw); });
  ASSERT_TRUE(waitsForClass(second, GatedFailingInit::_VM_class));
  GatedFailingInit::gateOpen = true;
  ASSERT_TRUE(waitForEnd(first));
  ASSERT_TRUE(waitForEnd(second));
  EXPECT_EQ(firstSaw, "ExceptionInInitializerError");
  EXPECT_EQ(secondSaw, "NoClassDefFoundError: class name");
  EXPECT_EQ(GatedFailingInit::_VM_class->_VM_state, Class::kFailed);
  EXPECT_THROW(GatedFailingInit::_VM_clinitCheck(), java::lang::NoClassDefFoundError*);
}

}  // namespace
}  // namespace jthreads_test
