#include "javax_microedition_lcdui_Alert.h"

VM_REGISTER_CLASS(javax::microedition::lcdui::Alert, "javax.microedition.lcdui.Alert",
                  "javax.microedition.lcdui.Screen", VM_HAS_CLINIT);

namespace javax::microedition::lcdui {

VMStatic<Command> Alert::DISMISS_COMMAND;

void Alert::_VM_clinit() {
  VMPtr<Command> dismiss = Command::_VM_new();
  dismiss->_VM_init(java::lang::String::_VM_fromUTF8(""), Command::OK, 0);
  DISMISS_COMMAND = dismiss;
}

VMPtr<Alert> Alert::_VM_init(VMPtr<java::lang::String> title) {
  Screen::_VM_init();
  setTitle(title);
  return VMPtr<Alert>(this);
}

void Alert::_VM_markReferences(int colour) {
  _VM_mark(nextDisplayable, colour);
  Screen::_VM_markReferences(colour);
}

}  // namespace javax::microedition::lcdui
