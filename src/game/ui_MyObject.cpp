#include "ui_MyObject.h"

#include "main_Main.h"

VM_REGISTER_CLASS(ui::MyObject, "ui.MyObject", "java.lang.Object", VM_ABSTRACT);

namespace ui {

VMPtr<MyObject> MyObject::_VM_init() {
  Base::_VM_init();
  main::Main::_VM_clinitCheck();
  canvas = main::Main::canvas;
  visible = 1;
  return VMPtr<MyObject>(this);
}

void MyObject::update() {
  if (!paused) tick();
}

void MyObject::_VM_markReferences(int colour) {
  _VM_mark(canvas, colour);
  Base::_VM_markReferences(colour);
}

}  // namespace ui
