#include "PlainCanvas.h"

#include "JavaTask.h"

VM_REGISTER_CLASS(test_support::PlainCanvas, "test_support.PlainCanvas", "tq.TqCanvas", 0);

namespace test_support {

VMPtr<PlainCanvas> PlainCanvas::make() {
  VMPtr<PlainCanvas> c = _VM_new();
  c->_VM_init(VMPtr<MIDlet>());
  return c;
}

void PlainCanvas::stop() { stopCanvasThread(); }

void stopCanvasThread() {
  tq::TqCanvas::runState = 4;
  VMPtr<java::lang::Thread> thread = tq::TqCanvas::canvasThread;
  tq::TqCanvas::instance = nullptr;
  tq::TqCanvas::canvasThread = nullptr;
  if (thread) java_test::joinThread(thread);
}

}  // namespace test_support
