#pragma once

// A Runnable whose run() calls a C++ function, for tests that need Java
// threads or serial calls doing a test's own work.

#include <functional>

#include "VMClassKit.h"
#include "java_lang_Runnable.h"
#include "java_lang_Thread.h"

namespace java_test {

class Task : public virtual java::lang::Object, public virtual java::lang::Runnable {
  VM_CLASS(Task, java::lang::Object)

 public:
  VMPtr<Task> _VM_init(std::function<void()> body);
  void run() override;

  std::function<void()> body;
};

// A new Java thread (not started) that runs `body`.
VMPtr<java::lang::Thread> newThread(std::function<void()> body);
// The same, started.
VMPtr<java::lang::Thread> startThread(std::function<void()> body);

// How many thread records the VM has (the main thread's included).
int countThreadRecords();
// Waits (sleeping, so other Java threads run) until `t` has ended, drops
// it and collects until its record is deleted, which joins its platform
// thread; false when a record besides the main thread's is still left
// after about 5 s.
bool joinThread(VMPtr<java::lang::Thread>& t);

}  // namespace java_test
