#include "java_lang_RuntimeException.h"

VM_REGISTER_CLASS(java::lang::RuntimeException, "java.lang.RuntimeException", "java.lang.Exception", VM_INSTANTIABLE);

namespace java::lang {

VMPtr<RuntimeException> RuntimeException::_VM_init() {
  Exception::_VM_init();
  return VMPtr<RuntimeException>(this);
}

VMPtr<RuntimeException> RuntimeException::_VM_init(VMPtr<java::lang::String> message) {
  Exception::_VM_init(message);
  return VMPtr<RuntimeException>(this);
}

}  // namespace java::lang
