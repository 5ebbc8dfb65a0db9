#include "VMFinalizer.h"

#include "VMCollector.h"
#include "VMContext.h"
#include "VMSynchronized.h"
#include "VMThread.h"
#include "java_lang_InterruptedException.h"
#include "java_lang_Throwable.h"

VM_REGISTER_CLASS(com::ravelstone::brume::vm::Finalizer, "com.ravelstone.brume.vm.Finalizer", "java.lang.Thread",
                  0);

namespace {

using com::ravelstone::brume::vm::Finalizer;
using java::lang::Object;

// How many objects the pass examines between two yields.
constexpr int kExaminedPerYield = 16;

bool awaitsFinalization(const Object* o) {
  return (o->_VM_flags & VM_FLAG_FINALIZABLE) && !(o->_VM_flags & VM_FLAG_REACHABLE);
}

// Called by the collector, after its no-yield window, when it kept objects
// that await finalization: wakes the finalizer, starting it on first use.
void handOver(VMContext* vm) {
  VMPtr<Finalizer> finalizer(vm->finalizer);
  if (!finalizer) return;
  finalizer->wakeUp();
  if (vm->finalizerStartPending) {
    vm->finalizerStartPending = 0;
    finalizer->start();
  }
  VMThread::yield();
}

struct HandOverInstaller {
  HandOverInstaller() { _VM_finalizerHandOver = handOver; }
} installer;

}  // namespace

void _VM_setFinalizable(Object* o) { o->_VM_flags |= VM_FLAG_FINALIZABLE; }

namespace com::ravelstone::brume::vm {

VMPtr<Finalizer> Finalizer::_VM_init() {
  Thread::_VM_init(_VM_intern("Finalizer"));
  idle = 0;
  stopRequested = 0;
  return VMPtr<Finalizer>(this);
}

void Finalizer::pause() { idle = 1; }

void Finalizer::wakeUp() {
  VMSynchronized guard(this);
  idle = 0;
  notify();
}

void Finalizer::requestStop() {
  VMSynchronized guard(this);
  stopRequested = 1;
  notify();
}

void Finalizer::run() {
  while (!stopRequested) {
    finalizationPass();
    pause();
    try {
      VMSynchronized guard(this);
      while (idle && !stopRequested) wait();
    } catch (java::lang::InterruptedException* e) {
      VMPtr<java::lang::InterruptedException> interrupted(e);
      stopRequested = 1;  // the VM is shutting down
    }
  }
}

bool Finalizer::yieldAndCheck(uint64_t collections) {
  VMThread::yield();
  return _VM_vm->collectionCount != collections;
}

// Walks the table of objects and calls finalize() on each object that awaits
// finalization and was not reached by the last collection. The object is
// held by a stack reference during the call; what finalize() throws is
// ignored. Whenever a collection may have run (during finalize() or a
// yield) the walk starts again from the first object; objects already
// finalized no longer await it. The pass ends early when a stop is
// requested or the thread was paused.
void Finalizer::finalizationPass() {
  while (scan() == ScanEnd::kRestart) {
  }
}

Finalizer::ScanEnd Finalizer::scan() {
  const VMObjectList& objects = _VM_objects();
  int examined = 0;
  for (uint32_t i = 0; i < objects.count; ++i) {
    Object* candidate = objects[i];
    if (awaitsFinalization(candidate)) {
      VMPtr<Object> object(candidate);
      object->_VM_flags = (object->_VM_flags & ~VM_FLAG_FINALIZABLE) | VM_FLAG_FINALIZED;
      const uint64_t collections = _VM_vm->collectionCount;
      try {
        object->finalize();
      } catch (java::lang::Throwable* t) {
        VMPtr<java::lang::Throwable> ignored(t);
      }
      if (yieldAndCheck(collections)) return ScanEnd::kRestart;
      if (stopRequested || idle) return ScanEnd::kDone;
      examined = 0;
    } else if (++examined == kExaminedPerYield) {
      examined = 0;
      if (yieldAndCheck(_VM_vm->collectionCount)) return ScanEnd::kRestart;
      if (stopRequested || idle) return ScanEnd::kDone;
    }
  }
  return ScanEnd::kDone;
}

}  // namespace com::ravelstone::brume::vm
