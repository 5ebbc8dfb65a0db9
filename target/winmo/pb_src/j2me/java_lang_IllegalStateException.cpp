#include "java_lang_IllegalStateException.h"

VM_REGISTER_CLASS(java::lang::IllegalStateException, "java.lang.IllegalStateException", "java.lang.RuntimeException", VM_INSTANTIABLE);

namespace java::lang {

VMPtr<IllegalStateException> IllegalStateException::_VM_init() {
  RuntimeException::_VM_init();
  return VMPtr<IllegalStateException>(this);
}

VMPtr<IllegalStateException> IllegalStateException::_VM_init(VMPtr<java::lang::String> message) {
  RuntimeException::_VM_init(message);
  return VMPtr<IllegalStateException>(this);
}

}  // namespace java::lang
