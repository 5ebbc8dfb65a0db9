#include "java_lang_NumberFormatException.h"

VM_REGISTER_CLASS(java::lang::NumberFormatException, "java.lang.NumberFormatException", "java.lang.IllegalArgumentException", VM_INSTANTIABLE);

namespace java::lang {

VMPtr<NumberFormatException> NumberFormatException::_VM_init() {
  IllegalArgumentException::_VM_init();
  return VMPtr<NumberFormatException>(this);
}

VMPtr<NumberFormatException> NumberFormatException::_VM_init(VMPtr<java::lang::String> message) {
  IllegalArgumentException::_VM_init(message);
  return VMPtr<NumberFormatException>(this);
}

}  // namespace java::lang
