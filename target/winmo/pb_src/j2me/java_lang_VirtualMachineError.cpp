#include "java_lang_VirtualMachineError.h"

VM_REGISTER_CLASS(java::lang::VirtualMachineError, "java.lang.VirtualMachineError", "java.lang.Error", VM_INSTANTIABLE);

namespace java::lang {

VMPtr<VirtualMachineError> VirtualMachineError::_VM_init() {
  Error::_VM_init();
  return VMPtr<VirtualMachineError>(this);
}

}  // namespace java::lang
