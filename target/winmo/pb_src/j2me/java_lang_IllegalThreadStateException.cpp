#include "java_lang_IllegalThreadStateException.h"

VM_REGISTER_CLASS(java::lang::IllegalThreadStateException, "java.lang.IllegalThreadStateException", "java.lang.IllegalArgumentException", VM_INSTANTIABLE);

namespace java::lang {

VMPtr<IllegalThreadStateException> IllegalThreadStateException::_VM_init() {
  IllegalArgumentException::_VM_init();
  return VMPtr<IllegalThreadStateException>(this);
}

}  // namespace java::lang
