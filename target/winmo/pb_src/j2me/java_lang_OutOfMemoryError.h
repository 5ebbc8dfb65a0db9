#pragma once

#include <cstdint>

#include "java_lang_VirtualMachineError.h"

namespace java::lang {

class OutOfMemoryError : public VirtualMachineError {
  VM_THROWABLE_CLASS(OutOfMemoryError, VirtualMachineError)

 public:
  VMPtr<OutOfMemoryError> _VM_init();
};

}  // namespace java::lang
