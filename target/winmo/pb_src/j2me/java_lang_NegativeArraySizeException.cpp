#include "java_lang_NegativeArraySizeException.h"

VM_REGISTER_CLASS(java::lang::NegativeArraySizeException, "java.lang.NegativeArraySizeException", "java.lang.RuntimeException", VM_INSTANTIABLE);

namespace java::lang {

VMPtr<NegativeArraySizeException> NegativeArraySizeException::_VM_init() {
  RuntimeException::_VM_init();
  return VMPtr<NegativeArraySizeException>(this);
}

}  // namespace java::lang
