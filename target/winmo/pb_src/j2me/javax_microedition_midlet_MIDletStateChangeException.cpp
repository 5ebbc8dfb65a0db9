#include "javax_microedition_midlet_MIDletStateChangeException.h"

VM_REGISTER_CLASS(javax::microedition::midlet::MIDletStateChangeException, "javax.microedition.midlet.MIDletStateChangeException", "java.lang.Exception", VM_INSTANTIABLE);

namespace javax::microedition::midlet {

VMPtr<MIDletStateChangeException> MIDletStateChangeException::_VM_init() {
  java::lang::Exception::_VM_init();
  return VMPtr<MIDletStateChangeException>(this);
}

VMPtr<MIDletStateChangeException> MIDletStateChangeException::_VM_init(VMPtr<java::lang::String> message) {
  java::lang::Exception::_VM_init(message);
  return VMPtr<MIDletStateChangeException>(this);
}

}  // namespace javax::microedition::midlet
