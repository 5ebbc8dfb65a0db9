#include "VMTestEnv.h"

#include <new>

#include "VMClassRegistry.h"
#include "VMCollector.h"
#include "VMContext.h"
#include "VMHeap.h"
#include "VMThread.h"

namespace {
VMThread* main = nullptr;
}

VMContext* VMTestEnv::start(uint64_t heapMinimum, uint64_t heapMaximum) {
  if (_VM_vm != nullptr) return _VM_vm;
  _VM_initHeap(heapMinimum, heapMaximum);
  _VM_vm = new VMContext();
  main = new VMThread();
  _VM_vm->threads.addFirst(main);
  _VM_setCurrentThread(main);
  _VM_getClassRegistry();
  _VM_createClasses();
  _VM_registerInterfaces();
  _VM_registerEntryPoints();
  _VM_setClassesResolved();
  _VM_vm->stage = VMContext::kCollectionStage;
  return _VM_vm;
}

VMThread* VMTestEnv::mainThread() { return main; }
