#include "java_lang_SecurityException.h"

VM_REGISTER_CLASS(java::lang::SecurityException, "java.lang.SecurityException", "java.lang.RuntimeException", VM_INSTANTIABLE);

namespace java::lang {

VMPtr<SecurityException> SecurityException::_VM_init() {
  RuntimeException::_VM_init();
  return VMPtr<SecurityException>(this);
}

VMPtr<SecurityException> SecurityException::_VM_init(VMPtr<java::lang::String> message) {
  RuntimeException::_VM_init(message);
  return VMPtr<SecurityException>(this);
}

}  // namespace java::lang
