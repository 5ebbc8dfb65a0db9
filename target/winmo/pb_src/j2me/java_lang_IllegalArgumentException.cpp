#include "java_lang_IllegalArgumentException.h"

VM_REGISTER_CLASS(java::lang::IllegalArgumentException, "java.lang.IllegalArgumentException", "java.lang.RuntimeException", VM_INSTANTIABLE);

namespace java::lang {

VMPtr<IllegalArgumentException> IllegalArgumentException::_VM_init() {
  RuntimeException::_VM_init();
  return VMPtr<IllegalArgumentException>(this);
}

VMPtr<IllegalArgumentException> IllegalArgumentException::_VM_init(VMPtr<java::lang::String> message) {
  RuntimeException::_VM_init(message);
  return VMPtr<IllegalArgumentException>(this);
}

}  // namespace java::lang
