#include "JavaTask.h"

#include <utility>

#include "VMCollector.h"
#include "VMContext.h"

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

int countThreadRecords() {
  int count = 0;
  for (HALListNode* n = _VM_vm->threads.getFirst(); n != nullptr; n = _VM_vm->threads.getNext(n)) ++count;
  return count;
}

bool joinThread(VMPtr<java::lang::Thread>& t) {
  while (t->isAlive()) java::lang::Thread::sleep(5);
  t = VMPtr<java::lang::Thread>();
  for (int i = 0; i < 1000 && countThreadRecords() > 1; ++i) {
    _VM_collect();
    java::lang::Thread::sleep(5);
  }
  return countThreadRecords() == 1;
}

}  // namespace java_test
