#pragma once

// A Runnable whose run() calls a C++ function, for tests that need Java
// threads or serial calls doing a test's own work.

#include <functional>

#include "VMClassKit.h"
#include "java_lang_Runnable.h"
#include "java_lang_Thread.h"

namespace java_test {

class Task : public virtual java::lang::Object, public virtual java::lang::Runnable {
  VM_CLASS(Task)

 public:
  VMPtr<Task> _VM_init(std::function<void()> body);
  void run() override;

  std::function<void()> body;
};

// A new Java thread (not started) that runs `body`.
VMPtr<java::lang::Thread> newThread(std::function<void()> body);
// The same, started.
VMPtr<java::lang::Thread> startThread(std::function<void()> body);

}  // namespace java_test
