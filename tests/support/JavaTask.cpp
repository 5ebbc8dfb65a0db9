#include "JavaTask.h"

#include <utility>

VM_REGISTER_CLASS(java_test::Task, "java_test.Task", "java.lang.Object", 0);
VM_IMPLEMENTS(java_test::Task, "java.lang.Runnable");

namespace java_test {

VMPtr<Task> Task::_VM_init(std::function<void()> body) {
  Object::_VM_init();
  this->body = std::move(body);
  return VMPtr<Task>(this);
}

void Task::run() {
  if (body) body();
}

VMPtr<java::lang::Thread> newThread(std::function<void()> body) {
  VMPtr<Task> task = Task::_VM_new();
  task->_VM_init(std::move(body));
  VMPtr<java::lang::Thread> thread = java::lang::Thread::_VM_new();
  thread->_VM_init(VMPtr<java::lang::Runnable>(task));
  return thread;
}

VMPtr<java::lang::Thread> startThread(std::function<void()> body) {
  VMPtr<java::lang::Thread> thread = newThread(std::move(body));
  thread->start();
  return thread;
}

}  // namespace java_test
