#include "java_lang_Error.h"

VM_REGISTER_CLASS(java::lang::Error, "java.lang.Error", "java.lang.Throwable", VM_INSTANTIABLE);

namespace java::lang {

VMPtr<Error> Error::_VM_init() {
  Throwable::_VM_init();
  return VMPtr<Error>(this);
}

VMPtr<Error> Error::_VM_init(VMPtr<java::lang::String> message) {
  Throwable::_VM_init(message);
  return VMPtr<Error>(this);
}

}  // namespace java::lang
