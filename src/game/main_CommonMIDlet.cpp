#include "main_CommonMIDlet.h"

#include "javax_microedition_lcdui_Display.h"

VM_REGISTER_CLASS(main::CommonMIDlet, "main.CommonMIDlet", "javax.microedition.midlet.MIDlet", VM_INSTANTIABLE);

namespace main {

VMPtr<CommonMIDlet> CommonMIDlet::_VM_init() {
  Base::_VM_init();
  return VMPtr<CommonMIDlet>(this);
}

void CommonMIDlet::startApp() {
  VMPtr<CommonCanvas> shown = canvas;
  if (shown) {
    shown->showNotify();
    return;
  }
  VMPtr<CommonCanvas> made = CommonCanvas::_VM_new();
  made->_VM_init(VMPtr<MIDlet>(this));
  canvas = made;
  VMPtr<Main> controller = Main::_VM_new();
  main = controller->init(made);
  javax::microedition::lcdui::Display::getDisplay(VMPtr<MIDlet>(this))->setCurrent(made);
}

void CommonMIDlet::pauseApp() {
  VMPtr<CommonCanvas> shown = canvas;
  if (shown) shown->hideNotify();
}

void CommonMIDlet::destroyApp(uint8_t) {
  VMPtr<CommonCanvas> shown = canvas;
  if (!shown) return;
  Main::_VM_clinitCheck();
  VMPtr<Main> controller = Main::instance;
  if (controller) controller->releaseMedia();
  Main::shutdown();
  main = nullptr;
  shown->requestState(3);
}

void CommonMIDlet::_VM_markReferences(int colour) {
  _VM_mark(canvas, colour);
  _VM_mark(main, colour);
  Base::_VM_markReferences(colour);
}

}  // namespace main
