#pragma once

#include <cstdint>

#include "java_lang_Error.h"

namespace java::lang {

class VirtualMachineError : public Error {
  VM_THROWABLE_CLASS(VirtualMachineError, Error)

 public:
  VMPtr<VirtualMachineError> _VM_init();
};

}  // namespace java::lang
