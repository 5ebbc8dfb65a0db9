#include "JavaThreadTestSupport.h"

#include <algorithm>
#include <utility>

namespace jthreads_test {

using java::lang::Runnable;
using java::lang::Thread;

uintptr_t mainWord() { return reinterpret_cast<uintptr_t>(VMTestEnv::mainThread()); }

uintptr_t wordOf(const VMPtr<Thread>& t) { return reinterpret_cast<uintptr_t>(t->_VM_record); }

bool waitForEnd(const VMPtr<Thread>& t) {
  return waitUntil([&t] { return t->_VM_record->state == VMThread::kTerminated; });
}

bool waitUntilWaiting(const VMPtr<Thread>& t) {
  return waitUntil([&t] { return t->_VM_record->state == VMThread::kWaiting; });
}

int countRecords() { return java_test::countThreadRecords(); }

int positionOf(const std::string& event) {
  auto it = std::find(events.begin(), events.end(), event);
  return it == events.end() ? -1 : static_cast<int>(it - events.begin());
}

}  // namespace jthreads_test
