#include "VMTestEnv.h"

#include "HALGlobalLock.h"
#include "HALThread.h"
#include "VMClassRegistry.h"
#include "VMCollector.h"
#include "VMContext.h"
#include "VMHeap.h"
#include "VMServices.h"
#include "VMThread.h"
#include "java_lang_String.h"

namespace {
VMThread* main = nullptr;
}

VMContext* VMTestEnv::start(uint64_t heapMinimum, uint64_t heapMaximum) {
  if (_VM_vm != nullptr) return _VM_vm;
  // The calling thread becomes the VM's main thread: it gets its platform
  // record and holds the global lock from now on, as Java code requires.
  if (!HAL_attachMainThread()) _VM_fatalError("HAL_attachMainThread() failed in VMTestEnv::start().");
  VMThread::installServices();
  HAL_enterGlobalLock();
  _VM_initHeap(heapMinimum, heapMaximum);
  _VM_vm = new VMContext();
  main = new VMThread(HAL_getCurrentThread());
  _VM_vm->mainThread = main;
  // As start-up does, before any Java thread runs: made lazily, its
  // allocation could yield to a thread that then waits on its creation.
  _VM_getInternTable();
  _VM_getClassRegistry();
  _VM_createClasses();
  _VM_registerInterfaces();
  _VM_checkClassRegistrations();
  _VM_registerEntryPoints();
  _VM_setClassesResolved();
  _VM_vm->stage = VMContext::kCollectionStage;
  return _VM_vm;
}

VMThread* VMTestEnv::mainThread() { return main; }
