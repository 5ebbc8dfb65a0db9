#include "GameCanvas.h"

#include "JavaTask.h"

VM_REGISTER_CLASS(gametest::BareCanvas, "gametest.BareCanvas", "tq.TqCanvas", 0);

namespace gametest {

VMPtr<BareCanvas> BareCanvas::make() {
  VMPtr<BareCanvas> c = _VM_new();
  c->_VM_init(VMPtr<MIDlet>());
  return c;
}

void BareCanvas::stop() {
  runState = 4;
  VMPtr<java::lang::Thread> thread = canvasThread;
  instance = nullptr;
  canvasThread = nullptr;
  if (thread) java_test::joinThread(thread);
}

}  // namespace gametest
