#include "java_lang_InterruptedException.h"

VM_REGISTER_CLASS(java::lang::InterruptedException, "java.lang.InterruptedException", "java.lang.Exception", VM_INSTANTIABLE);

namespace java::lang {

VMPtr<InterruptedException> InterruptedException::_VM_init() {
  Exception::_VM_init();
  return VMPtr<InterruptedException>(this);
}

}  // namespace java::lang
