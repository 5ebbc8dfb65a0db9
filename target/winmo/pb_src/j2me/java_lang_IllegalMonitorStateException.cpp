#include "java_lang_IllegalMonitorStateException.h"

VM_REGISTER_CLASS(java::lang::IllegalMonitorStateException, "java.lang.IllegalMonitorStateException", "java.lang.RuntimeException", VM_INSTANTIABLE);

namespace java::lang {

VMPtr<IllegalMonitorStateException> IllegalMonitorStateException::_VM_init() {
  RuntimeException::_VM_init();
  return VMPtr<IllegalMonitorStateException>(this);
}

}  // namespace java::lang
