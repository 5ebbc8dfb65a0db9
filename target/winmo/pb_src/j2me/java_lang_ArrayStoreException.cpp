#include "java_lang_ArrayStoreException.h"

VM_REGISTER_CLASS(java::lang::ArrayStoreException, "java.lang.ArrayStoreException", "java.lang.RuntimeException", VM_INSTANTIABLE);

namespace java::lang {

VMPtr<ArrayStoreException> ArrayStoreException::_VM_init() {
  RuntimeException::_VM_init();
  return VMPtr<ArrayStoreException>(this);
}

}  // namespace java::lang
