// A Java thread that ignores its interrupts is still running when the VM
// is destroyed; it parks for good when it next takes the global lock. The
// process must still end promptly once main returns, with exit code 0 (an
// alarm ends it with a failure if it hangs).
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "HALCallbacks.h"
#include "HALGlobalLock.h"
#include "HALThread.h"
#include "VMClassKit.h"
#include "VMContext.h"
#include "java_lang_InterruptedException.h"
#include "java_lang_Runnable.h"
#include "java_lang_Thread.h"

namespace outlived {

using namespace java::lang;

// Sleeps in short steps for ever and shrugs off every interrupt.
class Stubborn : public virtual Object, public virtual Runnable {
  VM_CLASS(Stubborn, Object)

 public:
  void run() override {
    started = true;
    for (;;) {
      try {
        Thread::sleep(5);
      } catch (InterruptedException* e) {
        VMPtr<InterruptedException> ignored(e);
      }
    }
  }
  static inline std::atomic<bool> started{false};
};

class Main : public virtual Object {
  VM_CLASS(Main, Object)

 public:
  static void main(intptr_t) {
    VMPtr<Stubborn> body = Stubborn::_VM_new();
    body->Object::_VM_init();
    VMPtr<Thread> thread = Thread::_VM_new();
    thread->_VM_init(VMPtr<Runnable>(body));
    thread->start();
    while (!Stubborn::started) Thread::sleep(1);
  }
};

}  // namespace outlived

VM_REGISTER_CLASS(outlived::Stubborn, "outlived.Stubborn", "java.lang.Object", 0);
VM_IMPLEMENTS(outlived::Stubborn, "java.lang.Runnable");
VM_REGISTER_CLASS(outlived::Main, "outlived.Main", "java.lang.Object", 0);
VM_REGISTER_ENTRY_POINT(outlived::Main, outlived::Main::main);

int main() {
  alarm(20);  // a hang ends the process with SIGALRM: a failure
  const VMCallbacks* callbacks = _VM_getCallbacks();
  if (!HAL_attachMainThread()) return 1;
  HAL_enterGlobalLock();
  const int result = callbacks->initialize(16ull << 20, 64ull << 20, HAL_getCurrentThread(), "outlived.Main", 0);
  callbacks->destroy();
  HAL_leaveGlobalLock();
  // The stubborn thread wakes, finds the VM gone and parks.
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  if (result != VMContext::kBootReturned) {
    std::fprintf(stderr, "vm_outlived: start-up result %d\n", result);
    return 1;
  }
  return 0;
}
