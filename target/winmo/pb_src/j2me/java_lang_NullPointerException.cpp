#include "java_lang_NullPointerException.h"

VM_REGISTER_CLASS(java::lang::NullPointerException, "java.lang.NullPointerException", "java.lang.RuntimeException", VM_INSTANTIABLE);

namespace java::lang {

VMPtr<NullPointerException> NullPointerException::_VM_init() {
  RuntimeException::_VM_init();
  return VMPtr<NullPointerException>(this);
}

VMPtr<NullPointerException> NullPointerException::_VM_init(VMPtr<java::lang::String> message) {
  RuntimeException::_VM_init(message);
  return VMPtr<NullPointerException>(this);
}

}  // namespace java::lang
