#include "java_lang_IllegalAccessException.h"

VM_REGISTER_CLASS(java::lang::IllegalAccessException, "java.lang.IllegalAccessException", "java.lang.Exception", VM_INSTANTIABLE);

namespace java::lang {

VMPtr<IllegalAccessException> IllegalAccessException::_VM_init() {
  Exception::_VM_init();
  return VMPtr<IllegalAccessException>(this);
}

}  // namespace java::lang
