#include "java_lang_InstantiationException.h"

VM_REGISTER_CLASS(java::lang::InstantiationException, "java.lang.InstantiationException", "java.lang.Exception", VM_INSTANTIABLE);

namespace java::lang {

VMPtr<InstantiationException> InstantiationException::_VM_init() {
  Exception::_VM_init();
  return VMPtr<InstantiationException>(this);
}

VMPtr<InstantiationException> InstantiationException::_VM_init(VMPtr<java::lang::String> message) {
  Exception::_VM_init(message);
  return VMPtr<InstantiationException>(this);
}

}  // namespace java::lang
