#include "javax_microedition_lcdui_Screen.h"

VM_REGISTER_CLASS(javax::microedition::lcdui::Screen, "javax.microedition.lcdui.Screen",
                  "javax.microedition.lcdui.Displayable", VM_ABSTRACT);

namespace javax::microedition::lcdui {

VMPtr<Screen> Screen::_VM_init() {
  Displayable::_VM_init();
  return VMPtr<Screen>(this);
}

}  // namespace javax::microedition::lcdui
