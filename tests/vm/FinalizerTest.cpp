// The finalizer thread: started by the first collection that keeps objects
// awaiting finalization, one finalize() per object.
#include <gtest/gtest.h>

#include "HALCallbacks.h"
#include "HALGlobalLock.h"
#include "HALThread.h"
#include "VMClassKit.h"
#include "VMCollector.h"
#include "VMContext.h"
#include "VMFinalizer.h"
#include "VMThrow.h"
#include "java_lang_IllegalStateException.h"
#include "java_lang_Runtime.h"
#include "java_lang_Thread.h"

using namespace java::lang;

namespace test {

// finalize() counts its calls and, depending on the mode, stores the object
// in a static (resurrection), collects, or throws.
class Mortal : public virtual Object {
  VM_CLASS(Mortal, Object)

 public:
  enum Mode { kPlain, kResurrect, kCollect, kThrow };
  Mortal() { ++live; }
  ~Mortal() override { --live; }
  void finalize() override {
    ++finalized;
    if (mode == kResurrect) saved = VMPtr<Mortal>(this);
    if (mode == kCollect) Runtime::getRuntime()->gc();
    if (mode == kThrow) _VM_throwNew<IllegalStateException>("from finalize");
  }
  int mode;
  static inline int live = 0;
  static inline int finalized = 0;
  static VMStatic<Mortal> saved;
};
VMStatic<Mortal> Mortal::saved;

}  // namespace test

VM_REGISTER_CLASS(test::Mortal, "test.Mortal", "java.lang.Object", 0);

namespace {

using test::Mortal;

void startVM() {
  const VMCallbacks* callbacks = _VM_getCallbacks();
  ASSERT_TRUE(HAL_attachMainThread());
  HAL_enterGlobalLock();
  ASSERT_EQ(callbacks->initialize(32ull << 20, 32ull << 20, HAL_getCurrentThread(), nullptr, 0),
            VMContext::kNoBootClass);
}

void makeFinalizable(Mortal::Mode mode, int count = 1) {
  for (int i = 0; i < count; ++i) {
    VMPtr<Mortal> m = Mortal::_VM_new();
    m->mode = mode;
    _VM_setFinalizable(m.get());
  }
}

// Collects, then lets the finalizer run until `finalized` calls were made.
bool finalizeUntil(int finalized) {
  _VM_collect();
  for (int i = 0; i < 500 && Mortal::finalized < finalized; ++i) Thread::sleep(10);
  return Mortal::finalized >= finalized;
}

TEST(Finalizer, FinalizesOnceThenTheObjectIsFreed) {
  startVM();
  makeFinalizable(Mortal::kPlain, 3);
  ASSERT_TRUE(finalizeUntil(3));
  EXPECT_TRUE(_VM_vm->finalizer->isAlive()) << "started by the collection that found work";
  EXPECT_EQ(_VM_vm->finalizerStartPending, 0);
  _VM_collect();
  EXPECT_EQ(Mortal::live, 0);
  EXPECT_EQ(Mortal::finalized, 3);
}

TEST(Finalizer, AResurrectedObjectIsNotFinalizedTwice) {
  startVM();
  makeFinalizable(Mortal::kResurrect);
  ASSERT_TRUE(finalizeUntil(1));
  ASSERT_FALSE(Mortal::saved.isNull());
  EXPECT_EQ(Mortal::saved->_VM_flags & (VM_FLAG_FINALIZABLE | VM_FLAG_FINALIZED), VM_FLAG_FINALIZED);
  Mortal::saved = nullptr;
  _VM_collect();
  Thread::sleep(50);
  _VM_collect();
  EXPECT_EQ(Mortal::finalized, 1);
  EXPECT_EQ(Mortal::live, 0);
}

TEST(Finalizer, ACollectionInsideFinalizeAndAThrowingFinalizeDoNotStopThePass) {
  startVM();
  makeFinalizable(Mortal::kCollect, 2);
  makeFinalizable(Mortal::kThrow, 2);
  makeFinalizable(Mortal::kPlain, 2);
  ASSERT_TRUE(finalizeUntil(6));
  _VM_collect();
  EXPECT_EQ(Mortal::live, 0);
}

TEST(Finalizer, ShutdownStopsIt) {
  startVM();
  makeFinalizable(Mortal::kPlain);
  ASSERT_TRUE(finalizeUntil(1));
  VMNative<Thread> finalizer(VMPtr<Thread>(_VM_vm->finalizer));
  HAL_getVMCallbacks()->destroy();
  EXPECT_FALSE(finalizer->isAlive());
}

}  // namespace
