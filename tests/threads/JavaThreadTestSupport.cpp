#include "JavaThreadTestSupport.h"

#include <algorithm>
#include <utility>

VM_REGISTER_CLASS(jthreads_test::Task, "jthreads_test.Task", "java.lang.Object", 0);
VM_IMPLEMENTS(jthreads_test::Task, "java.lang.Runnable");

namespace jthreads_test {

using java::lang::Runnable;
using java::lang::Thread;

VMPtr<Task> Task::_VM_init(std::function<void()> body) {
  Object::_VM_init();
  this->body = std::move(body);
  return VMPtr<Task>(this);
}

void Task::run() {
  if (body) body();
}

VMPtr<Thread> newThread(std::function<void()> body) {
  VMPtr<Task> task = Task::_VM_new();
  task->_VM_init(std::move(body));
  VMPtr<Thread> thread = Thread::_VM_new();
  thread->_VM_init(VMPtr<Runnable>(task));
  return thread;
}

VMPtr<Thread> startThread(std::function<void()> body) {
  VMPtr<Thread> thread = newThread(std::move(body));
  thread->start();
  return thread;
}

uintptr_t mainWord() { return reinterpret_cast<uintptr_t>(VMTestEnv::mainThread()); }

uintptr_t wordOf(const VMPtr<Thread>& t) { return reinterpret_cast<uintptr_t>(t->_VM_record); }

bool waitForEnd(const VMPtr<Thread>& t) {
  return waitUntil([&t] { return t->_VM_record->state == VMThread::kTerminated; });
}

bool waitUntilWaiting(const VMPtr<Thread>& t) {
  return waitUntil([&t] { return t->_VM_record->state == VMThread::kWaiting; });
}

int countRecords() {
  int count = 0;
  for (HALListNode* n = _VM_vm->threads.getFirst(); n != nullptr; n = _VM_vm->threads.getNext(n)) ++count;
  return count;
}

int positionOf(const std::string& event) {
  auto it = std::find(events.begin(), events.end(), event);
  return it == events.end() ? -1 : static_cast<int>(it - events.begin());
}

}  // namespace jthreads_test
