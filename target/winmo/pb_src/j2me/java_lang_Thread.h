#pragma once

#include <cstdint>

#include "VMClassKit.h"
#include "java_lang_Runnable.h"
#include "java_lang_String.h"

class VMThread;

namespace java::lang {

// A Java thread: the object over the runtime's thread record (VMThread). The
// platform thread is made when the Thread is made and runs once started;
// run() calls the target's run() or a subclass's own.
class Thread : public virtual Object, public virtual Runnable {
  VM_CLASS(Thread, Object)

 public:
  // Thread(), Thread(Runnable target), Thread(String name). A thread made
  // without a name is called "Thread-" and the next number of a process-wide
  // counter (the first is "Thread-1"). The priority is the current thread's,
  // or 5 when the current thread has no Thread object.
  VMPtr<Thread> _VM_init();
  VMPtr<Thread> _VM_init(VMPtr<Runnable> target);
  VMPtr<Thread> _VM_init(VMPtr<String> name);
  // The VM's Thread for the thread that started it: adopts the existing
  // record `main` (already running), priority 5, no target.
  VMPtr<Thread> _VM_initMain(VMThread* main, VMPtr<String> name);
  // Unbinds the record, which the collector deletes once its thread has
  // finished.
  ~Thread() override;

  // Starts the thread; IllegalThreadStateException when it was started
  // before. Synchronized on the thread object.
  virtual void start();
  // Sets the thread's pending interrupt and ends its sleep or wait; nothing
  // when the thread is not alive.
  virtual void interrupt();
  // The target's run(), or nothing without a target.
  void run() override;
  uint8_t isAlive();
  VMPtr<String> getName();
  // "Thread[" name "," priority "]".
  VMPtr<String> toString() override;
  // The Thread of the current thread (null when it has none).
  static VMPtr<Thread> currentThread();
  // Sleeps the current thread for `millis` ms (0 or less: yields only);
  // InterruptedException when it is interrupted before or during the sleep.
  static void sleep(int64_t millis);

  void _VM_markReferences(int colour) override;

  // The runtime's record of this thread; null only once the record is gone.
  VMThread* _VM_record;
  int32_t priority;
  VMField<String> name;
  VMField<Runnable> target;

 private:
  void setUp(VMPtr<Runnable> target, VMPtr<String> name);

  static int32_t defaultNameCounter;
};

}  // namespace java::lang
