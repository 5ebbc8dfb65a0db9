#include "java_lang_OutOfMemoryError.h"

VM_REGISTER_CLASS(java::lang::OutOfMemoryError, "java.lang.OutOfMemoryError", "java.lang.VirtualMachineError", VM_INSTANTIABLE);

namespace java::lang {

VMPtr<OutOfMemoryError> OutOfMemoryError::_VM_init() {
  VirtualMachineError::_VM_init();
  return VMPtr<OutOfMemoryError>(this);
}

}  // namespace java::lang
