#include "java_lang_NoClassDefFoundError.h"

VM_REGISTER_CLASS(java::lang::NoClassDefFoundError, "java.lang.NoClassDefFoundError", "java.lang.Error", VM_INSTANTIABLE);

namespace java::lang {

VMPtr<NoClassDefFoundError> NoClassDefFoundError::_VM_init() {
  Error::_VM_init();
  return VMPtr<NoClassDefFoundError>(this);
}

VMPtr<NoClassDefFoundError> NoClassDefFoundError::_VM_init(VMPtr<java::lang::String> message) {
  Error::_VM_init(message);
  return VMPtr<NoClassDefFoundError>(this);
}

}  // namespace java::lang
