#include "java_lang_IndexOutOfBoundsException.h"

VM_REGISTER_CLASS(java::lang::IndexOutOfBoundsException, "java.lang.IndexOutOfBoundsException", "java.lang.RuntimeException", VM_INSTANTIABLE);

namespace java::lang {

VMPtr<IndexOutOfBoundsException> IndexOutOfBoundsException::_VM_init() {
  RuntimeException::_VM_init();
  return VMPtr<IndexOutOfBoundsException>(this);
}

VMPtr<IndexOutOfBoundsException> IndexOutOfBoundsException::_VM_init(VMPtr<java::lang::String> message) {
  RuntimeException::_VM_init(message);
  return VMPtr<IndexOutOfBoundsException>(this);
}

}  // namespace java::lang
