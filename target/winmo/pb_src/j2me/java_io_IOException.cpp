#include "java_io_IOException.h"

VM_REGISTER_CLASS(java::io::IOException, "java.io.IOException", "java.lang.Exception", VM_INSTANTIABLE);

namespace java::io {

VMPtr<IOException> IOException::_VM_init() {
  java::lang::Exception::_VM_init();
  return VMPtr<IOException>(this);
}

VMPtr<IOException> IOException::_VM_init(VMPtr<java::lang::String> message) {
  java::lang::Exception::_VM_init(message);
  return VMPtr<IOException>(this);
}

}  // namespace java::io
