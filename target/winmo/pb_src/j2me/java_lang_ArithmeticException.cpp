#include "java_lang_ArithmeticException.h"

VM_REGISTER_CLASS(java::lang::ArithmeticException, "java.lang.ArithmeticException", "java.lang.RuntimeException", VM_INSTANTIABLE);

namespace java::lang {

VMPtr<ArithmeticException> ArithmeticException::_VM_init() {
  RuntimeException::_VM_init();
  return VMPtr<ArithmeticException>(this);
}

VMPtr<ArithmeticException> ArithmeticException::_VM_init(VMPtr<java::lang::String> message) {
  RuntimeException::_VM_init(message);
  return VMPtr<ArithmeticException>(this);
}

}  // namespace java::lang
