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

VMPtr<ui::LevelLoader> loader() {
  Main::_VM_clinitCheck();
  return Main::levelLoader;
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

void CommonCanvas::levelHeader(int32_t value) { loader()->readHeader(value); }

void CommonCanvas::levelProperties(int32_t a, int32_t columns, int32_t value, int32_t d, int32_t e, int32_t f,
                                   int32_t count) {
  loader()->setProperties(a, columns, value, d, e, f, count);
}

void CommonCanvas::levelSize(int32_t width, int32_t height) { loader()->setSize(width, height); }

void CommonCanvas::levelEntityGroup(int32_t type, int32_t count) { loader()->beginEntityGroup(type, count); }

void CommonCanvas::levelEntity(int32_t type, int32_t x, int32_t y) { loader()->readEntity(type, x, y); }

void CommonCanvas::levelCell(int32_t x, int32_t y, int32_t value) { loader()->setCell(x, y, value); }

}  // namespace main
