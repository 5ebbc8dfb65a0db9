#include "java_lang_ClassCastException.h"

VM_REGISTER_CLASS(java::lang::ClassCastException, "java.lang.ClassCastException", "java.lang.RuntimeException", VM_INSTANTIABLE);

namespace java::lang {

VMPtr<ClassCastException> ClassCastException::_VM_init() {
  RuntimeException::_VM_init();
  return VMPtr<ClassCastException>(this);
}

}  // namespace java::lang
