#include "javax_microedition_io_ConnectionNotFoundException.h"

VM_REGISTER_CLASS(javax::microedition::io::ConnectionNotFoundException, "javax.microedition.io.ConnectionNotFoundException", "java.io.IOException", VM_INSTANTIABLE);

namespace javax::microedition::io {

VMPtr<ConnectionNotFoundException> ConnectionNotFoundException::_VM_init() {
  java::io::IOException::_VM_init();
  return VMPtr<ConnectionNotFoundException>(this);
}

VMPtr<ConnectionNotFoundException> ConnectionNotFoundException::_VM_init(VMPtr<java::lang::String> message) {
  java::io::IOException::_VM_init(message);
  return VMPtr<ConnectionNotFoundException>(this);
}

}  // namespace javax::microedition::io
