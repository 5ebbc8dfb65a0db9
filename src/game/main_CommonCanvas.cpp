#include "main_CommonCanvas.h"

#include "main_Main.h"

VM_REGISTER_CLASS(main::CommonCanvas, "main.CommonCanvas", "tq.TqCanvas", 0);

namespace main {

namespace {

constexpr int32_t kFramePeriodMs = 40;

VMPtr<Main> controller() {
  Main::_VM_clinitCheck();
  return Main::instance;
}

}  // namespace

VMPtr<CommonCanvas> CommonCanvas::_VM_init(VMPtr<MIDlet> midlet) {
  Base::_VM_init(midlet);
  exiting = 0;
  return VMPtr<CommonCanvas>(this);
}

void CommonCanvas::tick() {
  if (exiting) return;
  latchKeys();
  VMPtr<Main> m = controller();
  if (m) m->update();
}

void CommonCanvas::paintFrame(VMPtr<Graphics> g) {
  if (exiting) return;
  VMPtr<Main> m = controller();
  if (m) m->paint(g);
}

void CommonCanvas::onAppEvent(int32_t code) {
  VMPtr<Main> m = controller();
  switch (code) {
    case 0:
      setFrameTime(kFramePeriodMs);
      exiting = 0;
      break;
    case 1:
      if (m) m->pause();
      break;
    case 2:
      Main::repaintAll = 1;
      if (m) m->resume();
      break;
    case 3:
      exiting = 1;
      if (m) m->releaseMedia();
      Main::shutdown();
      break;
    case 4:
      Main::repaintAll = 1;
      break;
    case 5:
      if (m) m->onShown();
      break;
    default:
      break;
  }
  TqCanvas::onAppEvent(code);
}

}  // namespace main
