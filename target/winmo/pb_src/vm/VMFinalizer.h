#pragma once

#include <cstdint>

#include "VMClassKit.h"
#include "java_lang_Thread.h"

class VMContext;

namespace com::ravelstone::brume::vm {

// The thread that calls finalize() on objects awaiting finalization, outside
// the collection that found them. It is made at VM start-up and started by
// the first collection that finds such objects.
class Finalizer : public java::lang::Thread {
  VM_CLASS(Finalizer, java::lang::Thread)

 public:
  // Thread("Finalizer").
  VMPtr<Finalizer> _VM_init();

  // idle = 1, without waking anybody.
  virtual void pause();
  // Under the monitor: idle = 0 and a notify, so the thread looks for work.
  virtual void wakeUp();
  // Under the monitor: stopRequested = 1 and a notify.
  virtual void requestStop();
  // Passes over the objects until a stop is requested.
  void run() override;

  uint8_t idle;
  uint8_t stopRequested;

 private:
  enum class ScanEnd { kDone, kRestart };
  // One pass over the table of objects; see the .cpp.
  void finalizationPass();
  // One walk of the pass; kRestart when a collection may have changed the
  // table meanwhile.
  ScanEnd scan();
  // Yields the global lock; true when the pass must restart because a
  // collection ran meanwhile.
  bool yieldAndCheck(uint64_t collections);
};

}  // namespace com::ravelstone::brume::vm

// Marks `o` as awaiting finalization: nothing in the system does this by
// itself; tests and future callers use it.
void _VM_setFinalizable(java::lang::Object* o);
