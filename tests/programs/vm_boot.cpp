// Starts a VM the way the application shell does, with a boot class whose
// entry starts three Java threads, waits for all of them and returns; then
// shuts the VM down. Exit code 0 when everything went as expected.
//
//   vm_boot               the whole run
//   vm_boot --print-only  prints one line and exits (the baseline of the
//                         start-up benchmark)
#include <cstdio>
#include <cstring>

#include "HALCallbacks.h"
#include "HALGlobalLock.h"
#include "HALThread.h"
#include "VMClassKit.h"
#include "VMContext.h"
#include "VMSynchronized.h"
#include "java_lang_Runnable.h"
#include "java_lang_Thread.h"

namespace boot {

using namespace java::lang;

// Counts finished workers under its monitor and wakes the waiting main.
class Tally : public virtual Object {
  VM_CLASS(Tally, Object)

 public:
  void finished() {
    VMSynchronized guard(this);
    ++done;
    notifyAll();
  }
  void waitFor(int32_t count) {
    VMSynchronized guard(this);
    while (done < count) wait();
  }
  int32_t done;
};

class Worker : public virtual Object, public virtual Runnable {
  VM_CLASS(Worker, Object)

 public:
  void _VM_markReferences(int colour) override {
    _VM_mark(tally, colour);
    Object::_VM_markReferences(colour);
  }
  void run() override {
    Thread::sleep(0);  // hands the lock over once
    tally->finished();
  }
  VMField<Tally> tally;
};

class Main : public virtual Object {
  VM_CLASS(Main, Object)

 public:
  static inline int threadsDone = 0;
  static void main(intptr_t) {
    VMPtr<Tally> tally = Tally::_VM_new();
    tally->Object::_VM_init();
    for (int i = 0; i < 3; ++i) {
      VMPtr<Worker> worker = Worker::_VM_new();
      worker->Object::_VM_init();
      worker->tally = tally;
      VMPtr<Thread> thread = Thread::_VM_new();
      thread->_VM_init(VMPtr<Runnable>(worker));
      thread->start();
    }
    tally->waitFor(3);
    threadsDone = tally->done;
  }
};

}  // namespace boot

VM_REGISTER_CLASS(boot::Tally, "boot.Tally", "java.lang.Object", 0);
VM_REGISTER_CLASS(boot::Worker, "boot.Worker", "java.lang.Object", 0);
VM_IMPLEMENTS(boot::Worker, "java.lang.Runnable");
VM_REGISTER_CLASS(boot::Main, "boot.Main", "java.lang.Object", 0);
VM_REGISTER_ENTRY_POINT(boot::Main, boot::Main::main);

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--print-only") == 0) {
    std::puts("vm_boot");
    return 0;
  }
  const VMCallbacks* callbacks = _VM_getCallbacks();
  if (!HAL_attachMainThread()) return 1;
  HAL_enterGlobalLock();
  const int result = callbacks->initialize(16ull << 20, 64ull << 20, HAL_getCurrentThread(), "boot.Main", 0);
  callbacks->destroy();
  HAL_leaveGlobalLock();
  if (result != VMContext::kBootReturned || boot::Main::threadsDone != 3) {
    std::fprintf(stderr, "vm_boot: start-up result %d, %d threads done\n", result, boot::Main::threadsDone);
    return 1;
  }
  return 0;
}
