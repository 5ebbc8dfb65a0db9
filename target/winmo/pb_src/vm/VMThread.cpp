#include "VMThread.h"

VMThread* _VM_currentThread = nullptr;

void _VM_setCurrentThread(VMThread* thread) {
  _VM_currentThread = thread;
  _VM_currentStackList = thread ? &thread->stackList : nullptr;
}
